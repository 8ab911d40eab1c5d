#pragma once

#include <allegro.h>

// Faster masked and translucent sprite drawing into a 16-bit memory bitmap:
// every frame is drawn into the screen's back buffer, so its sprite copies
// are the hottest loops of the game. The result is pixel for pixel what
// Allegro's own routines draw; whatever is not sped up (other depths, other
// blenders, flips, rotation, stretching) goes to Allegro unchanged.
class DrawAccelerator {
public:
    // Speeds up drawing into the bitmap. Only 16-bit memory bitmaps are
    // changed; the answer says whether this one was.
    static bool install(BITMAP* bitmap);
    // Puts Allegro's own drawing back (tests compare the two).
    static void uninstall(BITMAP* bitmap);
};
