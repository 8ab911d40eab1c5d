#pragma once

#include "engine/core/Vector2.h"
#include "game/creatures/Creature.h"

// A spinning blot of ink that the squid (and the invaders) spit at the fish.
// It drifts in a straight line and fades away after a few seconds. A bubble
// holds it where it is, which is how the fish turns the squid's own ink
// against it.
class InkBlot final : public Creature {
public:
    InkBlot();

    void update(float dt) override;

    // Points the blot at a target and moves it a little way towards it, out
    // of the mouth of whoever spat it. A blot aimed at its own position
    // stays where it is.
    void aim(float targetX, float targetY);

    // Unit vector; still until aimed.
    Vector2 direction;
    // Pixels per second along the direction.
    float speed;
    // Free-floating time left before it fades.
    float lifeTimer;
    bool fading = false;
};
