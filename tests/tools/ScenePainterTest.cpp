// The tile sets as the tile map joins them: the solid pieces 0-6 must meet
// their neighbours without a transparent seam, and open ends must be cut.
#include "databuilder/art/ScenePainter.h"
#include "databuilder/art/TrueTypeFont.h"
#include "engine/media/DatafileWriter.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {

bool columnOpaque(BITMAP* tile, int x)
{
    for (int y = 0; y < tile->h; ++y) {
        if (getpixel(tile, x, y) == bitmap_mask_color(tile)) {
            return false;
        }
    }
    return true;
}

bool rowOpaque(BITMAP* tile, int y)
{
    for (int x = 0; x < tile->w; ++x) {
        if (getpixel(tile, x, y) == bitmap_mask_color(tile)) {
            return false;
        }
    }
    return true;
}

bool transparent(BITMAP* tile, int x, int y)
{
    return getpixel(tile, x, y) == bitmap_mask_color(tile);
}

} // namespace

TEST(ScenePainterTest, SolidTilesJoinIntoRunsAndRoundTheirOpenEnds)
{
    ScratchDir scratch;
    TrueTypeFont text;
    void (*sets[])(DatafileWriter&, const TrueTypeFont&) = { ScenePainter::reefTiles,
        ScenePainter::wreckTiles, ScenePainter::ruinTiles, ScenePainter::lairTiles };
    for (auto paint : sets) {
        DatafileWriter out;
        paint(out, text);
        ASSERT_EQ(17, out.size()) << "tile codes 0 to 16";
        ASSERT_TRUE(out.save("tiles.dat"));
        DATAFILE* data = load_datafile("tiles.dat");
        ASSERT_NE(nullptr, data);
        BITMAP* t[17];
        for (int code = 0; code < 17; ++code) {
            ASSERT_EQ(DAT_BITMAP, data[code].type);
            t[code] = static_cast<BITMAP*>(data[code].dat);
        }
        for (int code = 0; code <= 6; ++code) {
            EXPECT_EQ(80, t[code]->w);
            EXPECT_EQ(80, t[code]->h);
        }
        // Horizontal runs: 1 | 2 | 2 | 3.
        EXPECT_TRUE(columnOpaque(t[1], 79));
        EXPECT_TRUE(columnOpaque(t[2], 0));
        EXPECT_TRUE(columnOpaque(t[2], 79));
        EXPECT_TRUE(columnOpaque(t[3], 0));
        EXPECT_TRUE(transparent(t[1], 0, 0));
        EXPECT_TRUE(transparent(t[3], 79, 79));
        // Stacked rows of a thick wall meet top to bottom.
        EXPECT_TRUE(rowOpaque(t[2], 79));
        // Vertical runs: 4 over 5 over 6.
        EXPECT_TRUE(rowOpaque(t[4], 79));
        EXPECT_TRUE(rowOpaque(t[5], 0));
        EXPECT_TRUE(rowOpaque(t[5], 79));
        EXPECT_TRUE(rowOpaque(t[6], 0));
        EXPECT_TRUE(transparent(t[4], 0, 0));
        EXPECT_TRUE(transparent(t[6], 0, 79));
        // A lone block is rounded at every corner.
        EXPECT_TRUE(transparent(t[0], 0, 0) && transparent(t[0], 79, 0) && transparent(t[0], 0, 79)
            && transparent(t[0], 79, 79));
        // Scenery is drawn over water: mostly see-through, never empty.
        for (int code = 7; code <= 16; ++code) {
            int opaque = 0;
            for (int y = 0; y < t[code]->h; ++y) {
                for (int x = 0; x < t[code]->w; ++x) {
                    opaque += transparent(t[code], x, y) ? 0 : 1;
                }
            }
            EXPECT_GT(opaque, 150) << "tile " << code;
            EXPECT_LT(opaque, t[code]->w * t[code]->h * 3 / 4) << "tile " << code;
        }
        unload_datafile(data);
    }
}

TEST(ScenePainterTest, BackgroundsAndTheMapFillTheWholeScreen)
{
    ScratchDir scratch;
    TrueTypeFont text;
    void (*pictures[])(DatafileWriter&, const TrueTypeFont&)
        = { ScenePainter::reefBackground, ScenePainter::wreckBackground, ScenePainter::cityBackground,
              ScenePainter::shoreBackground, ScenePainter::lairBackground, ScenePainter::worldMap };
    for (auto paint : pictures) {
        DatafileWriter out;
        paint(out, text);
        ASSERT_TRUE(out.save("picture.dat"));
        DATAFILE* data = load_datafile("picture.dat");
        ASSERT_NE(nullptr, data);
        BITMAP* picture = static_cast<BITMAP*>(data[0].dat);
        EXPECT_EQ(800, picture->w);
        EXPECT_EQ(600, picture->h);
        // Layer 0 is drawn without clearing the screen: a see-through pixel
        // would leave the last frame showing through.
        int holes = 0;
        for (int y = 0; y < picture->h; ++y) {
            for (int x = 0; x < picture->w; ++x) {
                holes += transparent(picture, x, y) ? 1 : 0;
            }
        }
        EXPECT_EQ(0, holes);
        unload_datafile(data);
    }
}
