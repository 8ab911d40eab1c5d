#include "engine/ui/MenuSlider.h"

#include "engine/ui/Menu.h"

#include <algorithm>

MenuSlider::MenuSlider()
{
    bind("left", KEY_LEFT);
    bind("right", KEY_RIGHT);
}

void MenuSlider::update(float dt)
{
    MenuEntry::update(dt);
    if (menu == nullptr) {
        return;
    }
    if (highlighted && enabled) {
        bool lower = isHeld("left");
        bool raise = isHeld("right");
        if (lower || raise) {
            float moved = static_cast<float>(value);
            if (lower) {
                moved -= dt * KEY_SPEED;
            }
            if (raise) {
                moved += dt * KEY_SPEED;
            }
            value = std::clamp(static_cast<int>(moved), 0, std::max(maximum, 0));
            if (onChange) {
                onChange(value);
            }
        }
    }
    if (!menu->entriesLocked && enabled) {
        handleMouse();
    }
}

void MenuSlider::handleMouse()
{
    if ((mouse_b & 1) == 0) {
        return;
    }
    float entryX = offsetX + x;
    float entryY = offsetY + y - z;
    if (!(mouse_y > entryY - 5 && mouse_y < entryY + 15)) {
        return;
    }
    float barLeft = entryX + BAR_LEFT;
    float barRight = entryX + BAR_RIGHT;
    if (mouse_x > barLeft && mouse_x < barRight) {
        value = static_cast<int>((mouse_x - barLeft) * maximum * 0.01f);
    } else if (mouse_x > barLeft - END_ZONE && mouse_x < barLeft) {
        value = 0;
    } else if (mouse_x >= barRight && mouse_x < barRight + END_ZONE) {
        value = maximum;
    }
    value = std::clamp(value, 0, std::max(maximum, 0));
    // Holding the button anywhere along the line reports the value.
    if (onChange) {
        onChange(value);
    }
}

void MenuSlider::draw(BITMAP* target)
{
    MenuEntry::draw(target);
    if (!enabled || !visible || target == nullptr || hasIcon()) {
        return;
    }
    int entryX = static_cast<int>(offsetX + x);
    int entryY = static_cast<int>(offsetY + y - z);
    int height = std::max(lineHeight(), 4);
    int barLeft = entryX + BAR_LEFT;
    int barRight = entryX + BAR_RIGHT;
    int frameColour = colour == -1 ? makecol(255, 255, 255) : colour;
    rect(target, barLeft, entryY, barRight, entryY + height - 1, frameColour);
    if (maximum > 0 && value > 0) {
        int filled = (barRight - barLeft - 2) * value / maximum;
        rectfill(target, barLeft + 1, entryY + 1, barLeft + filled, entryY + height - 2, frameColour);
    }
}
