#pragma once

#include "game/play/KeyPlayback.h"
#include "game/play/KeyRecorder.h"

#include <string>

class Player;
class Replay;

// Records the keys of one level (--record) or plays a recording back in
// place of the keyboard (--replay). Either way the level is seeded as the
// replay tests seed it and played in whole 10 ms frames, so what is
// recorded here plays back the same there, and the other way round.
class LevelTape {
public:
    void armRecording(const std::string& file, unsigned seed);
    void armPlayback(const Replay& replay);
    bool armed() const { return recordArmed || replay != nullptr; }

    // The level is about to be built: the first time, the random numbers
    // are seeded and the frames counted from here; a restart of the same
    // level goes on counting.
    void levelStarting(int level);
    // Before each update; false once a recording played back has run its
    // length.
    bool beforeUpdate();
    void afterUpdate(const Player* fish);
    void levelFinished(int level);
    // The level was left unfinished (a menu, a quit): what was recorded is
    // written all the same.
    void levelLeft();

private:
    void writeRecording(bool complete);

    std::string recordFile;
    unsigned recordSeed = 0;
    bool recordArmed = false;
    bool recording = false;
    KeyRecorder recorder;

    const Replay* replay = nullptr;
    bool playing = false;
    KeyPlayback keys;

    int frame = -1;
    bool fishWasDead = false;
};
