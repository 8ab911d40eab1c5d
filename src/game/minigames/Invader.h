#pragma once

#include "game/creatures/Creature.h"

#include <string>

// One fish of the invaders' formation. It takes a set number of bubbles to
// beat, flashes while it gets over a wound, and fades away once beaten. It
// never goes into a bubble of its own: the spawner that marches it decides
// what a bubble does to it.
class Invader final : public Creature {
public:
    Invader(const std::string& pictures, int hitPoints);

    // One bubble's worth. True when that was its last hit point: it starts
    // to fade out.
    bool wound();
    // Getting over a wound; bubbles pass it by meanwhile.
    bool blinking() const;
    bool beaten() const { return hitPoints <= 0; }
    // Beaten and faded right out.
    bool faded() const { return beaten() && alpha <= 0.0f; }

    int hitPoints;
};
