#pragma once

#include "engine/media/Interpolator.h"
#include "game/creatures/Creature.h"

// The sleepy fish dozes until the fish passes on its left with nothing but
// open water between them, then dashes across to the rock on that side.
// No bubble stops it mid-dash. It rests there a while, then swims home to
// doze again. Its bite works from inside a bubble too.
class SleepyFish final : public Creature {
public:
    SleepyFish();

    void update(float dt) override;

    bool dashing = false;
    // The rest after a dash, before it swims home.
    float restTimer = 0.0f;
    // Where it dozes; known from its first dash on.
    float homeX = 0.0f;
    bool homeKnown = false;
    float bob = 0.0f;
    Interpolator bobTween;

private:
    void watch();
    void dash(int rockColumn);
};
