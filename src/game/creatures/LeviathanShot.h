#pragma once

#include "game/creatures/Creature.h"

// A glowing bolt the leviathan spits from its jaws. It homes on the fish and
// fades after a few seconds; a bubble cannot trap it, but a flying bubble
// that comes close drags it along, which is how the fish carries the
// leviathan's own shots back into its mouth.
class LeviathanShot final : public Creature {
public:
    // Pixels per second while it homes on the fish.
    explicit LeviathanShot(float speed);

    void update(float dt) override;

    float speed;
    // Seconds before it starts to fade.
    float lifeTimer;
    bool fading = false;
};
