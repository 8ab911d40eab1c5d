#pragma once

#include "engine/media/AnimatedSprite.h"
#include "game/creatures/Creature.h"

// The eel patrols its row and every few seconds stops to charge itself: it
// crackles with a flashing glow for a moment, during which no bubble can
// hold it and anything touching its body is shocked. Between charges it
// bites what comes near, unless a bubble holds it.
class Eel final : public Creature {
public:
    Eel();

    // The glow faces the way the eel does.
    void draw(BITMAP* target) override;
    void update(float dt) override;

    // The crackling glow, drawn over the eel; see-through between charges.
    AnimatedSprite glow;
    // 0 or 1: the next patrol move goes left or right.
    int patrolStep = 0;
    bool charging = false;
    // Until the next charge; 0 while charging.
    float chargeTimer;

private:
    void patrol();
    void charge();
    void hurtOnContact();
    // The fish's picture overlaps the eel's body (its picture less a small
    // margin all round).
    bool bodyTouchesFish();
};
