#include "game/creatures/Sharky.h"

#include "game/play/Player.h"

#include <algorithm>

namespace {

constexpr int SWIM_FIRST_FRAME = 0;
constexpr int SWIM_LAST_FRAME = 20;
constexpr float SWIM_SECONDS = 0.7f;
constexpr int FOREVER = -1;
// Drawn over the other creatures it passes.
constexpr int DEPTH_BIAS = 1000;

// Across at full speed, up and down at half of it (whole pixels per second).
constexpr int SPEED = 500;
constexpr int VERTICAL_SPEED = SPEED / 2;
// Just fast enough for the fish to get away.
constexpr int FISH_CHASE_SPEED = 510;
constexpr double BITE_DISTANCE_SQUARED = 6400.0;

} // namespace

Sharky::Sharky(int variantNumber)
    : variant(variantNumber)
{
    datafile.load("sharky.dat");
    bubbleProof = true;
    depthBias = DEPTH_BIAS;
    playAnimation("shark", SWIM_FIRST_FRAME, SWIM_LAST_FRAME, SWIM_SECONDS, FOREVER, false, 0.0f);
    if (Player* player = fish()) {
        player->setSwimSpeed(FISH_CHASE_SPEED);
    }
}

void Sharky::update(float dt)
{
    Creature::update(dt);
    Player* player = fish();
    if (!awake() || player == nullptr || player->dead) {
        return;
    }
    if (hurtPlayerOnContact(BITE_DISTANCE_SQUARED)) {
        return;
    }
    // It closes in on the fish but never overshoots it.
    const float across = static_cast<float>(SPEED) * dt;
    if (x < player->x) {
        flipH = true;
        x = std::min(x + across, player->x);
    } else if (x > player->x) {
        flipH = false;
        x = std::max(x - across, player->x);
    }
    const float upOrDown = static_cast<float>(VERTICAL_SPEED) * dt;
    if (y < player->y) {
        y = std::min(y + upOrDown, player->y);
    } else if (y > player->y) {
        y = std::max(y - upOrDown, player->y);
    }
}
