#include "support/StoryPlayer.h"

#include "game/creatures/Creature.h"
#include "game/play/Player.h"
#include "game/play/Treasure.h"
#include "support/ReplayGame.h"

#include <allegro.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

// A tap holds a key for five frames and leaves it up for five more, slow
// enough for every screen to see both edges.
constexpr int TAP_FRAMES = 5;
// Between two levels only the award waits for a key; anything longer than
// this without a level means the game went somewhere else.
constexpr int BETWEEN_LEVELS_FRAMES = 1000;
// A recording whose level is not even running any more (the title came
// instead, say) is given this much beyond its length before it counts as
// stuck.
constexpr int LEVEL_GONE_FRAMES = 100;

std::string seconds(int frames)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", frames * Replay::FRAME_SECONDS);
    return text;
}

} // namespace

StoryPlayer::StoryPlayer(ReplayGame& game, const std::string& recordingsFolder)
    : game(game)
    , folder(recordingsFolder)
{
    game.inGame.beforeEntry = [this](int level) { levelEntered(level); };
}

StoryPlayer::~StoryPlayer()
{
    game.inGame.beforeEntry = nullptr;
    releaseAllKeys();
}

std::string StoryPlayer::recordingPath(int level) const
{
    char name[32];
    std::snprintf(name, sizeof name, "level%02d.txt", level);
    return (std::filesystem::path(folder) / name).string();
}

void StoryPlayer::levelEntered(int level)
{
    // A restart after a hurt: the recording runs on, as it does alone.
    if (level == playing) {
        return;
    }
    if (playing >= 0) {
        levelFinished();
    }
    // A player lets go of the keys between levels, and a recording starts
    // with every key up.
    releaseAllKeys();
    if (level < 0 || level >= STORY_LEVELS) {
        return;
    }
    const std::string path = recordingPath(level);
    Replay next;
    if (!std::filesystem::exists(path)) {
        pendingStop = Stop::NO_RECORDING;
        stoppedAt = level;
        report = "level " + std::to_string(level) + " has no recording yet (" + path + ")";
        return;
    }
    if (!next.load(path)) {
        pendingStop = Stop::BAD_RECORDING;
        stoppedAt = level;
        report = path + ": " + next.error;
        return;
    }
    replay = next;
    keys = KeyPlayback(replay);
    // The seed goes in before the level draws its first random number, as
    // the level's own replay does it.
    std::srand(replay.seed);
    playing = level;
    game.inGame.updates = 0;
    levelFrames = 0;
    hurts = 0;
    fishWasDead = false;
}

void StoryPlayer::levelFinished()
{
    finished.push_back(playing);
    playing = -1;
}

void StoryPlayer::frame()
{
    if (playing >= 0) {
        keys.applyUpTo(game.inGame.updates);
        ++levelFrames;
    }
    game.frame(1);
    if (playing < 0) {
        return;
    }
    game.trace(game.inGame.updates - 1);
    // Finished with the award to follow: the level stays underneath it.
    if (game.currentLevel != playing) {
        levelFinished();
        releaseAllKeys();
        return;
    }
    const bool dead = game.player != nullptr && game.player->dead;
    if (dead && !fishWasDead) {
        ++hurts;
    }
    if (game.player != nullptr) {
        fishWasDead = dead;
    }
}

void StoryPlayer::run(float time)
{
    const int frames = static_cast<int>(std::lround(time / Replay::FRAME_SECONDS));
    for (int i = 0; i < frames; ++i) {
        frame();
    }
}

bool StoryPlayer::runUntil(const std::function<bool()>& test, float time)
{
    const int frames = static_cast<int>(std::lround(time / Replay::FRAME_SECONDS));
    for (int i = 0; i < frames; ++i) {
        if (test()) {
            return true;
        }
        frame();
    }
    return test();
}

void StoryPlayer::tap(int keyCode)
{
    key[keyCode] = 1;
    for (int i = 0; i < TAP_FRAMES; ++i) {
        frame();
    }
    key[keyCode] = 0;
    for (int i = 0; i < TAP_FRAMES; ++i) {
        frame();
    }
}

std::string StoryPlayer::whereTheFishIs() const
{
    std::string where;
    if (const Player* fish = game.player) {
        char text[160];
        std::snprintf(text, sizeof text, "the fish was at (%.0f, %.0f), in cell (%d, %d)%s", fish->x, fish->y,
            Creature::cellOf(fish->x), Creature::cellOf(fish->y), fish->dead ? ", dead" : "");
        where = text;
        int chests = 0;
        int chestsLeft = 0;
        for (const Treasure* treasure : game.treasures) {
            if (treasure != nullptr && treasure->kind() == Treasure::CHEST) {
                ++chests;
                chestsLeft += treasure->alpha > 0.0f ? 1 : 0;
            }
        }
        where += "; " + std::to_string(chestsLeft) + " of " + std::to_string(chests) + " chests still to get";
        if (game.coinsRequired > 0) {
            where += ", " + std::to_string(fish->levelCoins) + " of " + std::to_string(game.coinsRequired)
                + " coins";
        }
    } else {
        where = "there was no fish";
    }
    where += "; hurt " + std::to_string(hurts) + (hurts == 1 ? " time" : " times")
        + "; the screen on top was '" + game.topState() + "'";
    return where;
}

StoryPlayer::Stop StoryPlayer::playLevels(int lastLevel)
{
    // A level entered before the call (by the tap on the map) may already
    // have set a stop; it is kept until it is returned.
    int idle = 0;
    for (;;) {
        if (!finished.empty() && finished.back() == lastLevel && lastLevel < STORY_LEVELS - 1) {
            stoppedAt = lastLevel;
            return Stop::LAST_WANTED;
        }
        if (pendingStop != Stop::NONE) {
            const Stop stop = pendingStop;
            pendingStop = Stop::NONE;
            return stop;
        }
        const std::string top = game.topState();
        if (top == "eog") {
            return Stop::END_OF_GAME;
        }
        if (playing >= 0) {
            idle = 0;
            if (game.inGame.updates >= replay.frames || levelFrames >= replay.frames + LEVEL_GONE_FRAMES) {
                stoppedAt = playing;
                report = "level " + std::to_string(playing) + " (" + recordingPath(playing) + ", seed "
                    + std::to_string(replay.seed) + ") was not finished in the " + seconds(replay.frames)
                    + " of its recording: " + whereTheFishIs();
                return Stop::STUCK;
            }
            frame();
            continue;
        }
        if (++idle > BETWEEN_LEVELS_FRAMES) {
            stoppedAt = finished.empty() ? -1 : finished.back();
            report = "after level " + std::to_string(stoppedAt) + " the game stayed on the '" + top
                + "' screen instead of going on";
            return Stop::LOST;
        }
        // The award takes a key once its lock has run out.
        if (top == "100%" && game.inputLock == 0.0f) {
            tap(KEY_ENTER);
            continue;
        }
        frame();
    }
}
