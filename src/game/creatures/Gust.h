#pragma once

#include "game/creatures/Creature.h"

// A gust of wind the big boss bird throws: it sweeps sideways and down at
// the same pace, straight through rock, and knocks out a fish in its way.
class Gust final : public Creature {
public:
    // Speed in pixels per second, both across and down.
    Gust(float speed, bool movingRight);

    void update(float dt) override;

    float speed;
    bool movingRight;
};
