#pragma once

#include <vector>

class Sprite;

// One drawing layer of the screen: its sprites, its scroll and how it is drawn.
class Layer {
public:
    // Whether a world point lands inside the screen with this layer's scroll
    // (both edges count as inside). The size is that of the one screen.
    bool isOnScreen(int x, int y) const;
    // The same test against a given screen size.
    bool isOnScreen(int x, int y, int screenWidth, int screenHeight) const;

    std::vector<Sprite*> sprites;
    bool followCamera = true;
    int scrollX = 0, scrollY = 0;
    int cameraX = 0, cameraY = 0;
    bool cull = true;
    bool visible = true;
    int passes = 1;
};
