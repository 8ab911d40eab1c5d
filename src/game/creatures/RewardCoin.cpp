#include "game/creatures/RewardCoin.h"

#include "game/app/Game.h"
#include "game/play/Player.h"

namespace {

constexpr int ROT_FIRST_FRAME = 0;
constexpr int ROT_LAST_FRAME = 20;
constexpr float ROT_SECONDS = 0.8f;
constexpr int FOREVER = -1;

// A coin nobody catches lies about for two seconds, then fades quickly.
constexpr float LIFE_SECONDS = 2.0f;
constexpr float FADE_SECONDS = 0.5f;
// A coin fetched by a bubble stays in sight a little longer, long enough for
// the fish to take it even if something delays the pickup.
constexpr float FETCHED_FADE_SECONDS = 2.5f;
constexpr int SINK_SPEED = 50;
constexpr float OPAQUE = 255.0f;

} // namespace

RewardCoin::RewardCoin()
    : lifeTimer(LIFE_SECONDS)
    , sinkSpeed(SINK_SPEED)
{
    datafile.load("coin.dat");
    playAnimation("rot", ROT_FIRST_FRAME, ROT_LAST_FRAME, ROT_SECONDS, FOREVER, false, 0.0f);
}

void RewardCoin::update(float dt)
{
    // Gone for good: faded out or already in the fish's purse.
    if (!visible) {
        return;
    }
    Creature::update(dt);
    Game* game = Game::instance();
    if (game != nullptr && game->frozen) {
        return;
    }
    // The bubble's clock only marks the hit; a coin is never held in one.
    if (trapTime != 0.0f) {
        flyToFish();
    } else if (lifeRunning) {
        lifeTimer -= dt;
        if (lifeTimer <= 0.0f) {
            lifeRunning = false;
            alphaTween.start(0.0f, FADE_SECONDS, 0);
        }
    }
    if (alpha <= 0.0f) {
        alpha = 0.0f;
        visible = false;
        bubble.visible = false;
        return;
    }
    if (!hitByBubble) {
        y += static_cast<float>(sinkSpeed) * dt;
    }
}

void RewardCoin::flyToFish()
{
    trapTime = 0.0f;
    bubble.visible = false;
    shake.stop();
    shakeOffset = 0.0f;
    offsetX = bubble.offsetX = 0;
    hitByBubble = true;
    lifeRunning = false;
    Game* game = Game::instance();
    Player* fish = game != nullptr ? game->player : nullptr;
    // A fish still at y 0 has not been placed in the level yet.
    if (fish != nullptr && fish->y != 0.0f) {
        xTween.stop();
        yTween.stop();
        moving = false;
        x = fish->x;
        y = fish->y;
    }
    alpha = OPAQUE;
    alphaTween.start(0.0f, FETCHED_FADE_SECONDS, 0);
}

RewardCoin* RewardCoin::payOut(
    Game& game, float fromX, float fromY, const Player* fish, float speed, float above)
{
    auto* coin = new RewardCoin();
    game.addCreature(coin);
    coin->x = fromX;
    coin->y = fromY;
    if (fish != nullptr) {
        coin->moveTo(static_cast<int>(fish->x), static_cast<int>(fish->y - above), speed);
    }
    return coin;
}
