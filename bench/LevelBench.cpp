// Level benchmark: a real level of the shipped data played headless at
// 800 x 600 in 16-bit colour with the water ripple on: the in-game state
// builds it from lvl/levels.dat, the fish swims to the right through it with
// the camera following, the creatures and particles run, and each frame is
// updated, drawn with the HUD and presented into a memory bitmap. The bare
// floor (clearing the back buffer and copying it out) is timed in the same
// run, so a slow machine shows in both figures.
//
//     level_bench <run folder>                  level 4, median of 7 runs of 300 frames
//     level_bench <run folder> --level 5 --runs 5 --per-run 200
//     level_bench <run folder> --all            every story level and mini-game in a
//                                               table, 3 runs of 200 frames each
#include "engine/core/DebugLog.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/Screen.h"
#include "game/app/Game.h"
#include "game/play/InGameController.h"
#include "game/play/Player.h"

#include <allegro.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;
constexpr float DT = 0.01f;
// The eel corridor between the spike rows: the busiest of the first world.
constexpr int DEFAULT_LEVEL = 4;
constexpr int STORY_LEVELS = 50;
constexpr int MINI_GAMES[] = { 1000, 1001, 1002, 1003 };
// Frames before timing starts: a start banner goes by and the particles
// fill up.
constexpr int WARM_UP_FRAMES = 300;

class BenchGame : public Game {
public:
    BenchGame()
    {
        DebugLog::setFatalMode(false);
        screen = new Screen(WIDTH, HEIGHT, false, true);
        screen->layers.resize(5);
        screen->layers[0].followCamera = false;
        screen->layers[4].followCamera = false;
        DatafileManager::setDirectory("dat/");
        registerController(&inGame);
    }
    ~BenchGame() override { popAllStates(); }
    bool confirm(const std::string&) override { return false; }

    InGameController inGame { this };
};

struct Bench {
    BenchGame game;
    BITMAP* display = nullptr;
    // The fish swims one way until a wall stops it, then turns round, so
    // the camera keeps scrolling.
    int heldKey = KEY_RIGHT;
    float lastX = 0.0f;
    int stillFrames = 0;
};

void steer(Bench& bench)
{
    Player* fish = bench.game.player;
    if (fish == nullptr) {
        return;
    }
    bench.stillFrames = fish->x == bench.lastX ? bench.stillFrames + 1 : 0;
    bench.lastX = fish->x;
    if (bench.stillFrames > 20) {
        key[bench.heldKey] = 0;
        bench.heldKey = bench.heldKey == KEY_RIGHT ? KEY_LEFT : KEY_RIGHT;
        bench.stillFrames = 0;
    }
    key[bench.heldKey] = 1;
}

// The bare floor: clear the back buffer and copy it out.
__attribute__((noinline)) void runFloor(Bench& bench)
{
    clear_bitmap(bench.game.screen->backBuffer);
    blit(bench.game.screen->backBuffer, bench.display, 0, 0, 0, 0, WIDTH, HEIGHT);
}

// One frame as the main loop runs it, presented into memory.
__attribute__((noinline)) void runFrame(Bench& bench)
{
    Game& game = bench.game;
    // A level that opens its help page is timed as it plays once a key has
    // closed the page, with the ripple back on.
    if (game.isOnStack("helpText")) {
        game.popState();
    }
    steer(bench);
    game.update(DT);
    game.drawUnderlay();
    game.screen->render();
    game.drawOverlay();
    game.screen->present(bench.display);
    game.collectGarbage();
}

template <typename Step> double millisecondsPerFrame(Bench& bench, int frames, Step step)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
        step(bench);
    }
    const auto end = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(end - start).count() / frames;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool flag(int argc, char** argv, const char* name)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            return true;
        }
    }
    return false;
}

int intArgument(int argc, char** argv, const char* name, int fallback)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            return std::atoi(argv[i + 1]);
        }
    }
    return fallback;
}

// A scratch folder with the run folder's data linked in, for the profile
// and the log the game writes.
std::string makeWorkFolder(const std::string& runFolder)
{
    char pattern[] = "/tmp/tidewander-levelbench-XXXXXX";
    if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0) {
        return std::string();
    }
    for (const char* folder : { "dat", "lvl", "sfx", "mus" }) {
        if (symlink((runFolder + "/" + folder).c_str(), folder) != 0) {
            return std::string();
        }
    }
    mkdir("profiles", 0777);
    return pattern;
}

struct Measure {
    bool loaded = false;
    int columns = 0, rows = 0;
    size_t creatures = 0, treasures = 0;
    bool water = false;
    double ms = 0.0; // median per frame, level
    double floorMs = 0.0; // and the bare floor beside it
};

Measure measureLevel(int level, int runs, int perRun)
{
    Measure measure;
    Bench bench;
    bench.display = create_bitmap(WIDTH, HEIGHT);
    bench.game.currentProfile = "bench";
    bench.game.waterEffect = true;
    bench.game.currentLevel = level;
    std::srand(1);
    bench.game.jumpState("inGame");
    // The creatures hunt the fish as in play, but it never dies (as
    // once a level is done): a restart would time the loading of the
    // level, not its frames.
    bench.game.levelDone = true;
    if (bench.game.player != nullptr) {
        millisecondsPerFrame(bench, WARM_UP_FRAMES, runFrame);
    }
    // A level without a picture sends the game back to the title.
    if (bench.game.player != nullptr && bench.game.isOnStack("inGame")) {
        // Floor and level runs take turns, so a busy machine slows both.
        std::vector<double> times, floor;
        for (int run = 0; run < runs; ++run) {
            floor.push_back(millisecondsPerFrame(bench, perRun, runFloor));
            times.push_back(millisecondsPerFrame(bench, perRun, runFrame));
        }
        measure.loaded = true;
        measure.ms = median(times);
        measure.floorMs = median(floor);
        measure.columns = bench.game.levelWidth / 80;
        measure.rows = bench.game.levelHeight / 80;
        measure.creatures = bench.game.creatures.size();
        measure.treasures = bench.game.treasures.size();
        measure.water = bench.game.screen->waterEffect;
    }
    key[KEY_LEFT] = key[KEY_RIGHT] = 0;
    destroy_bitmap(bench.display);
    return measure;
}

int benchOne(int level, int runs, int perRun)
{
    const Measure m = measureLevel(level, runs, perRun);
    if (!m.loaded) {
        std::fprintf(stderr, "level_bench: level %d did not load\n", level);
        return 1;
    }
    std::printf("level %d: %d x %d cells, %zu creatures, %zu treasures, water ripple %s\n", level, m.columns,
        m.rows, m.creatures, m.treasures, m.water ? "on" : "off");
    std::printf("floor (clear + copy): %8.3f ms/frame  %8.1f fps\n", m.floorMs, 1000.0 / m.floorMs);
    std::printf("median of %d runs of %d frames: %8.3f ms/frame  %8.1f fps  %6.2f x floor\n", runs, perRun,
        m.ms, 1000.0 / m.ms, m.ms / m.floorMs);
    return 0;
}

// Every story level, then the mini-games, one line each; the busiest is the
// one furthest above its floor, which was timed in turns with it and so
// carries the same share of whatever else the machine was doing.
int benchAll(int runs, int perRun)
{
    std::vector<int> levels;
    for (int level = 0; level < STORY_LEVELS; ++level) {
        levels.push_back(level);
    }
    levels.insert(levels.end(), std::begin(MINI_GAMES), std::end(MINI_GAMES));

    std::printf("median of %d runs of %d frames per level\n", runs, perRun);
    std::printf(
        "%5s  %7s  %9s  %8s  %8s  %7s\n", "level", "cells", "creatures", "ms/frame", "floor ms", "x floor");
    int status = 0;
    int busiest = -1;
    Measure most;
    for (int level : levels) {
        const Measure m = measureLevel(level, runs, perRun);
        if (!m.loaded) {
            std::printf("%5d  did not load\n", level);
            status = 1;
            continue;
        }
        char cells[16];
        std::snprintf(cells, sizeof cells, "%dx%d", m.columns, m.rows);
        std::printf("%5d  %7s  %9zu  %8.3f  %8.3f  %7.2f\n", level, cells, m.creatures, m.ms, m.floorMs,
            m.ms / m.floorMs);
        std::fflush(stdout);
        if (busiest < 0 || m.ms / m.floorMs > most.ms / most.floorMs) {
            busiest = level;
            most = m;
        }
    }
    if (busiest >= 0) {
        std::printf("busiest: level %d, %zu creatures, %.3f ms/frame (%.1f fps), %.2f x floor\n", busiest,
            most.creatures, most.ms, 1000.0 / most.ms, most.ms / most.floorMs);
    }
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(
            stderr, "usage: level_bench <run folder> [--level N | --all] [--runs R] [--per-run F]\n");
        return 2;
    }
    char runFolder[4096];
    if (realpath(argv[1], runFolder) == nullptr) {
        std::fprintf(stderr, "level_bench: no run folder at %s\n", argv[1]);
        return 1;
    }
    const bool all = flag(argc, argv, "--all");
    const int level = intArgument(argc, argv, "--level", DEFAULT_LEVEL);
    const int runs = std::max(1, intArgument(argc, argv, "--runs", all ? 3 : 7));
    const int perRun = std::max(1, intArgument(argc, argv, "--per-run", all ? 200 : 300));

    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "level_bench: Allegro would not start\n");
        return 1;
    }
    set_color_depth(16);
    std::string work = makeWorkFolder(runFolder);
    if (work.empty()) {
        std::fprintf(stderr, "level_bench: could not make a work folder\n");
        return 1;
    }

    int status = all ? benchAll(runs, perRun) : benchOne(level, runs, perRun);
    DatafileManager::unloadAll();
    std::string cleanup = "rm -rf '" + work + "'";
    if (std::system(cleanup.c_str()) != 0) {
        status = status != 0 ? status : 1;
    }
    return status;
}
