#pragma once

#include "game/play/Replay.h"

#include <cstddef>

// Puts a recording's key changes into Allegro's key[] as their frames come
// due: every change at or before the given frame of the run that has not
// been made yet.
class KeyPlayback {
public:
    KeyPlayback() = default;
    explicit KeyPlayback(const Replay& replay)
        : replay(&replay)
    {
    }

    void applyUpTo(int frame);

private:
    const Replay* replay = nullptr;
    std::size_t next = 0;
};
