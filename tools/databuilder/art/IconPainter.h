#pragma once

#include <allegro.h>

#include <string>
#include <vector>

// The game's desktop icon: the hero fish in a round-cornered patch of sea,
// drawn large once and shrunk by averaging, so the small sizes stay smooth.
class IconPainter {
public:
    // The sizes a desktop asks for, in pixels a side.
    static const std::vector<int>& sizes();
    // A 32-bit picture of the icon, size pixels square.
    static BITMAP* draw(int size);
    // Writes every size as <folder>/<s>x<s>/apps/tidewander.png.
    static bool writeAll(const std::string& folder, std::string& error);
};
