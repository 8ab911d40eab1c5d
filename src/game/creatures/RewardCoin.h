#pragma once

#include "game/creatures/Creature.h"

class Game;
class Player;

// A coin dropped by the dolphin in the coin levels or scattered by a
// mini-game's win. It turns as it sinks straight through rock and fades away
// unless the fish catches it in time. A bubble
// that hits it does not shut it in: it sends the coin to the fish, which
// picks it up at once.
class RewardCoin final : public Creature {
public:
    RewardCoin();

    // A prize coin a won mini-game hands out: added to the level at
    // (fromX, fromY) and sent towards the fish (aimed the given height above
    // it) at the given speed; the fish collects it when it arrives.
    static RewardCoin* payOut(
        Game& game, float fromX, float fromY, const Player* fish, float speed, float above = 0.0f);

    void update(float dt) override;

    // Counts down to the fade while the coin is left alone.
    float lifeTimer;
    bool lifeRunning = true;
    // Pixels per second downwards.
    int sinkSpeed;
    bool hitByBubble = false;

private:
    void flyToFish();
};
