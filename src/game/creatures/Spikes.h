#pragma once

#include "game/creatures/Creature.h"

// A row of spikes on the floor of its cell, or hanging from the roof of it
// upside down. A fish that swims into that cell is killed. No bubble can
// hold spikes.
class Spikes final : public Creature {
public:
    explicit Spikes(bool hanging = false);

    // Puts the picture against the floor or the roof again, whichever way up
    // the spikes are now.
    void reset() override;
    void update(float dt) override;
};
