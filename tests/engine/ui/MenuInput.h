#pragma once

#include <allegro.h>

// Puts Allegro's keyboard and mouse state back to rest: no key, no button,
// pointer far away from every menu.
inline void resetMenuInput()
{
    for (int code = 0; code < KEY_MAX; ++code) {
        key[code] = 0;
    }
    key_shifts = 0;
    mouse_b = 0;
    mouse_x = 5000;
    mouse_y = 5000;
}
