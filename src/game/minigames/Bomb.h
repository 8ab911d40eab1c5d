#pragma once

#include "engine/ui/TextSprite.h"
#include "game/creatures/Creature.h"

class Screen;

// The bomb game: one bomb turns up at five places of the hold in turn, each
// with a countdown, and the fish must get to it and hit it with a bubble
// before it goes off. A caption counts the seconds down, and while the bomb
// is far away a second one at the edge of the screen says where to look.
// The fifth bomb disarmed pays 15 coins and the level's chest; a bomb that
// goes off kills the fish, and the level starts again with a new bomb.
class Bomb final : public Creature {
public:
    struct Place {
        int column;
        int row;
    };
    static constexpr int PLACES = 5;
    static const Place PLACE_CELLS[PLACES];

    Bomb();
    ~Bomb() override;

    void update(float dt) override;

    // -1 before the first bomb is armed.
    int placeIndex = -1;
    // Seconds until the bomb goes off.
    float countdown = 0.0f;
    // Fading out after a bubble reached it.
    bool disarming = false;
    // Every bomb disarmed.
    bool finished = false;
    // Gone off: the level is about to start again.
    bool exploded = false;
    int coinsToPay;
    float payTimer = 0.0f;
    // "Boom in ... seconds", under the middle of the screen.
    TextSprite countdownCaption;
    // "Over Here!", at the edge of the screen nearest the bomb.
    TextSprite pointerCaption;

private:
    void armNext();
    void disarm();
    void pay(float dt);
    void tick(float dt);
    void pointTowardsBomb();
    void explode();

    Screen* shownOn = nullptr;
};
