#pragma once

#include "game/creatures/Creature.h"

// The puffer fish blows itself up into a spiky ball when the fish comes
// near, is dangerous while puffed, and shrinks back once the fish has
// kept its distance for a while. Harmless while small.
class MrPuffer final : public Creature {
public:
    MrPuffer();

    void update(float dt) override;

    bool puffed = false;
    bool shrinking = false;

private:
    bool resizing() const { return widthTween.active || heightTween.active; }
    void resize(float from, float to, float seconds);
};
