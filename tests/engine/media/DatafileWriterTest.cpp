#include "engine/media/DatafileWriter.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// A picture whose every pixel differs, in colours that survive the 5.6.5
// layout of the file at any depth.
BITMAP* makePattern(int depth, int w, int h)
{
    BITMAP* bmp = create_bitmap_ex(depth, w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int r = (x * 37 + y * 11) & 0xF8, g = (x * 13 + y * 29) & 0xF8, b = (x * 7 + y * 53) & 0xF8;
            putpixel(bmp, x, y, depth == 8 ? (x + y * w) & 0xFF : makecol_depth(depth, r, g, b));
        }
    }
    return bmp;
}

int differences(BITMAP* a, BITMAP* b)
{
    int n = 0;
    for (int y = 0; y < a->h; ++y) {
        for (int x = 0; x < a->w; ++x) {
            n += getpixel(a, x, y) != getpixel(b, x, y);
        }
    }
    return n;
}

std::string nameOf(const DATAFILE& object)
{
    return get_datafile_property(&object, DAT_NAME);
}

} // namespace

TEST(DatafileWriter, PicturesComeBackExactlyAtTheirOwnDepth)
{
    int previous = get_color_conversion();
    set_color_conversion(COLORCONV_NONE); // look at what was stored
    for (int depth : { 8, 15, 16, 24, 32 }) {
        SCOPED_TRACE(depth);
        BITMAP* picture = makePattern(depth, 13, 7);
        // Transparent holes for the run-length form: a row, a run, a column.
        int mask = bitmap_mask_color(picture);
        hline(picture, 0, 1, 12, mask);
        hline(picture, 3, 3, 5, mask);
        vline(picture, 12, 0, 6, mask);
        DatafileWriter out;
        EXPECT_EQ(0, out.addBitmap(picture));
        EXPECT_EQ(1, out.addRleSprite(picture));
        ASSERT_TRUE(out.save("pictures.dat"));

        DATAFILE* loaded = load_datafile("pictures.dat");
        ASSERT_NE(nullptr, loaded);
        ASSERT_EQ(DAT_BITMAP, loaded[0].type);
        BITMAP* copy = static_cast<BITMAP*>(loaded[0].dat);
        ASSERT_EQ(depth, bitmap_color_depth(copy));
        ASSERT_TRUE(copy->w == 13 && copy->h == 7);
        EXPECT_EQ(0, differences(picture, copy));

        ASSERT_EQ(DAT_RLE_SPRITE, loaded[1].type);
        BITMAP* expected = create_bitmap_ex(depth, 15, 9);
        BITMAP* actual = create_bitmap_ex(depth, 15, 9);
        clear_to_color(expected, 3);
        clear_to_color(actual, 3);
        draw_sprite(expected, picture, 1, 1);
        draw_rle_sprite(actual, static_cast<RLE_SPRITE*>(loaded[1].dat), 1, 1);
        EXPECT_EQ(0, differences(expected, actual));
        EXPECT_EQ(DAT_END, loaded[2].type);
        destroy_bitmap(expected);
        destroy_bitmap(actual);
        destroy_bitmap(picture);
        unload_datafile(loaded);
    }
    set_color_conversion(previous);
}

TEST(DatafileWriter, NestedFilesNamesPalettesAndRawData)
{
    PALETTE palette;
    for (int i = 0; i < PAL_SIZE; ++i) {
        palette[i] = RGB { static_cast<unsigned char>(i & 63), static_cast<unsigned char>(i / 4), 9, 0 };
    }
    BITMAP* picture = makePattern(16, 4, 4);
    DatafileWriter out;
    out.addPalette(palette, "PAL");
    out.addData({ 1, 2, 3, 250 }, "BYTES");
    DatafileWriter& fish = out.addNested("FISH");
    fish.addBitmap(picture, "FISH_0");
    fish.addNested().addData({ 9 });
    EXPECT_EQ(3, out.addBitmap(picture));
    ASSERT_TRUE(out.save("nested.dat"));
    destroy_bitmap(picture);

    DATAFILE* loaded = load_datafile("nested.dat");
    ASSERT_NE(nullptr, loaded);
    ASSERT_EQ(DAT_PALETTE, loaded[0].type);
    const RGB* colours = static_cast<const RGB*>(loaded[0].dat);
    EXPECT_TRUE(colours[77].r == 13 && colours[77].g == 19 && colours[255].b == 9);
    EXPECT_EQ("PAL", nameOf(loaded[0]));
    ASSERT_TRUE(loaded[1].type == DAT_DATA && loaded[1].size == 4);
    EXPECT_EQ(250, static_cast<unsigned char*>(loaded[1].dat)[3]);
    ASSERT_EQ(DAT_FILE, loaded[2].type);
    EXPECT_EQ("FISH", nameOf(loaded[2]));
    DATAFILE* inner = static_cast<DATAFILE*>(loaded[2].dat);
    EXPECT_EQ("FISH_0", nameOf(inner[0]));
    ASSERT_EQ(DAT_FILE, inner[1].type);
    EXPECT_EQ(9, static_cast<unsigned char*>(static_cast<DATAFILE*>(inner[1].dat)[0].dat)[0]);
    EXPECT_EQ(DAT_END, inner[2].type);
    EXPECT_EQ("", nameOf(loaded[3]));
    EXPECT_EQ(DAT_END, loaded[4].type);
    unload_datafile(loaded);
}

TEST(DatafileWriter, FontsMeasureAndDrawTheirGlyphs)
{
    // 'A' is 3 wide, 'B' 5, both 6 high; colour 1 top-left, 2 bottom-right.
    std::vector<BITMAP*> glyphs;
    for (int w : { 3, 5 }) {
        glyphs.push_back(create_bitmap_ex(8, w, 6));
        clear_to_color(glyphs.back(), 0);
        putpixel(glyphs.back(), 0, 0, 1);
        putpixel(glyphs.back(), w - 1, 5, 2);
    }
    DatafileWriter out;
    EXPECT_EQ(0, out.addFont('A', glyphs, "FONT"));
    BITMAP* sixteen = create_bitmap_ex(16, 2, 2);
    EXPECT_EQ(-1, out.addFont('A', { sixteen }));
    EXPECT_EQ(-1, out.addFont('A', {}));
    destroy_bitmap(sixteen);
    for (BITMAP* glyph : glyphs) {
        destroy_bitmap(glyph);
    }
    ASSERT_TRUE(out.save("font.dat"));

    DATAFILE* loaded = load_datafile("font.dat");
    ASSERT_TRUE(loaded != nullptr && loaded[0].type == DAT_FONT);
    FONT* face = static_cast<FONT*>(loaded[0].dat);
    EXPECT_EQ(8, text_length(face, "AB"));
    EXPECT_EQ(6, text_height(face));
    BITMAP* target = create_bitmap_ex(16, 20, 10);
    clear_to_color(target, 0);
    int white = makecol16(255, 255, 255);
    textout_ex(target, face, "AB", 2, 1, white, -1);
    EXPECT_TRUE(getpixel(target, 2, 1) == white && getpixel(target, 4, 6) == white);
    EXPECT_TRUE(getpixel(target, 5, 1) == white && getpixel(target, 9, 6) == white);
    EXPECT_TRUE(getpixel(target, 3, 1) == 0 && getpixel(target, 10, 6) == 0);

    // In colour -1 the glyphs take their colours from the palette.
    PALETTE palette;
    get_palette(palette);
    palette[1] = RGB { 0, 63, 0, 0 };
    select_palette(palette);
    clear_to_color(target, 0);
    textout_ex(target, face, "A", 0, 0, -1, -1);
    unselect_palette();
    EXPECT_EQ(makecol16(0, 255, 0), getpixel(target, 0, 0));
    EXPECT_EQ(0, getpixel(target, 1, 0));
    destroy_bitmap(target);
    unload_datafile(loaded);
}

TEST(DatafileWriter, SavingIsDeterministicAndNeverLeavesHalfFiles)
{
    BITMAP* picture = makePattern(24, 30, 20);
    DatafileWriter first, second;
    for (DatafileWriter* out : { &first, &second }) {
        out->addBitmap(picture, "LEVEL_1");
        out->addNested("SUB").addRleSprite(picture, "A");
    }
    destroy_bitmap(picture);
    ASSERT_TRUE(first.save("one.dat") && second.save("two.dat"));
    auto bytes = [](const char* path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    EXPECT_EQ(bytes("one.dat"), bytes("two.dat"));

    EXPECT_FALSE(first.save("no-such-folder/x.dat"));
    EXPECT_FALSE(exists("no-such-folder/x.dat.part"));
    EXPECT_EQ(-1, first.addBitmap(nullptr));
    EXPECT_EQ(-1, first.addRleSprite(nullptr));
    EXPECT_EQ(2, first.size());
}
