#include "engine/media/DatafileWriter.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Keeps load_datafile from converting pictures to the screen depth while a
// test looks at what was stored.
class KeepDepths {
public:
    KeepDepths()
        : previous(get_color_conversion())
    {
        set_color_conversion(COLORCONV_NONE);
    }
    ~KeepDepths() { set_color_conversion(previous); }

private:
    int previous;
};

// A picture whose every pixel differs, in colours that survive the 5.6.5
// layout of the file at any depth.
BITMAP* makePattern(int depth, int w, int h)
{
    BITMAP* bmp = create_bitmap_ex(depth, w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int r = (x * 37 + y * 11) & 0xF8;
            int g = (x * 13 + y * 29) & 0xF8;
            int b = (x * 7 + y * 53) & 0xF8;
            putpixel(bmp, x, y, depth == 8 ? (x + y * w) & 0xFF : makecol_depth(depth, r, g, b));
        }
    }
    return bmp;
}

std::vector<char> readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string nameOf(const DATAFILE& object)
{
    return get_datafile_property(&object, DAT_NAME);
}

} // namespace

TEST(DatafileWriter, BitmapsComeBackPixelExactAtTheirOwnDepth)
{
    KeepDepths keep;
    const int depths[] = { 8, 15, 16, 24, 32 };
    DatafileWriter out;
    std::vector<BITMAP*> originals;
    for (int depth : depths) {
        originals.push_back(makePattern(depth, 13, 7));
        EXPECT_EQ(static_cast<int>(originals.size()) - 1, out.addBitmap(originals.back()));
    }
    ASSERT_TRUE(out.save("pictures.dat"));

    DATAFILE* loaded = load_datafile("pictures.dat");
    ASSERT_NE(nullptr, loaded);
    for (size_t i = 0; i < originals.size(); ++i) {
        SCOPED_TRACE(depths[i]);
        ASSERT_EQ(DAT_BITMAP, loaded[i].type);
        BITMAP* copy = static_cast<BITMAP*>(loaded[i].dat);
        ASSERT_EQ(depths[i], bitmap_color_depth(copy));
        ASSERT_EQ(13, copy->w);
        ASSERT_EQ(7, copy->h);
        int differences = 0;
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 13; ++x) {
                differences += getpixel(copy, x, y) != getpixel(originals[i], x, y);
            }
        }
        EXPECT_EQ(0, differences);
        destroy_bitmap(originals[i]);
    }
    EXPECT_EQ(DAT_END, loaded[originals.size()].type);
    unload_datafile(loaded);
}

TEST(DatafileWriter, RleSpritesDrawLikeTheirBitmaps)
{
    KeepDepths keep;
    for (int depth : { 8, 15, 16, 24, 32 }) {
        SCOPED_TRACE(depth);
        BITMAP* picture = makePattern(depth, 9, 5);
        // Transparent holes: a whole row, a run in the middle, a last column.
        int mask = bitmap_mask_color(picture);
        hline(picture, 0, 1, 8, mask);
        hline(picture, 3, 3, 5, mask);
        vline(picture, 8, 0, 4, mask);

        DatafileWriter out;
        ASSERT_EQ(0, out.addRleSprite(picture, "SHELL"));
        ASSERT_TRUE(out.save("rle.dat"));
        DATAFILE* loaded = load_datafile("rle.dat");
        ASSERT_NE(nullptr, loaded);
        ASSERT_EQ(DAT_RLE_SPRITE, loaded[0].type);
        RLE_SPRITE* sprite = static_cast<RLE_SPRITE*>(loaded[0].dat);
        EXPECT_EQ(9, sprite->w);
        EXPECT_EQ(5, sprite->h);

        BITMAP* expected = create_bitmap_ex(depth, 11, 7);
        BITMAP* actual = create_bitmap_ex(depth, 11, 7);
        clear_to_color(expected, depth == 8 ? 3 : makecol_depth(depth, 8, 200, 16));
        blit(expected, actual, 0, 0, 0, 0, 11, 7);
        draw_sprite(expected, picture, 1, 1);
        draw_rle_sprite(actual, sprite, 1, 1);
        int differences = 0;
        for (int y = 0; y < 7; ++y) {
            for (int x = 0; x < 11; ++x) {
                differences += getpixel(expected, x, y) != getpixel(actual, x, y);
            }
        }
        EXPECT_EQ(0, differences);
        destroy_bitmap(expected);
        destroy_bitmap(actual);
        destroy_bitmap(picture);
        unload_datafile(loaded);
    }
}

TEST(DatafileWriter, NestedFilesNamesPalettesAndRawData)
{
    PALETTE palette;
    for (int i = 0; i < PAL_SIZE; ++i) {
        palette[i].r = i & 63;
        palette[i].g = (i / 4) & 63;
        palette[i].b = 63 - (i & 63);
    }
    BITMAP* picture = makePattern(16, 4, 4);

    DatafileWriter out;
    EXPECT_EQ(0, out.addPalette(palette, "PAL"));
    EXPECT_EQ(1, out.addData({ 1, 2, 3, 250 }, "BYTES"));
    DatafileWriter& fish = out.addNested("FISH");
    EXPECT_EQ(0, fish.addBitmap(picture, "FISH_0"));
    DatafileWriter& deeper = fish.addNested();
    deeper.addData({ 9 });
    deeper.addData({});
    EXPECT_EQ(2, fish.addRleSprite(picture));
    EXPECT_EQ(3, out.addBitmap(picture));
    EXPECT_EQ(4, out.size());
    ASSERT_TRUE(out.save("nested.dat"));
    destroy_bitmap(picture);

    DATAFILE* loaded = load_datafile("nested.dat");
    ASSERT_NE(nullptr, loaded);
    ASSERT_EQ(DAT_PALETTE, loaded[0].type);
    const RGB* colours = static_cast<const RGB*>(loaded[0].dat);
    EXPECT_EQ(palette[77].r, colours[77].r);
    EXPECT_EQ(palette[77].g, colours[77].g);
    EXPECT_EQ(palette[255].b, colours[255].b);
    EXPECT_EQ("PAL", nameOf(loaded[0]));

    ASSERT_EQ(DAT_DATA, loaded[1].type);
    ASSERT_EQ(4, loaded[1].size);
    EXPECT_EQ(250, static_cast<unsigned char*>(loaded[1].dat)[3]);
    EXPECT_EQ("BYTES", nameOf(loaded[1]));

    ASSERT_EQ(DAT_FILE, loaded[2].type);
    EXPECT_EQ("FISH", nameOf(loaded[2]));
    DATAFILE* inner = static_cast<DATAFILE*>(loaded[2].dat);
    EXPECT_EQ(DAT_BITMAP, inner[0].type);
    EXPECT_EQ("FISH_0", nameOf(inner[0]));
    ASSERT_EQ(DAT_FILE, inner[1].type);
    DATAFILE* innermost = static_cast<DATAFILE*>(inner[1].dat);
    EXPECT_EQ(DAT_DATA, innermost[0].type);
    EXPECT_EQ(9, static_cast<unsigned char*>(innermost[0].dat)[0]);
    EXPECT_EQ(DAT_DATA, innermost[1].type);
    EXPECT_EQ(DAT_END, innermost[2].type);
    EXPECT_EQ(DAT_RLE_SPRITE, inner[2].type);
    EXPECT_EQ(DAT_END, inner[3].type);

    EXPECT_EQ(DAT_BITMAP, loaded[3].type);
    EXPECT_EQ("", nameOf(loaded[3]));
    EXPECT_EQ(DAT_END, loaded[4].type);
    unload_datafile(loaded);
}

TEST(DatafileWriter, FontsMeasureAndDrawTheirGlyphs)
{
    // 'A' is 3 wide, 'B' 5 wide, both 6 high; each glyph has one lit pixel
    // at its top-left corner and one at its bottom-right.
    std::vector<BITMAP*> glyphs;
    for (int w : { 3, 5 }) {
        BITMAP* glyph = create_bitmap_ex(8, w, 6);
        clear_to_color(glyph, 0);
        putpixel(glyph, 0, 0, 1);
        putpixel(glyph, w - 1, 5, 2);
        glyphs.push_back(glyph);
    }
    DatafileWriter out;
    EXPECT_EQ(0, out.addFont('A', glyphs, "FONT"));
    BITMAP* sixteen = create_bitmap_ex(16, 2, 2);
    EXPECT_EQ(-1, out.addFont('A', { sixteen }));
    EXPECT_EQ(-1, out.addFont('A', {}));
    destroy_bitmap(sixteen);
    ASSERT_TRUE(out.save("font.dat"));
    for (BITMAP* glyph : glyphs) {
        destroy_bitmap(glyph);
    }

    DATAFILE* loaded = load_datafile("font.dat");
    ASSERT_NE(nullptr, loaded);
    ASSERT_EQ(DAT_FONT, loaded[0].type);
    FONT* face = static_cast<FONT*>(loaded[0].dat);
    EXPECT_EQ(8, text_length(face, "AB"));
    EXPECT_EQ(6, text_height(face));

    BITMAP* target = create_bitmap_ex(16, 20, 10);
    clear_to_color(target, 0);
    int white = makecol16(255, 255, 255);
    textout_ex(target, face, "AB", 2, 1, white, -1);
    EXPECT_EQ(white, getpixel(target, 2, 1));
    EXPECT_EQ(white, getpixel(target, 4, 6));
    EXPECT_EQ(white, getpixel(target, 5, 1));
    EXPECT_EQ(white, getpixel(target, 9, 6));
    EXPECT_EQ(0, getpixel(target, 3, 1));
    EXPECT_EQ(0, getpixel(target, 10, 6));

    // In colour -1 the glyphs take their colours from the palette.
    PALETTE palette;
    get_palette(palette);
    palette[1].r = 0;
    palette[1].g = 63;
    palette[1].b = 0;
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
    auto build = [&](DatafileWriter& out) {
        out.addBitmap(picture, "LEVEL_1");
        out.addNested("SUB").addRleSprite(picture, "A");
        out.addData({ 5, 6, 7 });
    };
    DatafileWriter first;
    DatafileWriter second;
    build(first);
    build(second);
    destroy_bitmap(picture);
    ASSERT_TRUE(first.save("one.dat"));
    ASSERT_TRUE(second.save("two.dat"));
    EXPECT_EQ(readFile("one.dat"), readFile("two.dat"));
    EXPECT_EQ(first.contents(), second.contents());

    EXPECT_FALSE(first.save("no-such-folder/x.dat"));
    EXPECT_FALSE(exists("no-such-folder/x.dat.part"));
    EXPECT_FALSE(first.save(""));

    DatafileWriter bad;
    EXPECT_EQ(-1, bad.addBitmap(nullptr));
    EXPECT_EQ(-1, bad.addRleSprite(nullptr));
    EXPECT_EQ(0, bad.size());
}
