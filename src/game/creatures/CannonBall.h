#pragma once

#include "game/creatures/Creature.h"

// The ball a cannon fires. It has no will of its own: its cannon sends it
// off, watches it and puts it away again. While it flies it is one of the
// level's creatures, so a bubble can catch it in mid-air.
class CannonBall final : public Creature {
public:
    CannonBall();
};
