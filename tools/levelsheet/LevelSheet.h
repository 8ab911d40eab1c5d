#pragma once

#include <string>

// A picture of a whole level as the game draws it: the game builds the
// level from the shipped data exactly as for play (background, tiles,
// creatures, treasure), and the whole of it is drawn at once, then shrunk to
// fit a page. For reviewing levels at a glance.
class LevelSheet {
public:
    // The widest picture written; a wider level is shrunk to this.
    static constexpr int PAGE_WIDTH = 1600;

    // Draws the level into pngPath. The working folder must hold the run
    // folder's dat/ and lvl/. False, with the reason in error, when the
    // level cannot be built or the picture not written.
    static bool draw(int level, const std::string& pngPath, std::string& error);
};
