#include "game/minigames/Invader.h"

namespace {

// A wounded invader flashes half out and back twice in 0.4 seconds; a
// beaten one fades in a quarter of a second.
constexpr float BLINK_ALPHA = 64.0f;
constexpr float BLINK_RUN_SECONDS = 0.1f;
constexpr int BLINK_REPEATS = 3;
constexpr float FADE_SECONDS = 0.25f;
constexpr float OPAQUE = 255.0f;

} // namespace

Invader::Invader(const std::string& pictures, int hitPoints)
    : hitPoints(hitPoints)
{
    datafile.load(pictures);
    bubbleProof = true;
    // The pictures face left; the formation faces the fish on the right.
    flipH = true;
}

bool Invader::wound()
{
    if (beaten()) {
        return false;
    }
    --hitPoints;
    alpha = OPAQUE;
    if (beaten()) {
        alphaTween.pingPong = false;
        alphaTween.start(0.0f, FADE_SECONDS, 0);
        return true;
    }
    alphaTween.pingPong = true;
    alphaTween.start(BLINK_ALPHA, BLINK_RUN_SECONDS, BLINK_REPEATS);
    return false;
}

bool Invader::blinking() const
{
    return !beaten() && alphaTween.active;
}
