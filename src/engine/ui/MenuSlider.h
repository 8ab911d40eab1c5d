#pragma once

#include "engine/ui/MenuEntry.h"

#include <functional>

// A 0..maximum value shown as a bar to the right of the label. Held
// "left"/"right" keys move it while highlighted; the mouse sets it by
// pressing on the bar.
class MenuSlider : public MenuEntry {
public:
    MenuSlider();

    void update(float dt) override;
    void draw(BITMAP* target) override;

    int value = 0;
    int maximum = 255;
    std::function<void(int)> onChange;

    // Change per second while a key is held.
    static constexpr float KEY_SPEED = 200.0f;
    // The bar runs from BAR_LEFT to BAR_RIGHT pixels right of the entry's x.
    static constexpr int BAR_LEFT = 100;
    static constexpr int BAR_RIGHT = 200;
    // Pressing within this many pixels left of the bar sets 0, right of it
    // the maximum.
    static constexpr int END_ZONE = 20;

private:
    void handleMouse();
};
