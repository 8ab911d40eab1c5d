// Frame benchmark: a busy underwater scene drawn headless at 800 x 600 in
// 16-bit colour, the way a level looks at its fullest. Prints frames per
// second with and without the water ripple and the ratio of a whole frame to
// the bare floor (clearing the back buffer and copying it out).
//
//     frame_bench                       timing: median of 7 runs of 300 frames
//     frame_bench --runs 5 --per-run 200
//     frame_bench --frames 500 --callgrind   fixed work for callgrind
//
// Under callgrind, count only the frame function:
//     valgrind --tool=callgrind --toggle-collect='*runFrame*' frame_bench --frames 200 --callgrind
#include "engine/media/AnimatedSprite.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/DatafileWriter.h"
#include "engine/media/ParticleSystem.h"
#include "engine/media/Screen.h"
#include "engine/media/Sprite.h"
#include "engine/ui/Menu.h"

#include <allegro.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int WIDTH = 800;
constexpr int HEIGHT = 600;
constexpr int CELL = 80;
constexpr int WORLD_COLUMNS = 60;
constexpr int WORLD_ROWS = 30;
constexpr int CREATURES = 150;
constexpr int PARTICLES_PER_SYSTEM = 200;
constexpr int MENU_LINES = 12;
constexpr float DT = 0.01f;

const char* const MENU_TEXT[MENU_LINES] = { "Continue", "Restart", "Options", "Level Help", "Power-Up Shop",
    "Exit", "Music", "SFX", "Water Effect", "Back", "Profile", "Keys" };

// ---- Artwork, drawn here so the benchmark needs nothing beside it. ----

BITMAP* makeTile(int code)
{
    BITMAP* tile = create_bitmap(CELL, CELL);
    clear_to_color(tile, bitmap_mask_color(tile));
    const int rock = makecol(70 + code * 5, 60 + code * 3, 50);
    const int moss = makecol(40, 120 + code * 4, 60);
    if (code <= 6) {
        // Solid blocks: a rounded boulder filling most of the cell.
        rectfill(tile, 6, 6, CELL - 7, CELL - 7, rock);
        circlefill(tile, CELL / 2, CELL / 2, CELL / 2 - 2, rock);
        hline(tile, 8, 8, CELL - 9, moss);
        for (int i = 0; i < 12; ++i) {
            putpixel(tile, 10 + i * 5, 20 + (i * 7) % 40, moss);
        }
    } else {
        // Scenery: weed stalks, mostly open water.
        for (int stalk = 0; stalk < 3; ++stalk) {
            const int baseX = 15 + stalk * 25;
            for (int y = CELL - 1; y > 20 + stalk * 8; --y) {
                putpixel(tile, baseX + static_cast<int>(4 * std::sin(y * 0.2)), y, moss);
                putpixel(tile, baseX + 1 + static_cast<int>(4 * std::sin(y * 0.2)), y, moss);
            }
        }
    }
    return tile;
}

BITMAP* makeCreatureFrame(int frame)
{
    BITMAP* picture = create_bitmap(48, 40);
    clear_to_color(picture, bitmap_mask_color(picture));
    const int body = makecol(230, 140 + frame * 20, 40);
    ellipsefill(picture, 22, 20, 18, 12 - frame % 2, body);
    triangle(picture, 36, 20, 47, 8 + frame, 47, 32 - frame, body);
    circlefill(picture, 12, 17, 3, makecol(255, 255, 255));
    putpixel(picture, 12, 17, makecol(0, 0, 0));
    return picture;
}

BITMAP* makeBackground()
{
    BITMAP* background = create_bitmap(WIDTH, HEIGHT);
    for (int y = 0; y < HEIGHT; ++y) {
        hline(background, 0, y, WIDTH - 1, makecol(0, 40 + y / 6, 90 + y / 8));
    }
    for (int ray = 0; ray < 8; ++ray) {
        line(background, ray * 110, 0, ray * 110 + 200, HEIGHT - 1, makecol(40, 110, 150));
    }
    return background;
}

BITMAP* makeSpeck(int radius, int colour)
{
    BITMAP* speck = create_bitmap(radius * 2, radius * 2);
    clear_to_color(speck, bitmap_mask_color(speck));
    circlefill(speck, radius, radius, radius - 1, colour);
    return speck;
}

void save(DatafileWriter& writer, BITMAP* picture, const std::string& name)
{
    writer.addBitmap(picture, name);
    destroy_bitmap(picture);
}

// The datafiles the scene loads, written into dat/ of the working folder.
// Each ends with a spare object: the last object of a file is not addressed.
bool writeArtwork()
{
    if (mkdir("dat", 0755) != 0 && !file_exists("dat", FA_DIREC, nullptr)) {
        return false;
    }
    DatafileWriter tiles;
    for (int code = 0; code <= 16; ++code) {
        save(tiles, makeTile(code), "TILE_" + std::to_string(code));
    }
    tiles.addData({ 0 }, "END");

    DatafileWriter creature;
    for (int frame = 0; frame < 4; ++frame) {
        save(creature, makeCreatureFrame(frame), "FISH_" + std::to_string(frame));
    }
    creature.addData({ 0 }, "END");

    // A plain bitmap, as the game's own backgrounds are stored.
    DatafileWriter background;
    save(background, makeBackground(), "BG");
    background.addData({ 0 }, "END");

    DatafileWriter particles;
    save(particles, makeSpeck(3, makecol(255, 255, 255)), "SPECK");
    save(particles, makeSpeck(4, makecol(150, 200, 255)), "BUBBLE");
    save(particles, makeSpeck(2, makecol(255, 230, 120)), "SPARK");
    particles.addData({ 0 }, "END");

    return tiles.save("dat/benchtiles.dat") && creature.save("dat/benchfish.dat")
        && background.save("dat/benchbg.dat") && particles.save("dat/particles.dat");
}

// ---- Scene objects. ----

// A grid of 80 x 80 tiles drawn from a tile set, visible cells only: the
// level's main and foreground layers.
class TileLayer : public Sprite {
public:
    TileLayer(int seed, int fillPercent)
    {
        tiles.load("benchtiles.dat");
        cells.assign(WORLD_COLUMNS * WORLD_ROWS, -1);
        unsigned state = static_cast<unsigned>(seed);
        for (int& cell : cells) {
            state = state * 1103515245u + 12345u;
            const int roll = static_cast<int>((state >> 16) % 100);
            if (roll < fillPercent) {
                cell = static_cast<int>((state >> 8) % 17);
            }
        }
        cullable = false;
    }

    void draw(BITMAP* target) override
    {
        if (pass != 0 || !tiles.isLoaded()) {
            return;
        }
        const int originX = static_cast<int>(x);
        const int originY = static_cast<int>(y);
        const int firstColumn = std::max(0, -originX / CELL);
        const int firstRow = std::max(0, -originY / CELL);
        const int lastColumn = std::min(WORLD_COLUMNS - 1, (target->w - originX) / CELL + 1);
        const int lastRow = std::min(WORLD_ROWS - 1, (target->h - originY) / CELL + 1);
        for (int column = firstColumn; column <= lastColumn; ++column) {
            for (int row = lastRow; row >= firstRow; --row) {
                const int code = cells[column * WORLD_ROWS + row];
                if (code >= 0 && code < tiles.count) {
                    draw_sprite(target, static_cast<BITMAP*>(tiles.get(code)), column * CELL + originX,
                        row * CELL + originY);
                }
            }
        }
    }

private:
    DatafileManager tiles;
    std::vector<int> cells;
};

struct Scene {
    std::unique_ptr<Screen> screen;
    BITMAP* display = nullptr;
    std::unique_ptr<AnimatedSprite> background;
    std::unique_ptr<TileLayer> mainTiles, foregroundTiles;
    std::vector<std::unique_ptr<AnimatedSprite>> creatures;
    std::vector<std::unique_ptr<ParticleSystem>> emitters;
    std::unique_ptr<Menu> menu;
    std::unique_ptr<Sprite> camera;
    float time = 0.0f;
    int frameCount = 0;
};

void buildScene(Scene& scene)
{
    scene.screen = std::make_unique<Screen>(WIDTH, HEIGHT, false, true);
    Screen& screen = *scene.screen;
    // No display driver here: centre the camera on the buffer itself.
    screen.centreX = WIDTH / 2;
    screen.centreY = HEIGHT / 2;
    screen.layers.resize(5);
    screen.layers[0].followCamera = false;
    screen.layers[4].followCamera = false;
    screen.minViewRight = WORLD_COLUMNS * CELL;
    screen.minViewBottom = WORLD_ROWS * CELL;
    screen.maxScrollX = 0;
    screen.maxScrollY = 0;
    scene.display = create_bitmap(WIDTH, HEIGHT);
    clear_bitmap(scene.display);

    scene.background = std::make_unique<AnimatedSprite>();
    scene.background->datafile.load("benchbg.dat");
    screen.addSprite(scene.background.get(), 0);

    scene.mainTiles = std::make_unique<TileLayer>(1, 35);
    scene.foregroundTiles = std::make_unique<TileLayer>(2, 12);
    screen.addSprite(scene.mainTiles.get(), 1);
    screen.addSprite(scene.foregroundTiles.get(), 3);

    scene.camera = std::make_unique<Sprite>();
    scene.camera->x = 1200;
    scene.camera->y = 900;
    screen.setCameraTarget(scene.camera.get());

    // The creatures swim about the camera's view; a third are translucent,
    // a few turn and a few stretch.
    for (int i = 0; i < CREATURES; ++i) {
        auto creature = std::make_unique<AnimatedSprite>();
        creature->datafile.load("benchfish.dat");
        creature->alignment = 1;
        creature->x = 1200.0f - WIDTH / 2 + static_cast<float>((i * 97) % WIDTH);
        creature->y = 900.0f - HEIGHT / 2 + static_cast<float>((i * 53) % HEIGHT);
        creature->playAnimation("swim", 0, 3, 0.4f + 0.01f * static_cast<float>(i % 10), -1, true, 0.0f);
        if (i % 3 == 0) {
            creature->alpha = 150.0f;
        }
        if (i % 30 == 1) {
            creature->angle = 24.0f;
        }
        if (i % 30 == 2) {
            creature->stretchWidth = true;
            creature->stretchHeight = true;
            creature->drawWidth = 64.0f;
            creature->drawHeight = 30.0f;
        }
        screen.addSprite(creature.get(), 2);
        scene.creatures.push_back(std::move(creature));
    }

    const int images[] = { 2, 0, 1 };
    for (int image : images) {
        auto emitter = std::make_unique<ParticleSystem>();
        emitter->imageIndex = image;
        emitter->startAlpha = 128;
        emitter->camera = &screen;
        screen.addSprite(emitter.get(), 3);
        scene.emitters.push_back(std::move(emitter));
    }

    // The in-game menu, open over the level: twelve lines, one highlighted.
    scene.menu = std::make_unique<Menu>();
    scene.menu->alignment = 1;
    for (const char* label : MENU_TEXT) {
        scene.menu->addAction("Main", label, "noAction");
    }
    scene.menu->linkTo("Main");
    scene.menu->select(2);
    scene.menu->x = WIDTH / 2;
    scene.menu->y = HEIGHT / 2 - 75 - MENU_LINES * 7;
    screen.addSprite(scene.menu.get(), 4);
}

// Keeps every particle system near full: bursts, a jet and a spray round
// the camera, as bubbles pop and the player swims.
void topUpParticles(Scene& scene)
{
    const float cx = scene.camera->x;
    const float cy = scene.camera->y;
    for (size_t i = 0; i < scene.emitters.size(); ++i) {
        ParticleSystem& emitter = *scene.emitters[i];
        const int missing = PARTICLES_PER_SYSTEM - static_cast<int>(emitter.particles.size());
        if (missing <= 0) {
            continue;
        }
        const float spotX = cx - 200.0f + 200.0f * static_cast<float>(i);
        if (i == 0) {
            emitter.burst(spotX, cy, missing, -1);
        } else if (i == 1) {
            emitter.jet(scene.frameCount % 4, spotX, cy + 50.0f, missing, makecol(200, 230, 255));
        } else {
            emitter.spray(spotX, cy + 100.0f, missing, 0.5f);
        }
    }
}

// One whole frame: camera, particles, sprite updates, layers, present.
__attribute__((noinline)) void runFrame(Scene& scene)
{
    scene.time += DT;
    ++scene.frameCount;
    scene.camera->x = 1200.0f + 300.0f * std::sin(scene.time * 0.7f);
    scene.camera->y = 900.0f + 150.0f * std::sin(scene.time * 1.1f);
    for (size_t i = 0; i < scene.creatures.size(); i += 7) {
        scene.creatures[i]->x += (i % 2 == 0 ? 40.0f : -40.0f) * DT;
    }
    topUpParticles(scene);
    scene.screen->update(DT);
    scene.screen->render();
    scene.screen->present(scene.display);
}

// The bare floor: clear the back buffer and copy it out.
__attribute__((noinline)) void runFloor(Scene& scene)
{
    clear_bitmap(scene.screen->backBuffer);
    blit(scene.screen->backBuffer, scene.display, 0, 0, 0, 0, WIDTH, HEIGHT);
}

template <typename Step> double millisecondsPerFrame(Scene& scene, int frames, Step step)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
        step(scene);
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
            const int value = std::atoi(argv[i + 1]);
            return value > 0 ? value : fallback;
        }
    }
    return fallback;
}

bool hasFlag(int argc, char** argv, const char* name)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], name) == 0) {
            return true;
        }
    }
    return false;
}

// A scratch folder for the datafiles and the log, removed at the end.
class WorkFolder {
public:
    WorkFolder()
    {
        char pattern[] = "/tmp/tidewander-bench-XXXXXX";
        if (mkdtemp(pattern) != nullptr && getcwd(previous, sizeof previous) != nullptr
            && chdir(pattern) == 0) {
            path = pattern;
        }
    }
    ~WorkFolder()
    {
        if (path.empty()) {
            return;
        }
        if (chdir(previous) != 0) {
            return;
        }
        const std::string files[] = { "/dat/benchtiles.dat", "/dat/benchfish.dat", "/dat/benchbg.dat",
            "/dat/particles.dat", "/debug.log" };
        for (const std::string& file : files) {
            std::remove((path + file).c_str());
        }
        rmdir((path + "/dat").c_str());
        rmdir(path.c_str());
    }
    bool ready() const { return !path.empty(); }

private:
    std::string path;
    char previous[4096] = {};
};

} // namespace

int main(int argc, char** argv)
{
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "frame_bench: Allegro would not start\n");
        return 1;
    }
    set_color_depth(16);
    WorkFolder folder;
    if (!folder.ready() || !writeArtwork()) {
        std::fprintf(stderr, "frame_bench: could not write the scene's datafiles\n");
        return 1;
    }
    DatafileManager::setDirectory("dat/");

    int status = 0;
    {
        Scene scene;
        buildScene(scene);

        if (hasFlag(argc, argv, "--callgrind")) {
            const int frames = intArgument(argc, argv, "--frames", 200);
            scene.screen->waterEffect = true;
            for (int i = 0; i < frames; ++i) {
                runFrame(scene);
            }
            std::printf("rendered %d frames with the water effect\n", frames);
        } else {
            const int runs = intArgument(argc, argv, "--runs", 7);
            const int perRun = intArgument(argc, argv, "--per-run", 300);
            // Settle the caches and the particle counts first.
            millisecondsPerFrame(scene, 100, runFrame);
            std::vector<double> floor, plain, water;
            for (int run = 0; run < runs; ++run) {
                floor.push_back(millisecondsPerFrame(scene, perRun, runFloor));
                scene.screen->waterEffect = false;
                plain.push_back(millisecondsPerFrame(scene, perRun, runFrame));
                scene.screen->waterEffect = true;
                water.push_back(millisecondsPerFrame(scene, perRun, runFrame));
            }
            const double floorMs = median(floor);
            const double plainMs = median(plain);
            const double waterMs = median(water);
            size_t particles = 0;
            for (const auto& emitter : scene.emitters) {
                particles += emitter->particles.size();
            }
            std::printf("scene: %dx%d 16-bit, 5 layers, %d creatures, %zu particles, %d menu lines\n", WIDTH,
                HEIGHT, CREATURES, particles, MENU_LINES);
            std::printf("median of %d runs of %d frames\n", runs, perRun);
            std::printf("floor (clear + copy): %8.3f ms/frame  %8.1f fps\n", floorMs, 1000.0 / floorMs);
            std::printf("scene, plain present: %8.3f ms/frame  %8.1f fps  ratio %.2f\n", plainMs,
                1000.0 / plainMs, plainMs / floorMs);
            std::printf("scene, water ripple:  %8.3f ms/frame  %8.1f fps  ratio %.2f\n", waterMs,
                1000.0 / waterMs, waterMs / floorMs);
        }

        scene.screen->setCameraTarget(nullptr);
        destroy_bitmap(scene.display);
    }
    DatafileManager::unloadAll();
    return status;
}
