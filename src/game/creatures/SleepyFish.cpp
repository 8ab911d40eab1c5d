#include "game/creatures/SleepyFish.h"

#include "game/app/Game.h"
#include "game/play/Player.h"

#include <cmath>

namespace {

constexpr float DOZING_FRAME = 0.0f;
constexpr float DASHING_FRAME = 1.0f;

constexpr float DASH_SPEED = 300.0f;
constexpr float HOMEWARD_SPEED = 100.0f;
constexpr float REST_SECONDS = 2.0f;
// The fish must be nearly level with it to be noticed.
constexpr float NOTICE_HEIGHT = 40.0f;

constexpr float BOB_HEIGHT = 10.0f;
constexpr float BOB_SECONDS = 0.8f;
constexpr int FOREVER = -1;

} // namespace

SleepyFish::SleepyFish()
{
    datafile.load("sleepyfish.dat");
    bobTween.setUpdatee(&bob);
    bobTween.pingPong = true;
    bobTween.start(BOB_HEIGHT, BOB_SECONDS, FOREVER);
}

void SleepyFish::update(float dt)
{
    Creature::update(dt);
    if (gameFrozen()) {
        return;
    }
    hurtPlayerOnContact();
    if (!awake()) {
        return;
    }
    bobTween.update(dt);
    offsetY = static_cast<int>(bob);
    if (restTimer > 0.0f) {
        restTimer -= dt;
        if (restTimer <= 0.0f) {
            restTimer = 0.0f;
            frame = DOZING_FRAME;
            dashing = false;
            moveTo(static_cast<int>(homeX), static_cast<int>(y), HOMEWARD_SPEED);
        }
        return;
    }
    if (dashing) {
        if (!moving) {
            // Worn out: from now on a bubble can catch it again.
            bubbleProof = false;
            restTimer = REST_SECONDS;
        }
        return;
    }
    if (!moving) {
        watch();
    }
}

void SleepyFish::watch()
{
    const Player* player = fish();
    const Game* game = Game::instance();
    if (player == nullptr || player->dead || game == nullptr) {
        return;
    }
    if (!(player->x < x) || !(std::fabs(player->y - y) < NOTICE_HEIGHT)) {
        return;
    }
    const int row = cellOf(y);
    int rock = cellOf(x);
    while (rock >= 0 && !game->isTileBlocked(rock, row)) {
        --rock;
    }
    // Rock between them keeps it dozing.
    if (rock < cellOf(player->x)) {
        dash(rock);
    }
}

void SleepyFish::dash(int rockColumn)
{
    if (!homeKnown) {
        homeX = x;
        homeKnown = true;
    }
    dashing = true;
    bubbleProof = true;
    frame = DASHING_FRAME;
    moveTo(cellCentre(rockColumn + 1), static_cast<int>(y), DASH_SPEED);
}
