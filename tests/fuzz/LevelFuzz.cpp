// A level picture through the level loader. The input draws the picture:
// its colour depth, its size (up to a little beyond the tile map) and one
// byte a cell choosing a colour of the level table, open water, or any
// colour at all. The picture goes into lvl/levels.dat as the data builder
// writes it, and the loader must either refuse it cleanly or build exactly
// the tiles it shows.
#include "FuzzScratch.h"

#include "engine/core/DebugLog.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/DatafileWriter.h"
#include "engine/media/Screen.h"
#include "game/app/Game.h"
#include "game/play/LevelColours.h"
#include "game/play/LevelLoader.h"
#include "game/play/LevelProperties.h"
#include "game/play/Player.h"
#include "game/play/TileMap.h"
#include "support/StandInArtwork.h"

#include <allegro.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

class LevelGame : public Game {
public:
    LevelGame()
    {
        DebugLog::setFatalMode(false);
        screen = new Screen(800, 600, false, true);
        screen->layers.resize(5);
    }
    bool confirm(const std::string&) override { return false; }
};

// The built artwork when TIDEWANDER_FUZZ_ARTWORK names its folder (the
// creatures then find the pictures they expect); otherwise small pictures
// under every datafile name a level may ask for.
void writeArtwork()
{
    ::mkdir("lvl", 0777);
    DatafileManager::setDirectory("dat/");
    const char* built = std::getenv("TIDEWANDER_FUZZ_ARTWORK");
    if (built != nullptr && built[0] != '\0') {
        if (::symlink(built, "dat") != 0) {
            FuzzScratch::fail(std::string("could not use the artwork in ") + built);
        }
        return;
    }
    ::mkdir("dat", 0777);
    if (!writeStandInArtwork("dat")) {
        FuzzScratch::fail("could not write the stand-in artwork into dat/");
    }
}

// One handle on every artwork file for the whole run keeps them in the
// cache: the creatures find their pictures at once, and only the level
// file is read again for each input.
void holdArtwork()
{
    static std::vector<std::unique_ptr<DatafileManager>> held;
    for (const auto& entry : std::filesystem::directory_iterator("dat/")) {
        if (entry.path().extension() == ".dat") {
            held.push_back(std::make_unique<DatafileManager>());
            held.back()->load(entry.path().filename().string());
        }
    }
}

class Input {
public:
    Input(const uint8_t* bytes, size_t length)
        : data(bytes)
        , size(length)
    {
    }
    int next() { return at < size ? data[at++] : 0; }
    bool empty() const { return at >= size; }

private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

const int DEPTHS[] = { 24, 24, 24, 32, 16, 15, 8 };

// Mostly small pictures, which load quickly; the last few byte values give
// the sizes around the tile map's limit, where the loader must start refusing.
int side(int byte, int limit, int small)
{
    return byte >= 250 ? limit - 252 + byte : 1 + byte % small;
}

BITMAP* drawPicture(Input& in)
{
    int depth = DEPTHS[in.next() % 7];
    int width = side(in.next(), TileMap::COLUMNS, 64);
    int height = side(in.next(), TileMap::ROWS, 40);
    BITMAP* picture = create_bitmap_ex(depth, width, height);
    if (picture == nullptr) {
        FuzzScratch::fail("no memory for the picture");
    }
    clear_to_color(picture, makecol_depth(depth, 1, 2, 3));
    const std::vector<LevelColours::Row>& rows = LevelColours::rows();
    for (int y = 0; y < height && !in.empty(); ++y) {
        for (int x = 0; x < width && !in.empty(); ++x) {
            int choice = in.next();
            if (choice < static_cast<int>(rows.size())) {
                const LevelColours::Row& row = rows[choice];
                putpixel(picture, x, y, makecol_depth(depth, row.red, row.green, row.blue));
            } else if (choice == 255) {
                putpixel(picture, x, y, makecol_depth(depth, in.next(), in.next(), in.next()));
            }
        }
    }
    return picture;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzScratch::enter();
    static bool artwork = false;
    if (!artwork) {
        writeArtwork();
        holdArtwork();
        artwork = true;
    }
    FuzzScratch::startInput();

    Input in(data, size);
    // Level 0's picture is the file's first object; the last is out of
    // reach of the cache, as in the built file.
    BITMAP* picture = drawPicture(in);
    {
        DatafileWriter out;
        if (out.addBitmap(picture) < 0) {
            FuzzScratch::fail("the writer refused the picture");
        }
        out.addData({ 0 });
        if (!out.save(LevelLoader::LEVEL_FILE)) {
            FuzzScratch::fail("could not write the level file");
        }
    }

    TileMap mainLayer;
    TileMap foregroundLayer;
    {
        LevelGame game;
        game.pushState("level");
        game.mainLayer = &mainLayer;
        game.foregroundLayer = &foregroundLayer;
        auto* player = new Player();
        game.addSprite(player, 2);
        game.player = player;

        bool loaded = LevelLoader(game).loadLevel(0);
        bool fits = picture->w <= TileMap::COLUMNS && picture->h <= TileMap::ROWS;
        if (loaded != fits) {
            FuzzScratch::fail("a picture of " + std::to_string(picture->w) + " x "
                + std::to_string(picture->h) + (fits ? " was refused" : " was loaded"));
        }
        if (loaded) {
            if (game.levelWidth != picture->w * LevelLoader::CELL_SIZE
                || game.levelHeight != picture->h * LevelLoader::CELL_SIZE) {
                FuzzScratch::fail("the level's size is not the picture's");
            }
            // The loaded picture was the written one, colours kept exactly.
            for (int x = 0; x < picture->w; ++x) {
                for (int y = 0; y < picture->h; ++y) {
                    const LevelColours::Row* row = LevelColours::at(picture, x, y);
                    bool rock = row != nullptr && row->layer == LevelColours::TileLayer::MAIN;
                    bool front = row != nullptr && row->layer == LevelColours::TileLayer::FOREGROUND;
                    if ((mainLayer.getTile(x, y) != -1) != rock
                        || (foregroundLayer.getTile(x, y) != -1) != front) {
                        FuzzScratch::fail("cell " + std::to_string(x) + "," + std::to_string(y)
                            + " does not hold the tile its colour gives");
                    }
                }
            }
        }
        game.popAllStates();
        game.clearLevelLists();
    }
    destroy_bitmap(picture);
    return 0;
}
