#include "game/creatures/StillCreature.h"

StillCreature::StillCreature(const std::string& datafileName, bool proofAgainstBubbles)
{
    datafile.load(datafileName);
    bubbleProof = proofAgainstBubbles;
}
