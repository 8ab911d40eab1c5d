#pragma once

#include "engine/ui/MenuEntry.h"

#include <allegro.h>

#include <array>
#include <string>

// A line showing the key bound to one of the player's actions. Activating
// it waits for a new key (the whole menu is locked meanwhile); the key is
// taken once it has been pressed and let go again.
class MenuKeyBinding : public MenuEntry {
public:
    void update(float dt) override;
    void onActivate() override;
    // "Label [key]", or "Label [...]" while waiting for a key.
    void refreshLabel();

    std::string label;
    ActionMap* listener = nullptr;
    std::string boundAction;
    bool waiting = false;

    // The keys a player may bind, in the order they are looked at.
    static const std::array<int, 32> CANDIDATE_KEYS;

private:
    void finish(int code);

    // The key taken, waiting to be let go; 0 while none.
    int takenKey = 0;
    // A key counts only once it has been seen up during the wait, so the
    // key that started the wait is not taken for the new binding.
    std::array<bool, KEY_MAX> seenUp {};
};
