// The game font as the game uses it: loaded from its datafile, drawn in its
// own colours (-1) with its palette.
#include "databuilder/art/FontPainter.h"
#include "databuilder/art/TrueTypeFont.h"
#include "engine/media/DatafileWriter.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

TEST(FontPainterTest, LightLettersInADarkEdgeOverAnyBackground)
{
    ScratchDir scratch;
    TrueTypeFont text;
    ASSERT_TRUE(text.isOpen()) << text.error();
    DatafileWriter out;
    FontPainter::paint(out, text);
    ASSERT_EQ(2, out.size());
    ASSERT_TRUE(out.save("font.dat"));
    DATAFILE* data = load_datafile("font.dat");
    ASSERT_NE(nullptr, data);
    ASSERT_EQ(DAT_FONT, data[0].type);
    ASSERT_EQ(DAT_PALETTE, data[1].type);
    FONT* f = static_cast<FONT*>(data[0].dat);

    // A line a little over 20 pixels, every printable character present.
    EXPECT_GE(text_height(f), 20);
    EXPECT_LE(text_height(f), 24);
    for (int ch = 32; ch <= 126; ++ch) {
        char s[2] = { static_cast<char>(ch), 0 };
        EXPECT_GT(text_length(f, s), 0) << "character " << ch;
    }
    EXPECT_LT(text_length(f, "iiii"), text_length(f, "WWWW"));

    select_palette(static_cast<RGB*>(data[1].dat));
    for (int background : { makecol(255, 255, 255), makecol(0, 0, 0), makecol(40, 140, 200) }) {
        BITMAP* target = create_bitmap(200, 40);
        clear_to_color(target, background);
        textout_ex(target, f, "Hello", 4, 4, -1, -1);
        int light = 0, dark = 0, untouched = 0;
        for (int y = 0; y < target->h; ++y) {
            for (int x = 0; x < target->w; ++x) {
                int c = getpixel(target, x, y);
                if (c == background) {
                    ++untouched;
                } else if (getr(c) + getg(c) + getb(c) > 600) {
                    ++light;
                } else if (getr(c) + getg(c) + getb(c) < 200) {
                    ++dark;
                }
            }
        }
        // Letters in light colours, edged in dark ones, and the space
        // between letters transparent.
        EXPECT_GT(light, 60);
        EXPECT_GT(dark, 60);
        EXPECT_GT(untouched, 200 * 40 / 2);
        destroy_bitmap(target);
    }
    unselect_palette();
    unload_datafile(data);
}
