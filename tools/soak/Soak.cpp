#include "soak/Soak.h"

#include "engine/core/DebugLog.h"
#include "game/play/LevelProperties.h"
#include "soak/SoakGame.h"

#include <allegro.h>

#include <algorithm>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int FRAMES_PER_SECOND = 100;
constexpr int FRAMES_PER_MINUTE = 60 * FRAMES_PER_SECOND;
// Frames a level is given to build itself when the soak looks for the
// built ones.
constexpr int PROBE_FRAMES = 5;
// A new scene (another level, the map, the shop, a quit...) every few
// seconds, so one run sees everything many times over.
constexpr int SCENE_MIN_FRAMES = 1 * FRAMES_PER_SECOND;
constexpr int SCENE_MAX_FRAMES = 4 * FRAMES_PER_SECOND;
// Roughly one key goes down every tenth of a second and stays down up to
// half a second: enough to steer through menus and swim about.
constexpr int PRESS_ONE_IN = 10;
constexpr int LONGEST_PRESS = 50;
// What is in use goes up and down by megabytes as levels of different
// sizes come and go; the least of each stretch is what the game keeps for
// itself. That floor may rise this much between the first and the last
// fifth of a run before memory counts as never given back.
constexpr long MEMORY_SLACK_BYTES = 3L * 1024 * 1024;
constexpr double MEMORY_SLACK_SHARE = 0.25;

// Keys a player reaches for, the ones the game uses most often more than
// once; Alt is left out so that Alt+Enter never asks the missing display
// for full screen.
const int KEYS[] = { KEY_UP, KEY_UP, KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_LEFT, KEY_LEFT, KEY_RIGHT, KEY_RIGHT,
    KEY_RIGHT, KEY_RIGHT, KEY_ENTER, KEY_ENTER, KEY_ENTER, KEY_SPACE, KEY_SPACE, KEY_SPACE, KEY_ESC, KEY_ESC,
    KEY_Y, KEY_N, KEY_TAB, KEY_F1, KEY_F5, KEY_A, KEY_B, KEY_E, KEY_Q, KEY_S, KEY_W, KEY_X, KEY_Z, KEY_0,
    KEY_1, KEY_BACKSPACE, KEY_LSHIFT, KEY_LCONTROL };

// Error reports reach the player through Allegro's message box. The soak
// takes that call over (the program's own definition wins over the
// library's), so every report is counted however it was worded.
std::vector<std::string>* reportedErrors = nullptr;

// What a crash report names, kept where a signal handler can read it.
volatile long crashFrame = 0;
unsigned crashSeed = 0;

[[maybe_unused]] void onCrash(int signal)
{
    char text[160];
    int length = std::snprintf(text, sizeof text,
        "soak: the game crashed (signal %d) in frame %ld; seed %u plays it again\n", signal, crashFrame,
        crashSeed);
    if (length > 0) {
        ssize_t ignored = ::write(2, text, static_cast<size_t>(length));
        (void)ignored;
    }
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

long bytesInUse()
{
    struct mallinfo2 info = mallinfo2();
    return static_cast<long>(info.uordblks + info.hblkhd);
}

void releaseAllKeys()
{
    for (int code = 0; code < KEY_MAX; ++code) {
        key[code] = 0;
    }
    key_shifts = 0;
}

long least(const std::vector<long>& samples, size_t from, size_t to)
{
    return to > from ? *std::min_element(
               samples.begin() + static_cast<long>(from), samples.begin() + static_cast<long>(to))
                     : 0;
}

} // namespace

extern "C" void allegro_message(const char* format, ...)
{
    char text[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    if (reportedErrors != nullptr) {
        reportedErrors->push_back(text);
    } else {
        std::fprintf(stderr, "%s\n", text);
    }
}

Soak::Soak(const Options& chosen)
    : options(chosen)
    , random(chosen.seed)
    , held(KEY_MAX, 0)
{
    crashSeed = chosen.seed;
}

Soak::~Soak()
{
    game.reset();
    reportedErrors = nullptr;
    std::error_code error;
    if (!previousFolder.empty()) {
        std::filesystem::current_path(previousFolder, error);
    }
    // A failed run leaves its folder (and its debug.log) to be looked at.
    if (!folder.empty() && faults.empty()) {
        std::filesystem::remove_all(folder, error);
    }
}

bool Soak::prepareFolder()
{
    std::error_code error;
    const std::filesystem::path run = std::filesystem::absolute(options.runDir, error);
    for (const char* part : { "dat", "lvl", "sfx", "mus" }) {
        if (!std::filesystem::is_directory(run / part, error)) {
            faults.push_back("no built data in [" + (run / part).string() + "]");
            return false;
        }
    }
    std::string pattern = (std::filesystem::temp_directory_path() / "tidewander-soak-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        faults.push_back(
            "cannot make a scratch folder in " + std::filesystem::temp_directory_path().string());
        return false;
    }
    folder = pattern;
    previousFolder = std::filesystem::current_path(error).string();
    for (const char* part : { "dat", "lvl", "sfx", "mus" }) {
        std::filesystem::create_directory_symlink(run / part, std::filesystem::path(folder) / part, error);
    }
    std::filesystem::copy_file(run / "credits.txt", std::filesystem::path(folder) / "credits.txt", error);
    if (chdir(folder.c_str()) != 0) {
        faults.push_back("cannot work in [" + folder + "]");
        return false;
    }
    return true;
}

bool Soak::run()
{
    std::vector<std::string> reports;
    reportedErrors = &reports;
    if (!prepareFolder()) {
        return false;
    }
#if !defined(__SANITIZE_ADDRESS__)
    // A sanitizer reports a crash better than this can; without one, the
    // report at least says how to play the run again.
    std::signal(SIGSEGV, onCrash);
    std::signal(SIGBUS, onCrash);
    std::signal(SIGFPE, onCrash);
    std::signal(SIGABRT, onCrash);
#endif

    // The game's own randomness (creatures, treasure) follows the seed too,
    // so a failing run can be played again.
    std::srand(options.seed);
    DebugLog::reset();
    findBuiltLevels();
    if (builtLevels.empty()) {
        faults.push_back("not one level could be built from [" + options.runDir + "]");
    }

    const long total = static_cast<long>(options.minutes * FRAMES_PER_MINUTE);
    startSession();
    for (frames = 0; frames < total && faults.empty(); ++frames) {
        crashFrame = frames;
        step();
        if (frames % FRAMES_PER_SECOND == 0) {
            memorySamples.push_back(bytesInUse());
        }
        if (frames % FRAMES_PER_MINUTE == FRAMES_PER_MINUTE - 1) {
            // A fresh debug.log each minute, as a new run of the game
            // would start, so a long soak does not fill the disk.
            DebugLog::reset();
        }
        for (const std::string& report : reports) {
            ++errorReports;
            faults.push_back("error report in frame " + std::to_string(frames) + ": " + report);
        }
        reports.clear();
    }
    endSession();
    for (const std::string& report : reports) {
        ++errorReports;
        faults.push_back("error report while the game shut down: " + report);
    }

    const size_t fifth = memorySamples.size() / 5;
    if (fifth > 0) {
        memoryEarly = least(memorySamples, 0, fifth);
        memoryLate = least(memorySamples, memorySamples.size() - fifth, memorySamples.size());
        const long allowed
            = std::max(MEMORY_SLACK_BYTES, static_cast<long>(memoryEarly * MEMORY_SLACK_SHARE));
        if (options.checkMemory && memoryLate - memoryEarly > allowed) {
            faults.push_back("memory kept growing: " + std::to_string(memoryEarly / 1024)
                + " KiB in use at least early on, " + std::to_string(memoryLate / 1024) + " KiB at the end");
        }
    }
    reportedErrors = nullptr;
    if (!faults.empty()) {
        faults.push_back("the run's files and its debug.log are kept in [" + folder + "]");
    }
    return faults.empty();
}

void Soak::findBuiltLevels()
{
    // Every level the data holds a picture for, played for a moment: the
    // tour then skips the levels that are still to be drawn.
    std::vector<int> candidates;
    for (int level = 0; level < LevelProperties::STORY_LEVELS; ++level) {
        candidates.push_back(level);
    }
    for (int level = LevelProperties::FIRST_MINI_GAME; level <= LevelProperties::LAST_MINI_GAME; ++level) {
        candidates.push_back(level);
    }
    SoakGame probe(random);
    probe.start();
    for (int level : candidates) {
        if (LevelProperties::pictureIndex(level) < 0) {
            continue;
        }
        const size_t reportsBefore = reportedErrors->size();
        probe.currentLevel = level;
        probe.jumpState("inGame");
        for (int i = 0; i < PROBE_FRAMES; ++i) {
            probe.frame(1);
        }
        if (probe.player != nullptr && probe.mainLayer != nullptr) {
            builtLevels.push_back(level);
        } else {
            // A level still to be drawn is reported as missing, rightly,
            // but it is not what the soak looks for.
            reportedErrors->resize(reportsBefore);
        }
    }
}

void Soak::startSession()
{
    releaseAllKeys();
    std::fill(held.begin(), held.end(), 0);
    game = std::make_unique<SoakGame>(random);
    game->start();
    ++sessions;
    nextSceneChange
        = frames + std::uniform_int_distribution<long>(SCENE_MIN_FRAMES, SCENE_MAX_FRAMES)(random);
}

void Soak::endSession()
{
    releaseAllKeys();
    game.reset();
}

void Soak::step()
{
    pressRandomKeys();
    if (frames >= nextSceneChange) {
        changeScene();
        nextSceneChange
            = frames + std::uniform_int_distribution<long>(SCENE_MIN_FRAMES, SCENE_MAX_FRAMES)(random);
    }
    game->frame(1);
    // "Quit" ends the program in the real game; here a new game starts, as
    // the player would start it again, reading back what was saved.
    if (game->quit) {
        endSession();
        startSession();
    }
}

void Soak::pressRandomKeys()
{
    for (int code = 0; code < KEY_MAX; ++code) {
        if (held[code] > 0 && --held[code] == 0) {
            key[code] = 0;
        }
    }
    if (std::uniform_int_distribution<int>(0, PRESS_ONE_IN - 1)(random) != 0) {
        return;
    }
    const int count = static_cast<int>(sizeof KEYS / sizeof KEYS[0]);
    const int code = KEYS[std::uniform_int_distribution<int>(0, count - 1)(random)];
    key[code] = 1;
    held[code] = std::uniform_int_distribution<int>(1, LONGEST_PRESS)(random);
    key_shifts = key[KEY_LSHIFT] ? KB_SHIFT_FLAG : 0;
}

void Soak::changeScene()
{
    switch (std::uniform_int_distribution<int>(0, 13)(random)) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 11:
    case 12:
        // The next level of the tour, story and mini-games alike.
        if (!builtLevels.empty()) {
            game->currentLevel = builtLevels[tourPosition++ % builtLevels.size()];
            game->jumpState("inGame");
            ++levelsStarted;
        }
        break;
    case 4:
        // The same level once more, as after a lost life.
        game->jumpState("inGame");
        ++levelsStarted;
        break;
    case 5:
        game->jumpState("title");
        break;
    case 6:
        game->jumpState("levelSelect");
        break;
    case 7:
        // Money to spend, so the shop sells something.
        game->coins += 50;
        game->postAction("pushPowerupShop_true");
        break;
    case 8:
        game->postAction("openInGameMenu");
        break;
    case 9:
        game->postAction("pushHelpText_true");
        break;
    case 10:
        game->postAction("quit");
        break;
    default:
        // Nothing new: the keys have the game to themselves a while longer.
        break;
    }
}
