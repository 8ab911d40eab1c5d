#pragma once

#include "engine/media/AnimatedSprite.h"
#include "game/creatures/Creature.h"

class Player;
class Screen;

// A carved stone head that watches its row. When the fish swims into the row
// and nothing stands between them (rock and crates both block its gaze), it
// fires a laser bolt along the row, one bolt at a time. The statue faces
// right unless flipped; it is a wall to the fish and to pushed crates.
class Sentinel final : public Creature {
public:
    Sentinel();
    ~Sentinel() override;

    void update(float dt) override;

    // No rock and no crate in the statue's row from its own column to the
    // given one, both included.
    bool hasClearSight(int column) const;

    // The bolt; shown only while it flies.
    AnimatedSprite laser;
    bool firing = false;

private:
    void fire(const Player& player);
    void flyLaser(float dt);
    void stopLaser();

    // The screen the bolt was put on, so it can be taken off again.
    Screen* laserShownOn = nullptr;
};
