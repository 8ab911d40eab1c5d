#pragma once

#include "game/creatures/Creature.h"

// A gull of the dry levels. It flies back and forth along its row between
// the rocks; when it sees the fish somewhere below it in its column it
// hovers for a moment, screeches, drops straight down to the ground and
// climbs back to where it was.
class Seagull final : public Creature {
public:
    Seagull();

    void update(float dt) override;

    // Set: facing and flying right.
    bool facingRight = false;
    bool diving = false;
    bool climbing = false;
    // The hover between spotting the fish and the dive.
    float diveTimer = 0.0f;
    float homeY = 0.0f;
    float diveTargetY = 0.0f;

private:
    void patrol();
    // Looks down its column for the fish; true when it saw it.
    bool spotFish();
    void dive();
    void climb();
    void flap();
    // The centre of the last open cell before rock (or the level's edge)
    // along the row, rightwards or leftwards.
    int rowEnd(bool right) const;
};
