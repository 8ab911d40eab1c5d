#pragma once

#include "game/creatures/Creature.h"

#include <string>

// A creature for tests that shows its picture and stays where it is put:
// enough to stand in a level's lists, block a row or be trapped, without
// the habits of any kind.
class StillCreature final : public Creature {
public:
    explicit StillCreature(const std::string& datafileName, bool proofAgainstBubbles = false)
    {
        if (!datafileName.empty()) {
            datafile.load(datafileName);
        }
        bubbleProof = proofAgainstBubbles;
    }
};
