#pragma once

#include "game/play/LevelColours.h"
#include "game/play/LevelProperties.h"

class Creature;

// Which creature each object colour of a level picture builds. One table
// holds a constructor per kind; a kind gets its own class by changing its
// entry, and nothing else in the loader has to know.
class CreatureFactory {
public:
    using Maker = Creature* (*)(const LevelColours::Row& row);

    // A new creature for the row, with the settings the row makes from
    // outside (hanging spikes, the sentinel's facing, the explosive crate,
    // the shark's argument); nullptr for rows that place no creature (tiles,
    // the player's start, treasures). The caller owns it.
    static Creature* create(const LevelColours::Row& row);
    // The constructor of a kind; nullptr when the kind is not a creature.
    static Maker makerFor(LevelColours::Kind kind);

    // The boss a level sets up by its number rather than by its picture
    // (the squid, the big boss bird, the big shark); nullptr for NONE.
    static Creature* createBoss(LevelProperties::Boss boss);
    // The object that runs a mini-game; nullptr for NONE.
    static Creature* createMiniGame(LevelProperties::MiniGame miniGame);
};
