#pragma once

#include "game/creatures/Boss.h"

// The big shark of the last lair. It idles at the back of its den, swimming
// up and down, and charges at the fish as soon as the fish ventures past
// x = 400, swallowing every crate it lands on; then it snaps its jaws (on its
// left) and runs back to x = 880. Crates do not agree with it: four seconds
// after a meal it chokes, one hit point per crate, and an explosive crate
// that goes off right beside it wounds it at once. Beaten, it sinks out of
// the lair and the rock at (8, 5) that walls in the way on is gone.
class BigShark final : public Boss {
public:
    static constexpr int MAX_HIT_POINTS = 3;

    BigShark();

    // Takes up its post at the back of the lair.
    void reset() override;
    void update(float dt) override;
    // An explosive crate went off right beside it.
    void hit() override;

    // Where its open jaws reach, in level pixels.
    Bounds biteBox() const;

    bool charging = false;
    bool biting = false;
    // Choking on crates: it shakes and lies still until the shaking ends.
    bool hurt = false;
    // Crates swallowed since it last choked, and the time until it does.
    int gulpedCrates = 0;
    float gulpTimer = 0.0f;

private:
    void carryDeadFish();
    void bite();
    void countDownGulp(float dt);
    void choke();
    void chargeOrSwim();
    void endCharge();
    void swallowCrates();
    void shakeFor(int repeats);
    void sink();
    void stop();
    static void playSample(const char* sample, int rate);
};
