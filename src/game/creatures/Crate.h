#pragma once

#include "game/creatures/Creature.h"

// A wooden crate filling its cell. Creatures and laser bolts cannot pass it
// and the fish pushes it about one cell at a time. The explosive kind blows
// up when a cannon-ball strikes it, hurting a fish close by and wounding the
// big shark if it is right there.
class Crate final : public Creature {
public:
    Crate();

    // Turns a plain crate into an explosive one, with its own pictures.
    void setExplosive();
    bool isExplosive() const { return explosive; }

    // Only an explosive crate reacts: it blows up, once.
    void hit() override;
    void bubblePopped() override { hit(); }

private:
    void woundBigSharks(const Bounds& blast);

    bool explosive = false;
};
