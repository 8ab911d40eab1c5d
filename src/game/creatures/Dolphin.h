#pragma once

#include "engine/media/Interpolator.h"
#include "game/creatures/Creature.h"

class Player;

// The dolphin of the coin levels. It climbs the level lap by lap, one cell
// up and then across to the far wall, dropping a coin every little while,
// and leaves at the top. A fish that has not caught enough coins by then
// (and cannot make it up with the coins still floating) loses the level.
class Dolphin final : public Creature {
public:
    static constexpr const char* SHORT_OF_COINS_TEXT = "You didn't get enough coins!";

    Dolphin();

    void update(float dt) override;

    // Until the next coin falls.
    float coinTimer;
    bool movingRight = false;
    // The climb of this lap is done; the swim across comes next.
    bool climbed = false;
    bool leaving = false;
    // The level's coin count is settled once it has left: met, or lost.
    bool verdictGiven = false;

    float bob = 0.0f;
    Interpolator bobTween;

private:
    void dropCoin();
    void swim();
    // Where the swim along the current row ends: before the first rock in
    // the way, or at the level's edge.
    int rowTarget(int column, int row) const;
    void judgeCoins();
    static int floatingCoins();
};
