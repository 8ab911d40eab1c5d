#pragma once

#include "engine/media/Interpolator.h"

#include <allegro.h>

#include <string>
#include <vector>

class Screen;

// Base of everything drawn: position with a height above the ground, alpha,
// rotation, stretching, flips, clipping, tweens and child sprites.
class Sprite {
public:
    Sprite();
    virtual ~Sprite() = default;
    Sprite(const Sprite&) = delete;
    Sprite& operator=(const Sprite&) = delete;

    virtual void updateBounds() { }
    virtual void setPosition(int newX, int newY);
    virtual void draw(BITMAP* target);
    virtual int depth();
    virtual void handleCommand(std::string line);
    virtual void update(float dt);

    struct Bounds {
        int left, top, right, bottom;
    };
    Bounds getBounds();
    void moveTo(int targetX, int targetY, float speed);
    void addChild(Sprite* child);
    void removeChild(Sprite* child);
    void setClip(int clipLeftEdge, int clipTopEdge, int clipRightEdge, int clipBottomEdge);
    void stepUpdate(float dt);

    int left = 0, top = 0, right = 0, bottom = 0;
    std::vector<Sprite*> children;
    int alignment = 0;
    int blendMode = 0;
    int depthBias = 0;
    int offsetX = 0, offsetY = 0;
    float x = 0.0f, y = 0.0f, z = 0.0f;
    float alpha = 255.0f;
    float angle = 0.0f;
    float savedX = 0.0f, savedY = 0.0f, savedZ = 0.0f;
    Interpolator alphaTween, angleTween, widthTween, heightTween;
    float drawWidth = 0.0f, drawHeight = 0.0f;
    bool visible = true;
    bool flipV = false, flipH = false;
    int clipLeft = 0, clipTop = 0, clipRight = 0, clipBottom = 0;
    bool moving = false;
    Interpolator xTween, yTween, zTween;
    int pass = 0;
    bool cullable = true;
    bool drawOnHiddenLayer = false;
    float maxStep = 0.0f;
    // The screen of the state that owns this sprite, set when it is added.
    Screen* screen = nullptr;

protected:
    // Selects the Allegro colour blender for a blend mode at an alpha:
    // 0 trans, 1 add, 2 dissolve, 3 hue, 4 invert, 5 burn, 6 alpha. Unknown
    // modes blend like 0; the alpha is held to 0..255.
    static void selectBlender(int mode, int alphaValue);
    // Draws the children shifted by this sprite's position.
    void drawChildren(BITMAP* target);
};
