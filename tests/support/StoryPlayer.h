#pragma once

#include "game/play/KeyPlayback.h"
#include "game/play/Replay.h"

#include <functional>
#include <string>
#include <vector>

class ReplayGame;

// Plays the game as a player would, a frame at a time with keys in key[]:
// taps through the screens between levels, and in the story levels plays
// each level's recording (levelNN.txt) from the moment the level is entered,
// with its seed given to the random generator then, as the level replays do.
// The game moves from one level to the next by itself; the 100 % award in
// between is dismissed with a key once it takes one.
class StoryPlayer {
public:
    static constexpr int STORY_LEVELS = 50;

    enum class Stop {
        NONE,
        END_OF_GAME, // the last level is done and the end screen is up
        LAST_WANTED, // the level asked to stop after is done
        NO_RECORDING, // the next level has no recording yet
        BAD_RECORDING, // its recording cannot be read
        STUCK, // a recording ran out before its level was finished
        LOST // the game went somewhere a player playing on would not
    };

    StoryPlayer(ReplayGame& game, const std::string& recordingsFolder);
    ~StoryPlayer();
    StoryPlayer(const StoryPlayer&) = delete;
    StoryPlayer& operator=(const StoryPlayer&) = delete;

    // One frame of the game, with the keys the level's recording has due.
    void frame();
    void run(float seconds);
    // Frames until the test holds, for at most the given time; false when
    // it never did.
    bool runUntil(const std::function<bool()>& test, float seconds);
    // A key pressed and let go again, as a player taps it.
    void tap(int keyCode);

    // Plays on from the level now being entered or played until one of the
    // stops above; lastLevel ends the run once that level is done.
    Stop playLevels(int lastLevel = STORY_LEVELS - 1);

    std::string recordingPath(int level) const;

    // What the last playLevels stopped at: the level (or -1) and, for the
    // stops that are faults, what happened in words.
    int stoppedAt = -1;
    std::string report;
    // The story levels finished, in the order they were finished.
    std::vector<int> finished;

private:
    void levelEntered(int level);
    void levelFinished();
    std::string whereTheFishIs() const;

    ReplayGame& game;
    std::string folder;
    // The level whose recording is playing, -1 between levels.
    int playing = -1;
    Replay replay;
    KeyPlayback keys;
    Stop pendingStop = Stop::NONE;
    int levelFrames = 0;
    int hurts = 0;
    bool fishWasDead = false;
};
