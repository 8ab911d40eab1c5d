#pragma once

#include "engine/media/Interpolator.h"
#include "game/creatures/Creature.h"

// The pirate fish swims round and round the rock that walls it in: down,
// right, up, left, each leg to the wall, bobbing as it goes. Its teeth bite
// from inside a bubble too.
class PirateFish final : public Creature {
public:
    PirateFish();

    void update(float dt) override;

    // The leg it swims: 0 left, 1 right, 2 up, 3 down.
    int direction = 0;
    float bob = 0.0f;
    Interpolator bobTween;
};
