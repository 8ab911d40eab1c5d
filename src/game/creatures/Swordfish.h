#pragma once

#include "engine/media/Interpolator.h"
#include "game/creatures/Boss.h"

// The swordfish challenges the fish to a duel. It keeps 200 pixels to one
// side of the fish, runs it through when it comes too close, and every so
// often draws back and swings its sword: inside 160 pixels the blow kills,
// a little further out the blades only clash. Between its blows the fish
// can lunge in with its plunger; four hits beat it. It stalks faster and
// strikes sooner as it weakens.
class Swordfish final : public Boss {
public:
    static constexpr int MAX_HIT_POINTS = 4;

    Swordfish();

    void update(float dt) override;

    // Its stalking speed in pixels per second, for its hit points now.
    int stalkingSpeed() const;
    bool attacking() const;

    // Seconds until the next attack, counted while it is not attacking.
    float attackTimer;
    // Cleared by the first clash of an attack, so blades ring once a blow.
    bool readyToClash = true;
    // The gentle rise and fall it keeps up all through the duel.
    float bob = 0.0f;
    Interpolator bobTween;

private:
    void stalk(const Player& player);
    void startAttack();
    // Its own blow, while the sword is out.
    void strike(int dx);
    void clash();
    // The fish's lunge, wherever its tip is.
    void takeThrust(Player& player);
    void lose();
};
