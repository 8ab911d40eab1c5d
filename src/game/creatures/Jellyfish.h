#pragma once

#include "engine/media/Interpolator.h"
#include "game/creatures/Creature.h"

// The jellyfish drifts slowly up and down its column, turning back wherever
// its bell or its tentacles touch a tile, pulsing and glimmering as it
// goes. It stings from inside a bubble too.
class Jellyfish final : public Creature {
public:
    Jellyfish();

    void update(float dt) override;

    // Set while it drifts up. A new jellyfish sinks first.
    bool rising = false;
    float bob = 0.0f;
    Interpolator bobTween;

private:
    // Whether the map cell of the point, in the jellyfish's column, holds
    // any tile at all: scenery turns it as well as rock does.
    bool tileAt(float pointY) const;
};
