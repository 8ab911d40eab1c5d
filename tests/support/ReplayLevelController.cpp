#include "support/ReplayLevelController.h"

#include "game/app/Game.h"

void ReplayLevelController::enter()
{
    ++entries;
    if (beforeEntry) {
        beforeEntry(owner->currentLevel);
    }
    InGameController::enter();
}

void ReplayLevelController::update(float dt)
{
    const int entriesBefore = entries;
    InGameController::update(dt);
    // The update that finishes a level builds the next one at once; it was
    // the old level's last frame, not the new one's first.
    if (entries == entriesBefore) {
        ++updates;
    }
}
