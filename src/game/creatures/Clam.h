#pragma once

#include "game/creatures/Creature.h"

class Treasure;

// The clam opens and shuts its shell every two seconds. The pearl inside
// shows while it is open (and only then can the fish take it), and the
// shell snaps at a fish that is close while it opens or shuts. No bubble
// can hold a clam.
class Clam final : public Creature {
public:
    Clam();

    void update(float dt) override;

    // The pearl it keeps; the level's treasure list owns it. May be null.
    void holdPickup(Treasure* pickup) { heldPickup = pickup; }
    Treasure* pickup() const { return heldPickup; }

    bool open = true;
    // Until the shell next opens or shuts.
    float toggleTimer;

private:
    void toggle();
    bool snapping() const;

    Treasure* heldPickup = nullptr;
};
