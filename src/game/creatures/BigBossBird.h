#pragma once

#include "game/creatures/Boss.h"

// The big boss bird of the beach. It hovers at one end of its flight row,
// throws a gust of wind down across the sand, and crosses to the other end.
// When it sees the fish below it on the way it stops, screeches and dives
// straight down to the ground; spikes waiting down there hurt it as it
// climbs back. Three such dives beat it, and the beaten bird brings the
// level's chest out to the fish.
class BigBossBird final : public Boss {
public:
    // What the bird is doing; the numbers are the order the fight was
    // designed in, not the order they come in.
    enum State {
        HOVER = 0,
        CROSS = 1,
        DIVE = 2,
        SPOT = 3,
        CLIMB = 4,
        THROW = 5,
    };

    BigBossBird();

    // Back to the right end of its row, about to throw its first gust.
    void reset() override;
    void update(float dt) override;

    // Leaves whatever it was doing and starts the given state.
    void setState(int next);
    // How fast it crosses and throws: quicker with every hit point it has
    // lost.
    float birdSpeed() const;

    int state = HOVER;
    // Counts down the hover, the throw and the moment it spots the fish.
    float stateTimer = 0.0f;
    // Set while it is at (or heading for) the left end of its row, where it
    // faces right.
    bool leftSide = false;
    // It has dived since it last hovered: one dive per crossing.
    bool dived = false;
    // The height it dived from and climbs back to.
    float cruiseY = 0.0f;

private:
    // What the state waits for: its time to run out or its move to end.
    void wait(float dt);
    void countDown(float dt, int next);
    void startFlapping();
    void stopMoving();
    void throwGust();
    // The fish somewhere below it in its column, with no rock between.
    bool seesFishBelow() const;
    // The centre of the last open cell above the first rock of its column
    // (or above the bottom of the level).
    float groundY() const;
    // Spikes close enough to wound it.
    bool nearSpikes() const;
    void takeHit();
    void bringChest();
};
