#include "game/play/LevelColours.h"

#include <allegro.h>
#include <gtest/gtest.h>

using Layer = LevelColours::TileLayer;
using Row = LevelColours::Row;

namespace {

const Row* rowOf(int r, int g, int b)
{
    return LevelColours::find(LevelColours::key(r, g, b));
}

} // namespace

TEST(LevelColoursTest, EachRowIsFoundByItsColourAndPlacesOneThing)
{
    const auto& rows = LevelColours::rows();
    ASSERT_EQ(38u, rows.size());
    for (const Row& row : rows) {
        EXPECT_EQ(&row, LevelColours::find(LevelColours::key(row))) << "row " << row.number;
        EXPECT_EQ(row.kind == LevelColours::Kind::TILE, row.layer != Layer::NONE) << "row " << row.number;
    }
    // The greys of the foreground write only that layer; white is the rock
    // that keeps tile 6.
    ASSERT_NE(nullptr, rowOf(50, 50, 50));
    EXPECT_EQ(Layer::FOREGROUND, rowOf(50, 50, 50)->layer);
    EXPECT_EQ(10, rowOf(50, 50, 50)->tileCode);
    EXPECT_EQ(Layer::FOREGROUND, rowOf(55, 55, 55)->layer);
    EXPECT_EQ(11, rowOf(55, 55, 55)->tileCode);
    EXPECT_EQ(Layer::MAIN, rowOf(255, 255, 255)->layer);
    EXPECT_EQ(6, rowOf(255, 255, 255)->tileCode);
    // The clam's pearl lies left of and below the centre; the puffer floats
    // half a cell low.
    EXPECT_EQ(4, rowOf(0, 255, 0)->treasureKind);
    EXPECT_EQ(-10, rowOf(0, 255, 0)->treasureOffsetX);
    EXPECT_EQ(35, rowOf(0, 255, 0)->treasureOffsetY);
    EXPECT_EQ(40, rowOf(255, 164, 64)->offsetY);

    EXPECT_EQ(nullptr, rowOf(8, 48, 96)); // the maps' open water
    EXPECT_EQ(nullptr, rowOf(254, 0, 0));
    EXPECT_EQ(nullptr, LevelColours::find(-1));
}

TEST(LevelColoursTest, PicturesOfAnyDepthReadTheFirstMatchingRow)
{
    // At 15 bits the two foreground greys meet: the earlier row wins.
    const Row* merged = LevelColours::findPixel(makecol_depth(15, 55, 55, 55), 15);
    ASSERT_NE(nullptr, merged);
    EXPECT_EQ(10, merged->tileCode);
    for (const Row& row : LevelColours::rows()) {
        EXPECT_EQ(&row, LevelColours::findPixel(makecol_depth(16, row.red, row.green, row.blue), 16))
            << "row " << row.number;
    }
    for (int depth : { 24, 32 }) {
        SCOPED_TRACE(depth);
        BITMAP* picture = create_bitmap_ex(depth, 2, 1);
        putpixel(picture, 0, 0, makecol_depth(depth, 55, 55, 55));
        putpixel(picture, 1, 0, makecol_depth(depth, 8, 48, 96));
        ASSERT_NE(nullptr, LevelColours::at(picture, 0, 0));
        EXPECT_EQ(11, LevelColours::at(picture, 0, 0)->tileCode);
        EXPECT_EQ(nullptr, LevelColours::at(picture, 1, 0));
        EXPECT_EQ(nullptr, LevelColours::at(picture, 2, 0));
        EXPECT_EQ(nullptr, LevelColours::at(picture, 0, -1));
        destroy_bitmap(picture);
    }
    EXPECT_EQ(nullptr, LevelColours::at(nullptr, 0, 0));
}
