#pragma once

#include "engine/media/AnimatedSprite.h"
#include "game/creatures/Creature.h"

// The angler fish patrols its row with its lure glowing until the fish
// swims within sight, then homes in on it, sliding along the rock it bumps
// into, until it bites or the fish gets away. Inside a bubble it is
// harmless, but it remembers whom it was chasing.
class Angler final : public Creature {
public:
    Angler();

    // The lure faces the way the angler does.
    void draw(BITMAP* target) override;
    void update(float dt) override;

    // The light on its stalk, drawn over the angler and pulsing.
    AnimatedSprite lure;
    bool chasing = false;
    // 0 or 1: the next patrol move goes left or right.
    int patrolStep = 0;

private:
    void chase(float dt);
    void patrol();
};
