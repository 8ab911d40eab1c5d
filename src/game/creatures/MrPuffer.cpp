#include "game/creatures/MrPuffer.h"

#include "engine/core/Vector2.h"
#include "game/play/Player.h"

namespace {

constexpr float SMALL_FRAME = 0.0f;
constexpr float PUFFED_FRAME = 1.0f;

// 180 pixels: close enough to frighten it.
constexpr double ALARM_DISTANCE_SQUARED = 32400.0;
// 80 pixels: its spikes reach this far.
constexpr double SPIKE_DISTANCE_SQUARED = 6400.0;
// 240 pixels: far enough away to calm down.
constexpr double CALM_DISTANCE_SQUARED = 57600.0;

constexpr float INFLATE_FROM = 20.0f;
constexpr float INFLATE_TO = 140.0f;
constexpr float INFLATE_SECONDS = 0.2f;
constexpr float DEFLATE_FROM = 140.0f;
constexpr float DEFLATE_TO = 40.0f;
constexpr float DEFLATE_SECONDS = 0.4f;

} // namespace

MrPuffer::MrPuffer()
{
    datafile.load("mrpuffer.dat");
}

void MrPuffer::resize(float from, float to, float seconds)
{
    drawWidth = from;
    drawHeight = from;
    widthTween.start(to, seconds, 0);
    heightTween.start(to, seconds, 0);
}

void MrPuffer::update(float dt)
{
    Creature::update(dt);
    if (!awake()) {
        return;
    }
    if (shrinking) {
        if (!resizing()) {
            shrinking = false;
            puffed = false;
            frame = SMALL_FRAME;
        }
        return;
    }
    if (puffed) {
        hurtPlayerOnContact(SPIKE_DISTANCE_SQUARED);
        const Player* player = fish();
        if (player != nullptr && distanceSquared(x, y, player->x, player->y) > CALM_DISTANCE_SQUARED) {
            puffed = false;
            shrinking = true;
            resize(DEFLATE_FROM, DEFLATE_TO, DEFLATE_SECONDS);
        }
        return;
    }
    if (resizing()) {
        return;
    }
    if (frame == PUFFED_FRAME) {
        puffed = true;
    } else if (touchesPlayer(ALARM_DISTANCE_SQUARED)) {
        frame = PUFFED_FRAME;
        resize(INFLATE_FROM, INFLATE_TO, INFLATE_SECONDS);
    }
}
