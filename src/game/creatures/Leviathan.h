#pragma once

#include "game/creatures/Boss.h"

// The sea serpent coiled in the corner of the sunken city. It fires volleys
// of homing shots from its jaws and swallows whatever drifts into the water
// above its head; the fish beats it by catching the shots in bubbles and
// carrying them back into its mouth. Its coils fill the corner, so the fish
// cannot swim there. Once beaten it fades away and the rock it lay on
// crumbles, opening the way down to the treasure.
class Leviathan final : public Boss {
public:
    static constexpr int MAX_HIT_POINTS = 12;
    static constexpr int VOLLEY_SHOTS = 3;

    Leviathan();

    void update(float dt) override;

    // How fast its shots home on the fish: faster as it weakens.
    float shotSpeed() const;
    // The middle of the water it swallows from, above its head.
    float mouthX() const { return x; }
    float mouthY() const;

    float volleyPause;
    int shotsInVolley = 0;
    float shotTimer = 0.0f;
    // After its defeat: time to the next crumbling of its rock, and which.
    float breakTimer = 0.0f;
    int breakStep = 0;

private:
    void hurtFishInItsCoils();
    void fireVolleys(float dt);
    void fire();
    void swallow();
    void crumbleRock(float dt);
};
