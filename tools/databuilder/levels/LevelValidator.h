#pragma once

#include "levels/LevelFile.h"
#include "levels/LevelRules.h"

#include <string>
#include <vector>

// Checks a level map against the game's rules before it is compiled: the
// picture fits the tile grid, the fish has one start, it can reach every
// chest, gem and clam the way it moves in that level, and a boss fight has
// the room and the means the boss needs. A level that fails
// would be unwinnable or would end at once, so the build stops on it.
//
// How the fish gets about, per LevelRules::Movement:
// - swimming: up, down, left and right through cells without rock, statues
//   or spikes;
// - chase: the same, but never to the left, since the shark is right behind;
// - riding: the friend carries the fish right at 600 pixels a second while
//   the player steers it up or down at 400. The ride is followed in 10 ms
//   steps (6 pixels right, at most 4 up or down): rock ahead or spikes kill
//   the fish, rock above or below only stops the steering. A chest counts as
//   reached only when the ride can go on safely long enough afterwards for
//   the chest to finish fading, when the level is complete.
// - up and down its own column (the invaders' gallery): straight up and down
//   from the start through open water;
// - walking (out of the water): along the ground, off edges (falls are free,
//   drifting a cell sideways) and in jumps that go straight up at most 2
//   cells and then drift at most 3 sideways before coming down; spikes
//   kill, crates are steps.
class LevelValidator {
public:
    struct Problem {
        int x; // the cell at fault, or -1 for the level as a whole
        int y;
        std::string message;
    };

    explicit LevelValidator(LevelRules rules);

    std::vector<Problem> check(const LevelFile& level) const;

    // "level 07 (level07.txt), cell (12, 4): <message>"; a map read from
    // another file gives that file's name instead.
    std::string describe(const Problem& problem, const std::string& file = std::string()) const;

private:
    LevelRules rules;
};
