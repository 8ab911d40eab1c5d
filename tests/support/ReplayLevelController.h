#pragma once

#include "game/play/InGameController.h"

#include <functional>

// Level play as the game has it, telling a replay when a level is about to
// be built (before anything in it draws a random number, so that a
// recording's seed can go in first) and counting the frames it has run.
class ReplayLevelController : public InGameController {
public:
    explicit ReplayLevelController(Game* owner)
        : InGameController(owner)
        , owner(owner)
    {
    }

    void enter() override;
    void update(float dt) override;

    // Called with the level about to be built; a restart calls it again.
    std::function<void(int level)> beforeEntry;
    // Updates of the level being played since the count was last set to 0.
    int updates = 0;

private:
    int entries = 0;
    Game* owner;
};
