#include "game/play/TileMap.h"

#include "engine/media/DatafileManager.h"
#include "engine/media/DatafileWriter.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

// '#' rock to be shaped, '@' rock that keeps tile 6, anything else water.
void paint(TileMap& map, const std::vector<std::string>& rows, int left, int top)
{
    for (size_t y = 0; y < rows.size(); ++y) {
        for (size_t x = 0; x < rows[y].size(); ++x) {
            if (rows[y][x] == '#' || rows[y][x] == '@') {
                map.setTile(left + static_cast<int>(x), top + static_cast<int>(y), rows[y][x] == '#' ? 0 : 6);
            }
        }
    }
}

std::vector<int> cells(const TileMap& map, int x, int y, int dx, int dy, int count)
{
    std::vector<int> codes;
    for (int k = 0; k < count; ++k) {
        codes.push_back(map.getTile(x + k * dx, y + k * dy));
    }
    return codes;
}

} // namespace

TEST(TileMapTest, OutsideTheGridIsRockAndIsNeverWritten)
{
    TileMap map;
    EXPECT_EQ(0, map.getTile(-1, 5));
    EXPECT_EQ(0, map.getTile(300, 0));
    EXPECT_TRUE(map.isTileBlocked(0, 150));
    EXPECT_EQ(-1, map.getTile(299, 149));
    // In a flat column-major grid these would land on (1, 0), (0, 0) and
    // past the end.
    map.setTile(0, 150, 7);
    map.setTile(-1, 150, 7);
    map.setTile(300, 149, 7);
    EXPECT_EQ(-1, map.getTile(1, 0));
    EXPECT_EQ(-1, map.getTile(0, 0));
    EXPECT_EQ(-1, map.getTile(299, 149));

    for (int code = -1; code <= 16; ++code) {
        map.setTile(3, 4, code);
        EXPECT_EQ(code >= 0 && code <= 6, map.isTileBlocked(3, 4)) << "code " << code;
    }
}

TEST(TileMapTest, AutoTilingShapesRunsColumnsCornersAndEdges)
{
    TileMap map;
    paint(map,
        { "..........", ".#........", "..........", "...###....", "..........", ".......#..", ".......#..",
            ".......#..", "..........", "..##......", "..#.......", "..#.......", "..#.......", "..........",
            "....@.....", "....#....." },
        10, 10);
    paint(map, { "##." }, 0, 5); // left edge of the grid
    paint(map, { ".#." }, 20, 0); // top edge, water below
    map.autoTile();
    EXPECT_EQ(0, map.getTile(11, 11)) << "a lone block keeps the plain shape";
    EXPECT_EQ((std::vector<int> { 1, 2, 3 }), cells(map, 13, 13, 1, 0, 3));
    EXPECT_EQ((std::vector<int> { 4, 5, 6 }), cells(map, 17, 15, 0, 1, 3));
    // A corner: the column under the end of a run starts afresh as a top.
    EXPECT_EQ((std::vector<int> { 1, 4, 5, 6 }), cells(map, 12, 19, 0, 1, 4));
    // Fixed rock is not a top for the block below it.
    EXPECT_EQ(6, map.getTile(14, 24));
    EXPECT_EQ(0, map.getTile(14, 25));
    // Beyond column 0 counts as open, above row 0 as rock.
    EXPECT_EQ((std::vector<int> { 1, 3 }), cells(map, 0, 5, 1, 0, 2));
    EXPECT_EQ(6, map.getTile(21, 0));
}

namespace {

constexpr int CELL = 4;

class TileMapDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directory("dat");
        DatafileManager::setDirectory("dat/");
        red = makecol(255, 0, 0);
        green = makecol(0, 255, 0);
        BITMAP* block = create_bitmap(CELL, CELL);
        clear_to_color(block, red);
        putpixel(block, 0, 0, bitmap_mask_color(block)); // a see-through corner
        BITMAP* tall = create_bitmap(CELL, 2 * CELL); // reaches over the cell below
        clear_to_color(tall, green);
        DatafileWriter out;
        out.addBitmap(block);
        out.addBitmap(tall);
        out.addData({ 0 }); // the cache leaves a file's last object out of reach
        ASSERT_TRUE(out.save("dat/tiletest.dat"));
        destroy_bitmap(block);
        destroy_bitmap(tall);
        map.cellWidth = map.cellHeight = CELL;
        map.setTileSet("tiletest.dat");
        ASSERT_EQ(2, map.tileCount());
        target = create_bitmap(40, 40);
        clear_to_color(target, 0);
    }

    void TearDown() override { destroy_bitmap(target); }

    int at(int x, int y) { return getpixel(target, x, y); }

    bool drawsNothing()
    {
        clear_to_color(target, 0);
        map.draw(target);
        for (int y = 0; y < target->h; ++y) {
            for (int x = 0; x < target->w; ++x) {
                if (at(x, y) != 0) {
                    return false;
                }
            }
        }
        return true;
    }

    ScratchDir scratch; // made before the map and removed after it
    TileMap map;
    BITMAP* target = nullptr;
    int red = 0, green = 0;
};

} // namespace

TEST_F(TileMapDrawTest, TilesLandAtTheirCellsFromTheMapsPosition)
{
    map.x = 2;
    map.y = 1;
    map.setTile(1, 1, 0);
    map.draw(target);
    // Cell (1, 1) covers (6, 5) to (9, 8); its top-left pixel is see-through.
    EXPECT_EQ(0, at(6, 5));
    EXPECT_EQ(red, at(7, 5));
    EXPECT_EQ(red, at(9, 8));
    EXPECT_EQ(0, at(10, 8));
    EXPECT_EQ(0, at(9, 9));

    // Scrolled far along the level and off the grid lines: the cells cut by
    // both edges of the screen are drawn.
    clear_to_color(target, 0);
    map.x = -100 * CELL - 2;
    map.y = 0;
    map.setTile(100, 2, 0);
    map.setTile(110, 9, 0);
    map.draw(target);
    EXPECT_EQ(red, at(1, 2 * CELL + 1));
    EXPECT_EQ(red, at(39, 39));
}

TEST_F(TileMapDrawTest, BottomUpLetsATallTileOverlapTheCellBelow)
{
    map.setTile(3, 0, 1);
    map.setTile(3, 1, 0);
    map.draw(target);
    EXPECT_EQ(red, at(3 * CELL + 1, CELL + 1)) << "top down: the lower cell is drawn last";
    clear_to_color(target, 0);
    map.bottomUp = true;
    map.draw(target);
    EXPECT_EQ(green, at(3 * CELL + 1, CELL + 1)) << "bottom up: the taller picture above covers it";
}

TEST_F(TileMapDrawTest, NothingIsDrawnForWaterMissingPicturesOrAHiddenMap)
{
    map.setTile(1, 1, -1);
    map.setTile(2, 1, 2); // the file's last object
    map.setTile(3, 1, 99);
    map.setTile(4, 1, -7);
    EXPECT_TRUE(drawsNothing());
    map.setTile(1, 1, 0);
    map.visible = false;
    EXPECT_TRUE(drawsNothing());
    map.visible = true;
    map.alpha = 0.0f;
    EXPECT_TRUE(drawsNothing());
    map.alpha = 255.0f;
    map.pass = 1;
    EXPECT_TRUE(drawsNothing());
    map.pass = 0;
    EXPECT_FALSE(drawsNothing());
}
