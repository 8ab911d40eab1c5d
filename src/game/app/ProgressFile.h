#pragma once

#include <map>
#include <string>

// A profile's progress as it is kept on disk: an Allegro packfile whose
// unpacked content is 816 bytes, every value 32-bit little-endian:
// highest level, bubble limit, coins, the water-effect flag (one byte and
// three zero bytes), then the best rating and the best time of levels 0 to 99.
class ProgressFile {
public:
    static constexpr int SIZE = 816;
    static constexpr int LEVELS = 100;

    enum class Result {
        Loaded,
        Missing, // no file: the values are the fresh-profile defaults
        Damaged, // unreadable, not a packfile, or shorter than SIZE: defaults
        OutOfRange // unpacks, but holds values no game could reach: defaults
    };

    // The most coins a file may hold: far beyond what play gives, and far
    // enough below the int limit that adding a level's coins cannot overflow.
    static constexpr int MAX_COINS = 100000000;
    static constexpr int MAX_RATING = 100;
    // A level's clock stops at 599 seconds.
    static constexpr int MAX_TIME = 599;

    // Back to a fresh profile: level 0, 3 bubbles, 25 coins, water on, no
    // ratings and no times.
    void reset();

    // The 816 unpacked bytes. Map entries outside levels 0 to 99 (the
    // mini-games) are not stored.
    std::string encode() const;
    // Reads the first SIZE bytes; false (and nothing changed) when fewer.
    bool decode(const std::string& bytes);

    // What in the values no game could have saved ("" when all are sound):
    // level numbers, bubble limit, coins, ratings and times are checked.
    std::string outOfRange() const;

    // Reads a packfile. Anything but Loaded leaves the defaults; for
    // OutOfRange, problem says which value was wrong.
    Result load(const std::string& path);
    // Packs into a temporary file beside the target and renames it over the
    // old one, so a failed write never leaves half a file behind.
    bool save(const std::string& path) const;

    int highestLevel = 0;
    int bubbleLimit = 3;
    int coins = 25;
    bool waterEffect = true;
    std::map<int, int> levelPercent;
    std::map<int, int> bestTimes;
    std::string problem;
};
