#include "game/creatures/InkBlot.h"

#include "game/play/Player.h"

namespace {

// One turn a second, for as long as it lasts.
constexpr float SPIN_TARGET = 255.0f;
constexpr float SPIN_SECONDS = 1.0f;
constexpr int FOREVER = -1;

constexpr float SPEED = 200.0f;
// Spat out this far ahead of the spitter.
constexpr float MOUTH_DISTANCE = 80.0f;
constexpr float LIFE_SECONDS = 3.0f;
constexpr float FADE_SECONDS = 0.1f;
// Faint enough to be gone.
constexpr float GONE_ALPHA = 64.0f;
constexpr double HIT_DISTANCE_SQUARED = 1024.0;

} // namespace

InkBlot::InkBlot()
    : speed(SPEED)
    , lifeTimer(LIFE_SECONDS)
{
    datafile.load("inkblot.dat");
    angleTween.start(SPIN_TARGET, SPIN_SECONDS, FOREVER);
}

void InkBlot::aim(float targetX, float targetY)
{
    direction = Vector2(targetX - x, targetY - y);
    direction.setLength(1.0f);
    x += direction.x * MOUTH_DISTANCE;
    y += direction.y * MOUTH_DISTANCE;
}

void InkBlot::update(float dt)
{
    Creature::update(dt);
    // Its time only runs while it drifts free: ink held in a bubble waits
    // there for the squid.
    if (!visible || !awake()) {
        return;
    }
    x += direction.x * speed * dt;
    y += direction.y * speed * dt;
    if (!fading) {
        lifeTimer -= dt;
        if (lifeTimer <= 0.0f) {
            fading = true;
            alphaTween.start(0.0f, FADE_SECONDS, 0);
        }
    }
    if (alpha <= GONE_ALPHA) {
        visible = false;
        bubble.visible = false;
        return;
    }
    // A fish that a mini-game holds (won, or showing its steps) is out of
    // the fight.
    Player* player = fish();
    if (player != nullptr && !player->controlsLocked) {
        hurtPlayerOnContact(HIT_DISTANCE_SQUARED);
    }
}
