#include "game/play/LevelTape.h"

#include "engine/core/DebugLog.h"
#include "engine/core/SafeFile.h"
#include "game/play/Player.h"
#include "game/play/Replay.h"

#include <cstdlib>

void LevelTape::armRecording(const std::string& file, unsigned seed)
{
    recordFile = file;
    recordSeed = seed;
    recordArmed = true;
}

void LevelTape::armPlayback(const Replay& recording)
{
    replay = &recording;
}

void LevelTape::levelStarting(int level)
{
    if (recording || playing) {
        return;
    }
    if (recordArmed) {
        recordArmed = false;
        recording = true;
        recorder.start(level, recordSeed);
        std::srand(recordSeed);
        DebugLog::log("Recording the keys of level [" + std::to_string(level) + "]");
    } else if (replay != nullptr) {
        playing = true;
        keys = KeyPlayback(*replay);
        std::srand(replay->seed);
        DebugLog::log("Playing back a recording of level [" + std::to_string(replay->level) + "]");
    } else {
        return;
    }
    frame = -1;
    fishWasDead = false;
}

bool LevelTape::beforeUpdate()
{
    if (!recording && !playing) {
        return true;
    }
    ++frame;
    if (playing) {
        if (frame >= replay->frames) {
            DebugLog::log("The recording has ended");
            playing = false;
            replay = nullptr;
            return false;
        }
        keys.applyUpTo(frame);
    }
    if (recording) {
        recorder.sample(frame);
    }
    return true;
}

void LevelTape::afterUpdate(const Player* fish)
{
    if (!recording || fish == nullptr) {
        return;
    }
    if (fish->dead && !fishWasDead) {
        recorder.hurt(frame);
    }
    fishWasDead = fish->dead;
}

void LevelTape::levelFinished(int level)
{
    if (recording && level == recorder.level) {
        writeRecording(true);
    }
    if (playing) {
        DebugLog::log("The recording finished level [" + std::to_string(level) + "]");
    }
}

void LevelTape::levelLeft()
{
    if (recording) {
        writeRecording(false);
    }
}

void LevelTape::writeRecording(bool complete)
{
    recording = false;
    if (SafeFile::write(recordFile, recorder.text(complete))) {
        DebugLog::log("Recorded level [" + std::to_string(recorder.level) + "] into [" + recordFile + "]");
    } else {
        DebugLog::log("Could not write the recording [" + recordFile + "]");
    }
}
