#pragma once

#include "engine/media/AnimatedSprite.h"
#include "game/creatures/CannonBall.h"
#include "game/creatures/Creature.h"

class Screen;

// A cannon that fires a ball to the left along its row every two seconds,
// once its last ball has come down. The ball smokes as it flies, hurts the
// fish it touches, sets off a crate it reaches, and can be caught in a
// bubble, where it hangs until the bubble bursts and then flies on.
class Cannon final : public Creature {
public:
    Cannon();
    ~Cannon() override;

    void update(float dt) override;

    // Owned here; on the level's creature list and layer only while it
    // flies.
    CannonBall ball;
    // The puff at the muzzle when it fires.
    AnimatedSprite smoke;
    float reloadTimer;
    // Until the next puff of the ball's trail.
    float trailTimer = 0.0f;
    // From the shot until the ball comes down (also while it hangs in a
    // bubble).
    bool ballFlying = false;

private:
    void fire();
    void watchBall(float dt);
    void land();
    // Takes the ball off the creature list and ball and smoke off the layer.
    void putBallAway();

    Screen* ballShownOn = nullptr;
};
