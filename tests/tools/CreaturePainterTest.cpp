#include "databuilder/art/CreaturePainter.h"
#include "databuilder/Registry.h"
#include "databuilder/art/TrueTypeFont.h"
#include "engine/media/DatafileWriter.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace {

std::string fileBytes(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

int differingPixels(BITMAP* a, BITMAP* b)
{
    int n = 0;
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            n += getpixel(a, x, y) != getpixel(b, x, y) ? 1 : 0;
        }
    }
    return n;
}

// Middle of the whitest run of pixels: the eye.
int eyeColumn(BITMAP* frame)
{
    long sum = 0, count = 0;
    for (int y = 0; y < frame->h; ++y) {
        for (int x = 0; x < frame->w; ++x) {
            int c = getpixel(frame, x, y);
            if (c != bitmap_mask_color(frame) && getr(c) > 240 && getg(c) > 240 && getb(c) > 230) {
                sum += x;
                ++count;
            }
        }
    }
    return count ? static_cast<int>(sum / count) : -1;
}

} // namespace

TEST(CreaturePainterTest, TheHeroSwimsFacingLeftAndDrawsTheSameBytesEveryTime)
{
    ScratchDir scratch;
    TrueTypeFont text;
    DatafileWriter first, second;
    CreaturePainter::dorir(first, text);
    CreaturePainter::dorir(second, text);
    ASSERT_TRUE(first.save("dorir.dat"));
    ASSERT_TRUE(second.save("again.dat"));
    EXPECT_EQ(fileBytes("dorir.dat"), fileBytes("again.dat"));

    DATAFILE* data = load_datafile("dorir.dat");
    ASSERT_NE(nullptr, data);
    ASSERT_EQ(DAT_FILE, data[0].type);
    DATAFILE* swim = static_cast<DATAFILE*>(data[0].dat);
    BITMAP* still = static_cast<BITMAP*>(swim[0].dat);
    BITMAP* beat = static_cast<BITMAP*>(swim[5].dat);
    // The tail really moves between frames, and the last frame of the loop
    // comes back to the first.
    EXPECT_GT(differingPixels(still, beat), 40);
    EXPECT_EQ(0, differingPixels(still, static_cast<BITMAP*>(swim[20].dat)));
    // The eye sits in the front half: the fish looks left.
    int eye = eyeColumn(still);
    EXPECT_GT(eye, 0);
    EXPECT_LT(eye, still->w / 2);
    unload_datafile(data);
}

namespace {

// Opaque pixels on the outermost rows and columns of a picture: art that the
// picture's size cuts off.
int edgePixels(BITMAP* picture)
{
    int mask = bitmap_mask_color(picture), n = 0;
    for (int x = 0; x < picture->w; ++x) {
        n += (getpixel(picture, x, 0) != mask) + (getpixel(picture, x, picture->h - 1) != mask);
    }
    for (int y = 0; y < picture->h; ++y) {
        n += (getpixel(picture, 0, y) != mask) + (getpixel(picture, picture->w - 1, y) != mask);
    }
    return n;
}

void expectWhole(const DATAFILE* objects, const std::string& where)
{
    for (int i = 0; objects[i].type != DAT_END; ++i) {
        if (objects[i].type == DAT_FILE) {
            expectWhole(static_cast<const DATAFILE*>(objects[i].dat), where + " " + std::to_string(i) + ".");
        } else if (objects[i].type == DAT_BITMAP) {
            EXPECT_EQ(0, edgePixels(static_cast<BITMAP*>(objects[i].dat))) << where << i;
        }
    }
}

} // namespace

TEST(CreaturePainterTest, NoSpriteIsCutOffByTheEdgeOfItsPicture)
{
    // Tiles, backgrounds, the map, crates and spike beds fill their cells on
    // purpose, and the cutscene's scene stands on the frame's floor.
    const std::set<std::string> filling
        = { "dat/crate.dat", "dat/excrate.dat", "dat/spikes.dat", "dat/map.dat", "dat/cutscene0.dat" };
    for (const Registry::Datafile& entry : Registry::datafiles()) {
        if (entry.owner != "art" || filling.count(entry.path) || entry.path.find("dat/tiles") == 0
            || entry.path.find("dat/bg") == 0) {
            continue;
        }
        DATAFILE* data = load_datafile((std::string(TIDEWANDER_RUN_DIR) + "/" + entry.path).c_str());
        ASSERT_NE(nullptr, data) << entry.path;
        expectWhole(data, entry.path);
        unload_datafile(data);
    }
}
