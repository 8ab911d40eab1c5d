#include "game/creatures/LeviathanShot.h"

#include "engine/core/Vector2.h"
#include "game/play/Player.h"

namespace {

constexpr float LIFE_SECONDS = 5.0f;
constexpr float FADE_SECONDS = 0.2f;
// A flying bubble this close takes the shot along with it.
constexpr double CARRY_DISTANCE_SQUARED = 4096.0;
constexpr double HIT_DISTANCE_SQUARED = 1024.0;

} // namespace

LeviathanShot::LeviathanShot(float pixelsPerSecond)
    : speed(pixelsPerSecond)
    , lifeTimer(LIFE_SECONDS)
{
    datafile.load("levshot.dat");
    bubbleProof = true;
}

void LeviathanShot::update(float dt)
{
    Creature::update(dt);
    if (!awake()) {
        return;
    }
    if (alpha <= 0.0f) {
        visible = false;
    }
    if (!fading) {
        lifeTimer -= dt;
        if (lifeTimer <= 0.0f) {
            fading = true;
            alphaTween.start(0.0f, FADE_SECONDS, 0);
        }
    }
    Player* player = fish();
    if (!visible || fading || player == nullptr) {
        return;
    }
    const Bubble& bubble = player->bubble;
    if (bubble.inFlight && distanceSquared(x, y, bubble.x, bubble.y) < CARRY_DISTANCE_SQUARED) {
        x = bubble.x;
        y = bubble.y;
        return;
    }
    Vector2 way(player->x - x, player->y - y);
    const float step = speed * dt;
    // Right on top of the fish it stays there rather than overshooting.
    if (way.length() <= step) {
        x = player->x;
        y = player->y;
    } else {
        way.setLength(step);
        x += way.x;
        y += way.y;
    }
    hurtPlayerOnContact(HIT_DISTANCE_SQUARED);
}
