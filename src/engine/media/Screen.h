#pragma once

#include "engine/media/Layer.h"

#include <allegro.h>

#include <unordered_set>
#include <vector>

class Sprite;

// The display: graphics mode, back buffer, the numbered layers with their
// camera, and the copy to the window (optionally through the water ripple).
class Screen {
public:
    static constexpr int NO_LIMIT = -9999;

    // With modeAlreadySet no graphics mode is touched: only the buffers are
    // made (tests and tools draw into memory this way).
    Screen(int width, int height, bool fullscreen, bool modeAlreadySet);
    ~Screen();
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    static Screen* instance();

    void changeResolution(int newWidth, int newHeight);
    void addSprite(Sprite* sprite, int layerIndex);
    void removeSprite(Sprite* sprite, int layerIndex);
    // Takes every one of them out of every layer in one pass over each.
    void removeSprites(const std::unordered_set<Sprite*>& gone);
    bool isValidLayer(int index) const;
    void setCameraTarget(Sprite* target);
    void update(float dt);
    void render();
    // Copies the back buffer to the display.
    void present();
    // Copies the back buffer into the given bitmap (the display, or a memory
    // bitmap of the same size when there is no display).
    void present(BITMAP* target);
    void captureFrame();
    // Draws one layer's sprites into the back buffer (all passes).
    void drawLayer(Layer& layer);
    // The row shift of the water ripple for one screen row.
    int waveOffset(int row) const;

    int offsetX = 0, offsetY = 0;
    bool lockX = false, lockY = false;
    int maxScrollY = NO_LIMIT, maxScrollX = NO_LIMIT, minViewRight = NO_LIMIT, minViewBottom = NO_LIMIT;
    std::vector<Layer> layers;
    int width = 0, height = 0;
    BITMAP* backBuffer = nullptr;
    BITMAP* snapshot = nullptr;
    Sprite* cameraTarget = nullptr;
    float waveLength = 10.0f;
    float waveAmplitude = 2.0f;
    int displayWidth = 0, displayHeight = 0;
    int centreX = 0, centreY = 0;
    int card = GFX_AUTODETECT_WINDOWED;
    bool fullscreen = false;
    bool waterEffect = false;
    float wavePhase = 0.0f;
    // Colour depth the mode was set at (0 when no mode was set).
    int colourDepth = 0;

private:
    void followTarget(Layer& layer);
    void sortLayer(Layer& layer);

    // Depth keys of the layer being sorted, kept between frames so that
    // sorting does not allocate.
    std::vector<int> sortKeys;
};
