#pragma once

#include "engine/media/ParticleSystem.h"
#include "game/creatures/Creature.h"

// A bubble refill station: a vent in the rock that puffs up a few bubbles
// every half second. A fish that swims up to it with bubbles short of its
// limit gets them all back.
class Refill final : public Creature {
public:
    Refill();

    void update(float dt) override;
    // Only the bubbles it sends up; the station has no picture of its own.
    void draw(BITMAP* target) override;

    ParticleSystem puffs;
    // Until the next puff.
    float puffTimer;
};
