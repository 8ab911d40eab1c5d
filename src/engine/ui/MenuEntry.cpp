#include "engine/ui/MenuEntry.h"

#include "engine/core/DebugLog.h"
#include "engine/ui/Menu.h"

#include <algorithm>
#include <cstdlib>

MenuEntry::MenuEntry()
    : glowTween(&glow)
{
    icon.alignment = 1;
}

MenuEntry::~MenuEntry()
{
    if (glowBitmap != nullptr) {
        destroy_bitmap(glowBitmap);
    }
}

void MenuEntry::onAction(const std::string&, bool) { }

void MenuEntry::onActivate() { }

void MenuEntry::update(float dt)
{
    ActionMap::update(dt);
    if (menu == nullptr) {
        DebugLog::log("MenuEntry [" + text + "] doesn't have a menu pointer", true);
        return;
    }
    glowTween.update(dt);
    icon.update(dt);

    // The button is followed even while the entries are locked, so that a
    // click made during the lock is not taken for a new one afterwards.
    bool buttonDown = (mouse_b & 1) != 0;
    bool wentDown = buttonDown && !mouseButtonWasDown;
    bool cameUp = !buttonDown && mouseButtonWasDown;
    mouseButtonWasDown = buttonDown;
    if (menu->entriesLocked) {
        return;
    }
    if (!enabled) {
        // Not drawn, so not there for the mouse either.
        mouseDown = false;
        return;
    }

    bool inside = mouseOver();
    if (inside && menu->mouseMoved) {
        int index = menu->indexOf(this);
        if (index >= 0 && index != menu->selected) {
            if (MenuEntry* previous = menu->selectedEntry()) {
                previous->pressed = false;
            }
            menu->select(index);
        }
    }
    if (hasIcon()) {
        // Picture entries act as soon as the button goes down on them.
        if (inside && wentDown) {
            menu->doAction(action);
            onActivate();
        }
        return;
    }
    if (inside && wentDown) {
        mouseDown = true;
    }
    if (cameUp) {
        // Letting go outside the entry cancels the click.
        bool activate = inside && mouseDown;
        mouseDown = false;
        if (activate) {
            menu->doAction(action);
            onActivate();
        }
    }
}

bool MenuEntry::mouseOver() const
{
    int drawX = static_cast<int>(offsetX + x);
    int drawY = static_cast<int>(offsetY + y - z);
    int boxLeft, boxTop, width, height;
    if (hasIcon()) {
        width = icon.frameWidth();
        height = icon.frameHeight();
        boxLeft = drawX - width / 2;
        boxTop = drawY - height / 2;
    } else {
        width = (menu != nullptr && menu->hitWidth != 0) ? menu->hitWidth : textWidth();
        height = lineHeight();
        boxLeft = alignment == 1 ? drawX - width / 2 : drawX;
        boxTop = drawY;
    }
    return mouse_x >= boxLeft && mouse_x < boxLeft + width && mouse_y >= boxTop && mouse_y < boxTop + height;
}

void MenuEntry::draw(BITMAP* target)
{
    if (!enabled || !visible || target == nullptr) {
        return;
    }
    int drawX = static_cast<int>(offsetX + x);
    int drawY = static_cast<int>(offsetY + y - z);
    if (hasIcon()) {
        icon.x = static_cast<float>(drawX);
        icon.y = static_cast<float>(drawY);
        icon.draw(target);
        Sprite::draw(target);
        return;
    }
    TextSprite::draw(target);
    if (highlighted) {
        drawGlow(target, textLeft(drawX), drawY);
    }
}

void MenuEntry::drawGlow(BITMAP* target, int textX, int textY)
{
    int strength = std::min(static_cast<int>(glow), 255);
    if (strength <= 0) {
        return;
    }
    BITMAP* picture = currentGlow(bitmap_color_depth(target));
    if (picture == nullptr) {
        return;
    }
    selectBlender(1, strength);
    draw_trans_sprite(target, picture, textX - GLOW_BORDER, textY - GLOW_BORDER);
}

BITMAP* MenuEntry::currentGlow(int colourDepth)
{
    if (glowBitmap == nullptr || glowText != text || glowFont != font || glowColour != colour
        || bitmap_color_depth(glowBitmap) != colourDepth) {
        renderGlow(colourDepth);
    }
    return glowBitmap;
}

void MenuEntry::renderGlow(int colourDepth)
{
    if (glowBitmap != nullptr) {
        destroy_bitmap(glowBitmap);
        glowBitmap = nullptr;
    }
    glowText = text;
    glowFont = font;
    glowColour = colour;
    int width = textWidth();
    int height = lineHeight();
    if (font == nullptr || width <= 0 || height <= 0) {
        return;
    }
    glowBitmap = create_bitmap_ex(colourDepth, width + 2 * GLOW_BORDER, height + 2 * GLOW_BORDER);
    if (glowBitmap == nullptr) {
        return;
    }
    clear_to_color(glowBitmap, bitmap_mask_color(glowBitmap));

    int red = 255, green = 255, blue = 255;
    if (colour != -1) {
        red = getr(colour);
        green = getg(colour);
        blue = getb(colour);
    }
    // A soft halo in a third of the label's colour, the label itself on top.
    int halo = makecol_depth(colourDepth, red / 3, green / 3, blue / 3);
    int core = makecol_depth(colourDepth, red, green, blue);
    for (int dy = -GLOW_BORDER; dy <= GLOW_BORDER; ++dy) {
        for (int dx = -GLOW_BORDER; dx <= GLOW_BORDER; ++dx) {
            if ((dx != 0 || dy != 0) && std::abs(dx) + std::abs(dy) <= GLOW_BORDER) {
                textout_ex(glowBitmap, font, text.c_str(), GLOW_BORDER + dx, GLOW_BORDER + dy, halo, -1);
            }
        }
    }
    textout_ex(glowBitmap, font, text.c_str(), GLOW_BORDER, GLOW_BORDER, core, -1);
}
