#pragma once

#include "game/creatures/Creature.h"

class Game;

// The crab walks its ledge from one edge to the other, resting a while at
// each end. Its claws still pinch from inside a bubble, and they reach up to
// a fish hopping over it on dry land.
class Crab final : public Creature {
public:
    Crab();

    void update(float dt) override;

    // Set: the next walk goes left; clear: right.
    bool walkingLeft = true;
    // The rest before the next walk; 0 while walking.
    float waitTimer;

private:
    void walk();
    // The centre of the last cell of the ledge in the walking direction.
    int ledgeEnd() const;
    // Floor under the cell and nothing in it.
    static bool onLedge(const Game& game, int column, int row);
};
