#include "game/play/Replay.h"
#include "engine/core/GameState.h"
#include "game/app/ProgressFile.h"
#include "game/creatures/Creature.h"
#include "game/play/KeyPlayback.h"
#include "game/play/Player.h"
#include "support/ReplayGame.h"
#include "support/ScratchDir.h"
#include "support/TextFiles.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string RUN_DIR = TIDEWANDER_RUN_DIR;
// A recording's hurt may come a tenth of a second either side of its time;
// the level must start again within three seconds of it.
constexpr int HURT_TOLERANCE_FRAMES = 10;
constexpr int RESTART_WITHIN_FRAMES = 300;
const std::string RECORDINGS = TIDEWANDER_RECORDINGS_DIR;
constexpr int FIRST_MINI_GAME = 1000;

// What a won mini-game pays into the profile: it keeps no rating or
// highest level, so its coins are how a replay knows it was won.
int miniGamePrize(int level)
{
    switch (level) {
    case 1000:
        return 5;
    case 1001:
        return 15;
    case 1002:
        return 25;
    case 1003:
        return 40;
    default:
        return -1;
    }
}

std::vector<std::string> recordings()
{
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(RECORDINGS)) {
        if (entry.path().extension() == ".txt") {
            files.push_back(entry.path().string());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

struct Outcome {
    int finishedAt = -1; // the frame the level was finished in, -1 for never
    int savedHighestLevel = -1; // as the profile's file has it afterwards
    int coinsBefore = -1; // the profile's coins as the level began
    int savedCoins = -1; // and as its file has them afterwards
    bool backAtTitle = false; // the title was the only screen when it finished
    std::vector<int> hurts; // the frames in which the fish was hurt
    std::vector<int> restarts; // the frames in which the level began again
    int sharkAheadAt = -1; // the first frame a shark was level with or past the fish
    // Error reports in the log; in the shipped game each one would have
    // ended it.
    std::vector<std::string> errors;
};

Outcome play(const Replay& replay)
{
    ScratchDir scratch;
    linkGameData(RUN_DIR);
    releaseAllKeys();

    ReplayGame game;
    std::srand(replay.seed);
    game.currentLevel = replay.level;
    game.jumpState("inGame");

    Outcome outcome;
    outcome.coinsBefore = game.coins;
    KeyPlayback keys(replay);
    bool fishWasDead = false;
    for (int frame = 0; frame < replay.frames && outcome.finishedAt < 0; ++frame) {
        keys.applyUpTo(frame);
        game.frame(1);
        game.trace(frame);
        // A won mini-game moves the current level on and goes back to the
        // title; a story level raises the highest level.
        const bool finished = replay.level >= FIRST_MINI_GAME ? game.currentLevel > replay.level
                                                              : game.highestLevel > replay.level;
        if (finished) {
            outcome.finishedAt = frame;
            outcome.backAtTitle = game.stateStack.size() == 1 && game.stateStack.back()->name == "title";
        }
        // A restart builds a new fish, which may well live where the old
        // one did: it is known by being alive again.
        const Player* fish = game.player;
        if (fish == nullptr) {
            continue;
        }
        if (fish->dead && !fishWasDead) {
            outcome.hurts.push_back(frame);
        } else if (!fish->dead && fishWasDead) {
            outcome.restarts.push_back(frame);
        }
        fishWasDead = fish->dead;
        for (const Creature* creature : game.creatures) {
            if (!fish->dead && outcome.sharkAheadAt < 0 && creature->visible
                && creature->datafile.name == "dat/sharky.dat" && creature->x >= fish->x) {
                outcome.sharkAheadAt = frame;
            }
        }
    }
    releaseAllKeys();
    ProgressFile saved;
    if (saved.load(game.progressPath()) == ProgressFile::Result::Loaded) {
        outcome.savedHighestLevel = saved.highestLevel;
        outcome.savedCoins = saved.coins;
    }
    outcome.errors = errorReports();
    return outcome;
}

std::string seconds(int frame)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f s", frame * Replay::FRAME_SECONDS);
    return text;
}

// One test per recording, named after its file.
class RecordingTest : public ::testing::TestWithParam<std::string> { };

TEST_P(RecordingTest, PlaysThroughItsLevel)
{
    Replay replay;
    ASSERT_TRUE(replay.load(GetParam())) << replay.error;
    Outcome outcome = play(replay);
    if (replay.expectComplete) {
        EXPECT_GE(outcome.finishedAt, 0) << "level " << replay.level << " was not finished in "
                                         << replay.frames * Replay::FRAME_SECONDS << " seconds";
        if (replay.level >= FIRST_MINI_GAME) {
            EXPECT_TRUE(outcome.backAtTitle) << "a won mini-game goes back to the title";
            EXPECT_EQ(outcome.coinsBefore + miniGamePrize(replay.level), outcome.savedCoins)
                << "the profile does not hold the mini-game's prize";
        } else {
            EXPECT_GT(outcome.savedHighestLevel, replay.level) << "the finished level is not in the profile";
        }
    }

    // Each hurt the recording expects, give or take a tenth of a second, is
    // followed by the level starting again; any other hurt is a fault.
    std::vector<int> unexpected = outcome.hurts;
    for (int expected : replay.expectedHurts) {
        auto seen = std::find_if(unexpected.begin(), unexpected.end(),
            [expected](int frame) { return std::abs(frame - expected) <= HURT_TOLERANCE_FRAMES; });
        if (seen == unexpected.end()) {
            ADD_FAILURE() << "the fish was not hurt at " << seconds(expected);
            continue;
        }
        int hurtAt = *seen;
        unexpected.erase(seen);
        bool restarted = std::any_of(outcome.restarts.begin(), outcome.restarts.end(),
            [hurtAt](int frame) { return frame > hurtAt && frame <= hurtAt + RESTART_WITHIN_FRAMES; });
        EXPECT_TRUE(restarted) << "the level did not start again after the fish was hurt at "
                               << seconds(hurtAt);
    }
    for (int frame : unexpected) {
        ADD_FAILURE() << "the fish was hurt at " << seconds(frame) << ", which the recording does not expect";
    }
    if (replay.expectChased) {
        EXPECT_LT(outcome.sharkAheadAt, 0)
            << "a shark drew level with the fish at " << seconds(outcome.sharkAheadAt);
    }
    EXPECT_TRUE(outcome.errors.empty())
        << outcome.errors.size()
        << " error reports, the first: " << (outcome.errors.empty() ? "" : outcome.errors.front());
}

INSTANTIATE_TEST_SUITE_P(Recordings, RecordingTest, ::testing::ValuesIn(recordings()),
    [](const ::testing::TestParamInfo<std::string>& info) {
        return std::filesystem::path(info.param).stem().string();
    });

TEST(ReplayTest, DamagedRecordingsAreRefusedWithTheLine)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        { "level x\n", "line 1: 'x' is not a number for 'level'" },
        { "level 0\n1.0 PAGEUP down\n", "line 2: unknown key 'PAGEUP'" },
        { "1.0 LEFT sideways\n", "line 1: a key goes 'down' or 'up', not 'sideways'" },
        { "2.0 LEFT down\n1.0 LEFT up\n", "line 2: times must not go backwards" },
        { "1.0 LEFT\n", "line 1: a key line is: <seconds> <key> down|up" },
        { "expect riches\n", "line 1: unknown expectation 'riches'" },
        { "expect hurt soon\n", "line 1: 'expect hurt' takes the time in seconds" },
        { "expect hurt\n", "line 1: 'expect hurt' takes the time in seconds" },
        { "expect complete now\n", "line 1: 'expect complete' takes no value" },
        { "length nan\n", "line 1: 'nan' is not a number for 'length'" },
    };
    for (const Case& c : cases) {
        Replay replay;
        EXPECT_FALSE(replay.parse(c.text)) << c.text;
        EXPECT_EQ(replay.error, c.error);
    }

    Replay replay;
    ASSERT_TRUE(replay.parse("# a comment\nlevel 3\nseed 9\n0.5 SPACE down # fire\n0.504 SPACE up\n"));
    EXPECT_EQ(replay.level, 3);
    EXPECT_EQ(replay.seed, 9u);
    ASSERT_EQ(replay.events.size(), 2u);
    EXPECT_EQ(replay.events[0].frame, 50);
    EXPECT_EQ(replay.events[1].frame, 50);
    EXPECT_EQ(replay.events[0].keyCode, KEY_SPACE);
    EXPECT_GT(replay.frames, 50) << "without a length the run lasts past the last key";

    Replay hurts;
    ASSERT_TRUE(hurts.parse("expect hurt 4.5\nexpect hurt 1.25\nexpect chased\n"));
    EXPECT_EQ(hurts.expectedHurts, (std::vector<int> { 125, 450 }));
    EXPECT_TRUE(hurts.expectChased);
    EXPECT_FALSE(hurts.expectComplete);
}

} // namespace

namespace {

// What --record writes while a player plays: the keys of a real recording
// pressed through key[] as a keyboard would, one run to the end of the
// level and one that is bitten and starts again.
std::string recordWhilePlaying(const Replay& source)
{
    ScratchDir scratch;
    linkGameData(RUN_DIR);
    releaseAllKeys();
    ReplayGame game;
    const std::string file = scratch.path() + "/mine.txt";
    game.tape.armRecording(file, source.seed);
    game.currentLevel = source.level;
    game.jumpState("inGame");
    KeyPlayback keys(source);
    for (int frame = 0; frame < source.frames && game.highestLevel <= source.level; ++frame) {
        keys.applyUpTo(frame);
        game.frame(1);
    }
    releaseAllKeys();
    // Leaving the level, as a quit does, writes what is not yet written.
    game.tape.levelLeft();
    return readFile(file);
}

} // namespace

TEST(ReplayTest, WhatThePlayerRecordsPlaysBackAsATest)
{
    for (const char* name : { "level01.txt", "level01_crab_bite.txt" }) {
        Replay source;
        ASSERT_TRUE(source.load(RECORDINGS + "/" + name)) << source.error;
        const std::string written = recordWhilePlaying(source);
        Replay recorded;
        ASSERT_TRUE(recorded.parse(written)) << recorded.error << "\n" << written;
        EXPECT_EQ(recorded.level, source.level) << name;
        EXPECT_EQ(recorded.seed, source.seed) << name;
        EXPECT_EQ(recorded.expectComplete, source.expectComplete) << name << "\n" << written;
        ASSERT_EQ(recorded.expectedHurts.size(), source.expectedHurts.size()) << name << "\n" << written;
        for (size_t i = 0; i < recorded.expectedHurts.size(); ++i) {
            EXPECT_NEAR(recorded.expectedHurts[i], source.expectedHurts[i], HURT_TOLERANCE_FRAMES) << name;
        }

        Outcome outcome = play(recorded);
        if (recorded.expectComplete) {
            EXPECT_GE(outcome.finishedAt, 0) << name << ": the recording does not finish its level\n"
                                             << written;
        }
        EXPECT_EQ(outcome.hurts.size(), recorded.expectedHurts.size()) << name;
    }
}
