#pragma once

#include "game/creatures/Creature.h"

// What the five bosses share: hit points shown on the boss bar, the blink
// of a boss that takes a hit, and the fade of a beaten one. No boss ever
// goes into a bubble; each is beaten by turning its level against it.
class Boss : public Creature {
public:
    explicit Boss(int maxHitPoints);

    bool defeated() const { return hitPoints <= 0; }

    const int maxHitPoints;
    int hitPoints;

protected:
    // Puts this boss on the boss bar: the bar shows whichever boss told it
    // last, and 0 once that boss is beaten.
    void publishHitPoints() const;
    // Flashes out and back in, runs of the given length; most bosses take
    // no further hits until it is over.
    void blink(float runSeconds = DEFAULT_BLINK_SECONDS, int repeats = DEFAULT_BLINK_REPEATS);
    bool blinking() const;
    // From full sight to nothing over a second, once.
    void fadeOut();

    static constexpr float DEFAULT_BLINK_SECONDS = 0.1f;
    static constexpr int DEFAULT_BLINK_REPEATS = 3;

private:
    bool fading = false;
};
