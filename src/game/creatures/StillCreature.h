#pragma once

#include "game/creatures/Creature.h"

#include <string>

// A creature that shows its picture and stays where the level put it: it
// stands in for the bosses and mini-game pieces whose own behaviour is still
// to come, so their levels can already be loaded, drawn and played around
// them. It can be trapped unless made bubble-proof, and pops like any other
// creature.
class StillCreature final : public Creature {
public:
    explicit StillCreature(const std::string& datafileName, bool proofAgainstBubbles = false);
};
