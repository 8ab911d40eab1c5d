#pragma once

#include <allegro.h>

#include <string>
#include <vector>

class LevelFile;

// Turns the level maps of data/levels/ into lvl/levels.dat: one 24-bit
// picture per level, a pixel per cell, at the index the game looks in
// (levels 0-49 at 0-49, the mini-games 1000-1003 at 50-53), followed by one
// spare object because the game's datafile cache cannot reach the last one.
//
// Levels without a map yet get a placeholder: a three-cell room holding the
// fish, a rock and a chest behind it. It cannot be finished, so the story
// stops there cleanly instead of racing through empty levels and recording
// them as won.
class LevelCompiler {
public:
    static constexpr int OBJECT_COUNT = 55;
    static constexpr const char* PLACEHOLDER = "P#T";

    // Reads and checks every map of the folder and writes the datafile; false,
    // with problems() naming level, cell and reason, when any map is broken
    // (nothing is written then).
    bool build(const std::string& levelsDir, const std::string& outPath);
    const std::vector<std::string>& problems() const { return messages; }
    // How many levels came from maps, and how many are placeholders.
    int compiledCount() const { return compiled; }
    int placeholderCount() const { return placeholders; }

    // The level's picture (24-bit, width x height of the map); the caller
    // destroys it.
    static BITMAP* picture(const LevelFile& level);

private:
    std::vector<std::string> messages;
    int compiled = 0;
    int placeholders = 0;
};
