#pragma once

#include "engine/core/ActionMap.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/media/Interpolator.h"
#include "engine/ui/TextSprite.h"

#include <allegro.h>

#include <string>

class Menu;

// One line of a menu page. The plain kind sends its action when activated;
// toggles, sliders, text fields and key-binding lines derive from it.
class MenuEntry : public TextSprite, public ActionMap {
public:
    MenuEntry();
    ~MenuEntry() override;

    void onAction(const std::string& actionName, bool isPressed) override;
    void update(float dt) override;
    void draw(BITMAP* target) override;
    // What this kind of entry does when activated, after the menu has sent
    // the action.
    virtual void onActivate();

    // Whether the mouse pointer is over the entry (its position including
    // the menu's, as during update).
    bool mouseOver() const;
    // The glow picture for the current label, made on first need.
    BITMAP* currentGlow(int colourDepth);

    Menu* menu = nullptr;
    std::string action;
    bool enabled = true;
    bool highlighted = true;
    bool pressed = false;
    bool mouseDown = false;
    float glow = 100.0f;
    Interpolator glowTween;
    BITMAP* glowBitmap = nullptr;
    AnimatedSprite icon;

    // Blank border round the label inside the glow picture.
    static constexpr int GLOW_BORDER = 2;

protected:
    bool hasIcon() const { return icon.datafile.isLoaded(); }
    void drawGlow(BITMAP* target, int textX, int textY);

private:
    void handleMouse();
    void renderGlow(int colourDepth);

    std::string glowText;
    FONT* glowFont = nullptr;
    int glowColour = 0;
    bool mouseButtonWasDown = false;
};
