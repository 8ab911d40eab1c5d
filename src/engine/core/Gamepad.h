#pragma once

#include <vector>

// The first gamepad as the keyboard: its left stick or d-pad presses the
// arrow keys, its face buttons Space, Enter and Esc. It writes Allegro's
// key[] itself, so menus, the fish and "press any key" all answer it, and a
// profile's key bindings are neither changed nor needed.
class Gamepad {
public:
    // Installs Allegro's joystick driver; true when a pad is there. Without
    // one nothing changes.
    static bool install();
    // Polls the pad and mirrors it into key[] (only its own changes, so the
    // keyboard still works beside it).
    void update();
    // The mirroring alone, from joy[0] as it stands; tests write joy[] first.
    void mirror();

private:
    struct Mirror {
        int key;
        bool down;
    };
    std::vector<bool> held;
};
