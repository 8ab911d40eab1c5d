#include "game/creatures/StillCreature.h"

StillCreature::StillCreature(const std::string& datafileName, bool proofAgainstBubbles)
{
    // Some mini-game objects draw nothing of their own.
    if (!datafileName.empty()) {
        datafile.load(datafileName);
    }
    bubbleProof = proofAgainstBubbles;
}
