#include "game/creatures/Clam.h"

#include "game/play/Treasure.h"

namespace {

constexpr int DRAWN_LOWER = 20;
constexpr int START_DEPTH_BIAS = -100;
// Open, the shell lies behind its pearl; shut, in front of it.
constexpr int OPEN_DEPTH_BIAS = -500;
constexpr int SHUT_DEPTH_BIAS = 40;

constexpr float TOGGLE_SECONDS = 2.0f;

// The clam's pictures run from shut (0) to wide open (10).
constexpr int SHUT_FRAME = 0;
constexpr int OPEN_FRAME = 10;
constexpr float OPENING_SECONDS = 0.5f;
constexpr float SHUTTING_SECONDS = 0.5f;
constexpr int ONCE = 0;
constexpr const char* OPENING = "open";
constexpr const char* SHUTTING = "close";

constexpr float PEARL_SHOWN = 255.0f;
constexpr float PEARL_FADE_IN_SECONDS = 0.1f;
constexpr float PEARL_HIDDEN = 0.0f;
constexpr float PEARL_FADE_OUT_SECONDS = 0.2f;

} // namespace

Clam::Clam()
    : toggleTimer(TOGGLE_SECONDS)
{
    datafile.load("clam.dat");
    bubbleProof = true;
    offsetY = DRAWN_LOWER;
    depthBias = START_DEPTH_BIAS;
    // It starts open, as its flag says.
    frame = static_cast<float>(OPEN_FRAME);
}

bool Clam::snapping() const
{
    return frameTween.active && (animationName == OPENING || animationName == SHUTTING);
}

void Clam::update(float dt)
{
    Creature::update(dt);
    if (!awake()) {
        return;
    }
    toggleTimer -= dt;
    if (toggleTimer < 0.0f) {
        toggle();
    }
    if (snapping()) {
        hurtPlayerOnContact();
    }
}

void Clam::toggle()
{
    open = !open;
    // A pearl the fish has taken is gone: its own fade after the pickup
    // takes it out of sight, and the shell never brings it back.
    bool pearlLeft = heldPickup != nullptr && !heldPickup->collected;
    if (open) {
        depthBias = OPEN_DEPTH_BIAS;
        if (pearlLeft) {
            heldPickup->alphaTween.start(PEARL_SHOWN, PEARL_FADE_IN_SECONDS, 0);
        }
        playAnimation(OPENING, SHUT_FRAME, OPEN_FRAME, OPENING_SECONDS, ONCE, false, 0.0f);
    } else {
        depthBias = SHUT_DEPTH_BIAS;
        if (pearlLeft) {
            heldPickup->alphaTween.start(PEARL_HIDDEN, PEARL_FADE_OUT_SECONDS, 0);
        }
        playAnimation(SHUTTING, OPEN_FRAME, SHUT_FRAME, SHUTTING_SECONDS, ONCE, false, 0.0f);
    }
    toggleTimer = TOGGLE_SECONDS;
}
