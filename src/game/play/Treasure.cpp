#include "game/play/Treasure.h"

#include "engine/core/DebugLog.h"

#include <string>

namespace {

constexpr int CENTRED = 1;
// Treasure lies on the sea bed, behind the creatures that swim over it.
constexpr int LIES_BEHIND = -400;
// A chest sits on the floor of its cell rather than floating in the middle.
constexpr int CHEST_DROP = 25;

} // namespace

Treasure::Treasure(int kind)
{
    if (kind < 0 || kind >= KINDS) {
        DebugLog::log("treasure: there is no kind [" + std::to_string(kind) + "], a chest is placed instead");
        kind = CHEST;
    }
    datafile.load("treasure.dat");
    frame = static_cast<float>(kind);
    alignment = CENTRED;
    depthBias = LIES_BEHIND;
    offsetY = kind == CHEST ? CHEST_DROP : 0;
}
