#pragma once

#include "engine/ui/MenuEntry.h"

#include <allegro.h>

#include <array>
#include <string>

// A line that edits a string owned elsewhere (a profile name): letters,
// digits and blanks only, at most maxLength characters. Activating it
// from the keyboard starts and ends the editing.
class MenuTextField : public MenuEntry {
public:
    void update(float dt) override;
    void draw(BITMAP* target) override;
    // Shows the label and the string being edited.
    void refreshLabel();

    std::string label;
    std::string* target = nullptr;
    int maxLength = 0;
    float blinkInterval = 0.2f;
    bool cursorVisible = false;
    float blinkTimer = 0.0f;

private:
    void readKeys();
    // While editing, Space types a blank instead of activating the menu.
    void claimSpace(bool editing);

    std::array<bool, KEY_MAX> keyWasDown {};
    bool wasEditing = false;
    bool spaceClaimed = false;
};
