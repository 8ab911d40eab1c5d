#include "game/play/KeyPlayback.h"

#include <allegro.h>

void KeyPlayback::applyUpTo(int frame)
{
    if (replay == nullptr) {
        return;
    }
    while (next < replay->events.size() && replay->events[next].frame <= frame) {
        const Replay::KeyEvent& event = replay->events[next];
        key[event.keyCode] = event.down ? 1 : 0;
        ++next;
    }
}
