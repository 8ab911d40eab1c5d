#include "support/Replay.h"
#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/Screen.h"
#include "game/app/Game.h"
#include "game/app/ProgressFile.h"
#include "game/play/InGameController.h"
#include "game/play/LevelSelectController.h"
#include "game/play/PowerupShopController.h"
#include "support/LogLines.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string RUN_DIR = TIDEWANDER_RUN_DIR;
const std::string RECORDINGS = TIDEWANDER_RECORDINGS_DIR;

// The real game on a screen in memory, with the shipped levels, artwork and
// sounds linked into a scratch folder that takes its profile and log.
class ReplayGame : public Game {
public:
    ReplayGame()
    {
        DebugLog::setFatalMode(false);
        screen = new Screen(800, 600, false, true);
        screen->layers.resize(5);
        screen->layers[0].followCamera = false;
        screen->layers[4].followCamera = false;
        DatafileManager::setDirectory("dat/");
        registerController(&inGame);
        registerController(&shop);
        registerController(&map);
        currentProfile = "replay";
    }

    ~ReplayGame() override
    {
        popAllStates();
        collectGarbage();
    }

    // No one answers prompts in a replay.
    bool confirm(const std::string&) override { return false; }

    InGameController inGame { this };
    PowerupShopController shop { this };
    LevelSelectController map { this };
};

void releaseAllKeys()
{
    for (int code = 0; code < KEY_MAX; ++code) {
        key[code] = 0;
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
    // Error reports in the log; in the shipped game each one would have
    // ended it.
    std::vector<std::string> errors;
};

Outcome play(const Replay& replay)
{
    ScratchDir scratch;
    startFreshLog();
    for (const char* folder : { "dat", "lvl", "sfx", "mus" }) {
        ::symlink((RUN_DIR + "/" + folder).c_str(), folder);
    }
    ::mkdir("profiles", 0777);
    releaseAllKeys();

    ReplayGame game;
    std::srand(replay.seed);
    game.currentLevel = replay.level;
    game.jumpState("inGame");

    Outcome outcome;
    size_t next = 0;
    for (int frame = 0; frame < replay.frames && outcome.finishedAt < 0; ++frame) {
        while (next < replay.events.size() && replay.events[next].frame <= frame) {
            key[replay.events[next].keyCode] = replay.events[next].down ? 1 : 0;
            ++next;
        }
        game.frame(1);
        if (game.highestLevel > replay.level) {
            outcome.finishedAt = frame;
        }
    }
    releaseAllKeys();
    ProgressFile saved;
    if (saved.load(game.progressPath()) == ProgressFile::Result::Loaded) {
        outcome.savedHighestLevel = saved.highestLevel;
    }
    for (const std::string& line : logLines()) {
        if (line.rfind("datafile [", 0) == 0 || line.rfind("Could not load", 0) == 0
            || line.rfind("Can't load", 0) == 0) {
            outcome.errors.push_back(line);
        }
    }
    return outcome;
}

// One test per recording, named after its file.
class RecordingTest : public ::testing::TestWithParam<std::string> { };

TEST_P(RecordingTest, PlaysThroughItsLevel)
{
    Replay replay;
    ASSERT_TRUE(replay.load(GetParam())) << replay.error;
    Outcome outcome = play(replay);
    if (replay.expect == "complete") {
        EXPECT_GE(outcome.finishedAt, 0) << "level " << replay.level << " was not finished in "
                                         << replay.frames * Replay::FRAME_SECONDS << " seconds";
        EXPECT_GT(outcome.savedHighestLevel, replay.level) << "the finished level is not in the profile";
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
}

} // namespace
