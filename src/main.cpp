// Program entry: read the command line, find the game's folders, then one
// game, started, run until the player quits, shut down.
#include "engine/core/Folders.h"
#include "game/app/CommandLine.h"
#include "game/app/Game.h"
#include "game/play/Replay.h"
#include "levels/LevelCompiler.h"
#include "levels/LevelFile.h"
#include "levels/LevelRules.h"
#include "levels/LevelValidator.h"

#include <allegro.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string runningProgram(const char* argv0)
{
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length > 0) {
        return std::string(path, static_cast<size_t>(length));
    }
    return argv0 != nullptr ? argv0 : "tidewander";
}

std::string absolute(const std::string& folder)
{
    if (folder.empty() || folder.front() == '/') {
        return folder;
    }
    char here[PATH_MAX];
    if (getcwd(here, sizeof here) == nullptr) {
        return folder;
    }
    return std::string(here) + "/" + folder;
}

std::string canonical(const std::string& folder)
{
    char resolved[PATH_MAX];
    return realpath(folder.c_str(), resolved) != nullptr ? std::string(resolved) : folder;
}

// Moves into the data folder and points the writable files at theirs;
// false, with the reason on stderr, when either cannot be used.
bool settleFolders(const CommandLine& options, const char* argv0)
{
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    Folders::Choice choice = Folders::choose(
        options.dataFolder, runningProgram(argv0), xdg != nullptr ? xdg : "", home != nullptr ? home : "");
    if (!choice.problem.empty()) {
        std::fprintf(stderr, "tidewander: %s\n", choice.problem.c_str());
        return false;
    }
    std::string writable = absolute(choice.writable);
    if (!Folders::makeFolders(writable)) {
        std::fprintf(
            stderr, "tidewander: cannot make the folder %s for settings and saves\n", writable.c_str());
        return false;
    }
    if (!choice.data.empty()) {
        std::string data = canonical(choice.data);
        if (chdir(data.c_str()) != 0) {
            std::fprintf(stderr, "tidewander: cannot enter the data folder %s\n", data.c_str());
            return false;
        }
        // The run folder started from elsewhere keeps its saves at home.
        if (!writable.empty() && canonical(writable) == data) {
            writable.clear();
        }
    }
    Folders::setWritable(writable);
    return true;
}

// Reads and checks a map of the player's own by the rules of the level it
// stands in for; false, with the builder's reasons on stderr, when the game
// could not play it.
bool readOwnMap(const CommandLine& options, LevelFile& map)
{
    if (!map.load(options.mapFile)) {
        std::fprintf(stderr, "tidewander: %s: %s\n", options.mapFile.c_str(), map.error().c_str());
        return false;
    }
    LevelValidator validator(LevelRules::forLevel(options.asLevel));
    std::vector<LevelValidator::Problem> problems = validator.check(map);
    for (const LevelValidator::Problem& problem : problems) {
        std::fprintf(stderr, "tidewander: %s\n", validator.describe(problem, options.mapFile).c_str());
    }
    return problems.empty();
}

// A recording to play back: readable, and of a level the game has.
bool readRecording(const std::string& path, Replay& recording)
{
    if (!recording.load(path)) {
        std::fprintf(stderr, "tidewander: %s: %s\n", path.c_str(), recording.error.c_str());
        return false;
    }
    if (!LevelRules::exists(recording.level)) {
        std::fprintf(stderr, "tidewander: %s: there is no level %d to play\n", path.c_str(), recording.level);
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char* argv[])
{
    CommandLine options;
    if (!options.parse(std::vector<std::string>(argv + 1, argv + argc))) {
        std::fprintf(
            stderr, "tidewander: %s\n\n%s", options.error.c_str(), CommandLine::usage("tidewander").c_str());
        return 2;
    }
    if (options.help) {
        std::printf("%s", CommandLine::usage("tidewander").c_str());
        return 0;
    }
    if (options.showVersion) {
        std::printf("%s\n", CommandLine::version().c_str());
        return 0;
    }
    if (options.fps == 0) {
        if (const char* fps = std::getenv("TIDEWANDER_FPS")) {
            CommandLine fromEnvironment;
            if (fromEnvironment.parse({ "--fps", fps })) {
                options.fps = fromEnvironment.fps;
            }
        }
    }
    // The map is read before the folders change, so its path is the one
    // the player typed.
    LevelFile ownMap;
    if (!options.mapFile.empty() && !readOwnMap(options, ownMap)) {
        return 1;
    }
    Replay recording;
    if (!options.replayFile.empty() && !readRecording(options.replayFile, recording)) {
        return 1;
    }
    std::string recordFile = absolute(options.recordFile);
    if (!settleFolders(options, argc > 0 ? argv[0] : nullptr)) {
        return 1;
    }

    Game game;
    game.fullscreenOverride = options.fullscreen;
    game.frameCap = options.fps;
    if (!recordFile.empty()) {
        game.tape.armRecording(recordFile, static_cast<unsigned>(std::time(nullptr)));
    }
    if (!options.replayFile.empty()) {
        game.tape.armPlayback(recording);
        game.onlyLevel = recording.level;
    }
    if (!options.mapFile.empty()) {
        game.onlyLevel = options.asLevel;
    }
    game.fixedSteps = game.tape.armed();
    // A run of one level goes straight into it.
    if (game.onlyLevel >= 0) {
        game.firstState.clear();
    }
    game.init();
    BITMAP* ownPicture = nullptr;
    if (!options.mapFile.empty()) {
        ownPicture = LevelCompiler::picture(ownMap);
        game.ownMap = ownPicture;
    }
    if (game.onlyLevel >= 0) {
        game.currentLevel = game.onlyLevel;
        game.jumpState("inGame");
    }
    game.run();
    // The level was built from the picture when it was entered; nothing
    // reads it after the loop.
    game.ownMap = nullptr;
    if (ownPicture != nullptr) {
        destroy_bitmap(ownPicture);
    }
    game.shutdown();
    return 0;
}
END_OF_MAIN()
