#pragma once

#include "engine/media/AnimatedSprite.h"

#include <vector>

class Creature;
class Screen;

// The bubble the fish blows: one flies at a time, glides ahead while it
// fades, and shuts the first creature it touches inside a bubble of its own.
// The fish owns it; while it flies it is shown on the top play layer.
class Bubble : public AnimatedSprite {
public:
    static constexpr int LAYER = 3;
    static constexpr float TRAP_SECONDS = 5.0f;

    Bubble();
    ~Bubble() override;

    // Starts a flight from (fromX, fromY) towards targetX on the same row.
    // Shown on the screen's bubble layer when there is one.
    void launch(float fromX, float fromY, int targetX, float speed, float fadeSeconds, Screen* shownOn);
    // Traps the first visible creature, in list order, that can be trapped
    // and is within its trap radius; the flight ends there. Returns it, or
    // null when the bubble touched nobody.
    Creature* hitTest(const std::vector<Creature*>& creatures);
    void land();
    bool faded() const { return alpha <= 0.0f; }
    // Whether a screen layer moves and draws it; otherwise the fish does.
    bool onScreen() const { return screenShownOn != nullptr; }

    // Hangs still while the level is frozen, like everything else in it.
    void update(float dt) override;

    bool inFlight = false;

private:
    Screen* screenShownOn = nullptr;
};
