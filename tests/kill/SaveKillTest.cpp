// Saves that survive a kill: a writer is killed with SIGKILL at random
// moments while it saves one kind of file again and again. Whatever moment
// it dies in, each file must hold the whole old or the whole new content,
// and the game must start from what is left as if nothing had happened.
#include "engine/core/DebugLog.h"
#include "engine/media/SoundManager.h"
#include "game/app/Game.h"
#include "game/app/ProfileList.h"
#include "support/LogLines.h"
#include "support/RecordingAudioDevice.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const char* const WRITER = SAVE_WRITER;
constexpr int KILLS_PER_KIND = 150;
// Long enough for many saves to finish between kills, short enough for the
// kill to land anywhere inside one.
constexpr int LONGEST_WAIT_MICROSECONDS = 20000;

struct Kind {
    const char* name;
    const char* file;
};

const Kind KINDS[] = {
    { "settings", "settings.cfg" },
    { "volume", "volume.cfg" },
    { "profiles", "profiles.cfg" },
    { "bindings", "profiles/Kim.cfg" },
    { "progress", "profiles/Kim.dat" },
};

// Failures name the kind of file, not its bytes.
void PrintTo(const Kind& kind, std::ostream* out)
{
    *out << kind.name;
}

std::string readWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Runs the writer in the given folder; with a kill delay it is killed that
// many microseconds after it says it has begun. False when it could not be
// run or, unkilled, did not succeed.
bool runWriter(
    const std::string& folder, const std::string& kind, const std::string& mode, int killAfter = -1)
{
    int ready[2];
    if (pipe(ready) != 0) {
        return false;
    }
    pid_t child = fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        dup2(ready[1], 1);
        close(ready[0]);
        close(ready[1]);
        if (chdir(folder.c_str()) == 0) {
            execl(WRITER, WRITER, kind.c_str(), mode.c_str(), static_cast<char*>(nullptr));
        }
        _exit(127);
    }
    close(ready[1]);
    if (killAfter >= 0) {
        char first = 0;
        ssize_t got = read(ready[0], &first, 1);
        (void)got;
        usleep(static_cast<useconds_t>(killAfter));
        kill(child, SIGKILL);
    }
    close(ready[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (killAfter >= 0) {
        return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Temporary files of saves that never finished, anywhere in the folder.
std::vector<std::string> temporaries(const std::string& folder)
{
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const bool saveTemporary = name.find(".saving-") != std::string::npos;
        if (saveTemporary) {
            found.push_back(std::filesystem::relative(entry.path(), folder, error).string());
        }
    }
    return found;
}

// What the game reads at start-up, in the order it reads it, from the
// working directory.
struct StartedGame {
    StartedGame()
    {
        startFreshLog();
        game = std::make_unique<Game>();
        DebugLog::setFatalMode(false);
        game->removeStaleTemporaries();
        game->readProfiles();
        game->loadProgress();
        // A fish's actions, bound to a key neither save uses, so the test
        // sees which save the bindings came from.
        for (const char* action : { "up", "down", "left", "right", "fire" }) {
            game->bind(action, KEY_I);
        }
        game->loadBindings(game->bindingsPath());
        sound = std::make_unique<SoundManager>(std::make_unique<RecordingAudioDevice>());
    }

    std::unique_ptr<Game> game;
    std::unique_ptr<SoundManager> sound;
};

class SaveKillTest : public ::testing::TestWithParam<Kind> { };

TEST_P(SaveKillTest, EveryFileIsWholeAfterEachKillAndTheGameStartsFromIt)
{
    const Kind kind = GetParam();
    ScratchDir scratch;
    const std::string work = scratch.path() + "/work";
    std::map<char, std::string> folders = { { 'a', scratch.path() + "/a" }, { 'b', scratch.path() + "/b" } };
    for (const auto& [variant, folder] : folders) {
        std::filesystem::create_directories(folder);
    }
    std::filesystem::create_directories(work);
    // The two contents every kind of file may hold, as the writer saves them.
    std::map<std::string, std::pair<std::string, std::string>> expected;
    for (const Kind& each : KINDS) {
        ASSERT_TRUE(runWriter(folders['a'], each.name, "a")) << each.name;
        ASSERT_TRUE(runWriter(folders['b'], each.name, "b")) << each.name;
        ASSERT_TRUE(runWriter(work, each.name, "a")) << each.name;
        expected[each.file]
            = { readWhole(folders['a'] + "/" + each.file), readWhole(folders['b'] + "/" + each.file) };
        ASSERT_NE(expected[each.file].first, expected[each.file].second) << each.file;
    }

    std::mt19937 random(14);
    int switches = 0;
    std::string last = expected[kind.file].first;
    for (int kill = 0; kill < KILLS_PER_KIND; ++kill) {
        const int wait = std::uniform_int_distribution<int>(0, LONGEST_WAIT_MICROSECONDS)(random);
        ASSERT_TRUE(runWriter(work, kind.name, "loop", wait)) << "the writer did not die of the kill";
        for (const Kind& each : KINDS) {
            const std::string now = readWhole(work + "/" + each.file);
            const auto& [old, fresh] = expected[each.file];
            ASSERT_TRUE(now == old || now == fresh)
                << each.file << " is neither the old nor the new content after kill " << kill + 1 << " ("
                << now.size() << " bytes)";
        }
        const std::string now = readWhole(work + "/" + kind.file);
        switches += now != last ? 1 : 0;
        last = now;
    }
    std::printf(
        "[   KILLS  ] %s: %d kills survived, the file changed between %d of them, %zu temporary files "
        "left\n",
        kind.name, KILLS_PER_KIND, switches, temporaries(work).size());
    // Kills that never let a save finish would prove nothing.
    EXPECT_GT(switches, 0) << "no save finished between two kills";

    // The game starts from what the kills left and finds nothing damaged.
    ASSERT_EQ(0, chdir(work.c_str()));
    {
        StartedGame started;
        Game& game = *started.game;
        const float width = game.settings["resx"];
        EXPECT_TRUE(width == 800.0f || width == 640.0f) << "resx " << width;
        EXPECT_TRUE(started.sound->sfxVolume == 200 || started.sound->sfxVolume == 40)
            << started.sound->sfxVolume;
        EXPECT_EQ("Kim", game.currentProfile);
        EXPECT_TRUE(game.profiles.size() == 1 || game.profiles.size() == 3) << game.profiles.size();
        EXPECT_TRUE(game.coins == 25 || game.coins == 480) << game.coins;
        const int up = game.firstCode("up");
        EXPECT_TRUE(up == KEY_UP || up == KEY_W) << up;
        for (const std::string& line : logLines()) {
            EXPECT_EQ(std::string::npos, line.find("damaged")) << line;
            EXPECT_EQ(std::string::npos, line.find("Could not")) << line;
            EXPECT_EQ(std::string::npos, line.find(".bad")) << line;
        }
    }
    const std::vector<std::string> left = temporaries(work);
    ASSERT_EQ(0, chdir(scratch.path().c_str()));
    EXPECT_TRUE(left.empty()) << "the game started, but left " << left.size()
                              << " temporary files of the killed saves (first: "
                              << (left.empty() ? "" : left.front()) << ")";
}

INSTANTIATE_TEST_SUITE_P(EachKindOfFile, SaveKillTest, ::testing::ValuesIn(KINDS),
    [](const ::testing::TestParamInfo<Kind>& info) { return std::string(info.param.name); });

} // namespace
