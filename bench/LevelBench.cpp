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

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: level_bench <run folder> [--level N] [--runs R] [--per-run F]\n");
        return 2;
    }
    char runFolder[4096];
    if (realpath(argv[1], runFolder) == nullptr) {
        std::fprintf(stderr, "level_bench: no run folder at %s\n", argv[1]);
        return 1;
    }
    const int level = intArgument(argc, argv, "--level", DEFAULT_LEVEL);
    const int runs = std::max(1, intArgument(argc, argv, "--runs", 7));
    const int perRun = std::max(1, intArgument(argc, argv, "--per-run", 300));

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

    int status = 0;
    {
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
        if (bench.game.player == nullptr) {
            std::fprintf(stderr, "level_bench: level %d did not load\n", level);
            status = 1;
        } else {
            // Let a start banner go by and the particles fill up first.
            millisecondsPerFrame(bench, 300, runFrame);
            // Floor and level runs take turns, so a busy machine slows both.
            std::vector<double> times, floor;
            for (int run = 0; run < runs; ++run) {
                floor.push_back(millisecondsPerFrame(bench, perRun, runFloor));
                times.push_back(millisecondsPerFrame(bench, perRun, runFrame));
            }
            const double ms = median(times);
            const double floorMs = median(floor);
            std::printf("level %d: %d x %d cells, %zu creatures, %zu treasures, water ripple %s\n", level,
                bench.game.levelWidth / 80, bench.game.levelHeight / 80, bench.game.creatures.size(),
                bench.game.treasures.size(), bench.game.screen->waterEffect ? "on" : "off");
            std::printf("floor (clear + copy): %8.3f ms/frame  %8.1f fps\n", floorMs, 1000.0 / floorMs);
            std::printf("median of %d runs of %d frames: %8.3f ms/frame  %8.1f fps  %6.2f x floor\n", runs,
                perRun, ms, 1000.0 / ms, ms / floorMs);
            key[KEY_LEFT] = key[KEY_RIGHT] = 0;
        }
        destroy_bitmap(bench.display);
    }
    DatafileManager::unloadAll();
    std::string cleanup = "rm -rf '" + work + "'";
    if (std::system(cleanup.c_str()) != 0) {
        status = status != 0 ? status : 1;
    }
    return status;
}
