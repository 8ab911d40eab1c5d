#include "databuilder/art/CreaturePainter.h"
#include "databuilder/art/TrueTypeFont.h"
#include "engine/media/DatafileWriter.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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
