#include "game/creatures/Angler.h"

#include "engine/core/Vector2.h"
#include "game/app/Game.h"
#include "game/play/Player.h"

#include <cmath>

namespace {

constexpr float LURE_FRAME = 1.0f;
constexpr float LURE_ALPHA = 128.0f;
// The lure dims to half its light and back, for ever.
constexpr float LURE_DIM_ALPHA = 64.0f;
constexpr float LURE_PULSE_SECONDS = 0.4f;
constexpr int FOREVER = -1;

constexpr float PATROL_SPEED = 150.0f;
constexpr float CHASE_SPEED = 250.0f;
constexpr int LEFT = 0;
constexpr int RIGHT = 1;

// 164 pixels: the angler has seen the fish.
constexpr double SIGHT_DISTANCE_SQUARED = 26896.0;
// 60 pixels while patrolling, 64 once it chases.
constexpr double PATROL_BITE_DISTANCE_SQUARED = 3600.0;
constexpr double CHASE_BITE_DISTANCE_SQUARED = 4096.0;
// 300 pixels: the fish got away.
constexpr double GIVE_UP_DISTANCE_SQUARED = 90000.0;
// It keeps facing right while the fish is only just left of it, so it does
// not flicker when the two are level.
constexpr float FACING_SLACK = 2.0f;

} // namespace

Angler::Angler()
{
    datafile.load("angler.dat");
    lure.datafile.load("angler.dat");
    lure.alignment = alignment;
    lure.frame = LURE_FRAME;
    lure.alpha = LURE_ALPHA;
    lure.alphaTween.pingPong = true;
    lure.alphaTween.start(LURE_DIM_ALPHA, LURE_PULSE_SECONDS, FOREVER);
    // Drawn at the angler's own drawn point, before its bubble.
    addChild(&lure);
}

void Angler::update(float dt)
{
    Creature::update(dt);
    if (gameFrozen()) {
        return;
    }
    // The lure glows on inside a bubble.
    lure.update(dt);
    if (!awake()) {
        return;
    }
    if (chasing) {
        Player* player = fish();
        if (player != nullptr && !player->dead) {
            chase(dt);
        }
        return;
    }
    patrol();
}

void Angler::draw(BITMAP* target)
{
    lure.flipH = flipH;
    Creature::draw(target);
}

void Angler::chase(float dt)
{
    Game* game = Game::instance();
    const Player& player = *fish();
    Vector2 from(x, y);
    Vector2 step = (Vector2(player.x, player.y) - from).withLength(CHASE_SPEED * dt);
    // Rounded rather than cut off, so that it homes in as fast to the left
    // and up as to the right and down, even in slow motion's short steps.
    setPosition(
        static_cast<int>(std::lround(from.x + step.x)), static_cast<int>(std::lround(from.y + step.y)));
    if (game != nullptr && game->isTileBlocked(cellOf(x), cellOf(y))) {
        // Slide along the rock on whichever axis is free; in a corner, stay.
        if (!game->isTileBlocked(cellOf(from.x), cellOf(y))) {
            x = from.x;
        } else if (!game->isTileBlocked(cellOf(x), cellOf(from.y))) {
            y = from.y;
        } else {
            x = from.x;
            y = from.y;
        }
    }
    flipH = x - FACING_SLACK <= player.x;
    if (hurtPlayerOnContact(CHASE_BITE_DISTANCE_SQUARED)) {
        return;
    }
    if (distanceSquared(x, y, player.x, player.y) > GIVE_UP_DISTANCE_SQUARED) {
        chasing = false;
    }
}

void Angler::patrol()
{
    Game* game = Game::instance();
    if (!moving && game != nullptr) {
        game->moveAlongRow(patrolStep, this, PATROL_SPEED);
        patrolStep = patrolStep == LEFT ? RIGHT : LEFT;
        // The move just started went right.
        flipH = patrolStep == LEFT;
    }
    hurtPlayerOnContact(PATROL_BITE_DISTANCE_SQUARED);
    if (touchesPlayer(SIGHT_DISTANCE_SQUARED)) {
        playSoundAt("anglerseesyou");
        chasing = true;
        // It turns after the fish from wherever it is along its row.
        xTween.stop();
        yTween.stop();
        moving = false;
    }
}
