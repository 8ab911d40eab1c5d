#pragma once

#include "game/creatures/Boss.h"

// The boss of the Squid's Den. It swims a triangle round its den, stopping
// at each corner to spit an ink blot at the fish. Nothing the fish does hurts
// it directly: the fish freezes the ink in bubbles and waits for the squid to
// swim into its own frozen blots. Beaten, it fades away and the boulder it
// kept over the vault sinks down its shaft, opening the way to the treasure.
class Squid final : public Boss {
public:
    Squid();

    void update(float dt) override;

    // Pixels per second along each axis of a swim.
    float speed;
    // Counts down at a corner before it swims on; the squid spits when it
    // has stopped and the timer is out.
    float shootTimer;
    // The corner it swam to last.
    int waypoint = 0;
    // Once beaten: until the boulder sinks another cell, and how far it has
    // sunk (it rests after the fourth step).
    float breakTimer = 0.0f;
    int breakStep = 0;

private:
    void keepRhythm(float dt);
    void spitInk();
    void feelFrozenInk();
    void sinkBlock(float dt);
};
