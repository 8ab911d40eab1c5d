#include "game/creatures/Spikes.h"

#include "game/play/Player.h"

namespace {

// The picture sits 10 pixels towards the rock it grows from.
constexpr int FLOOR_DROP = 10;
constexpr int ROOF_RISE = -10;

} // namespace

Spikes::Spikes(bool hanging)
{
    datafile.load("spikes.dat");
    bubbleProof = true;
    flipV = hanging;
    reset();
}

void Spikes::reset()
{
    offsetY = flipV ? ROOF_RISE : FLOOR_DROP;
}

void Spikes::update(float dt)
{
    Creature::update(dt);
    if (!awake()) {
        return;
    }
    const Player* player = fish();
    if (player != nullptr && !player->dead && cellOf(player->x) == cellOf(x)
        && cellOf(player->y) == cellOf(y)) {
        hurtFish();
    }
}
