#pragma once

#include "game/creatures/Creature.h"

// The shark of the chase levels. It comes after the fish through rock and
// water alike, a little slower than the fish can swim (the fish gets a faster
// swim in these levels), and bites it if it comes within reach.
class Sharky final : public Creature {
public:
    // The level builds it with a number that no shark uses yet.
    explicit Sharky(int variant = 0);

    void update(float dt) override;

    int variant;
};
