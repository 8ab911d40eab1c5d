#include "databuilder/art/Brush.h"
#include "databuilder/art/Random.h"
#include "databuilder/art/TrueTypeFont.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {

int opaquePixels(BITMAP* picture)
{
    int n = 0;
    for (int y = 0; y < picture->h; ++y) {
        for (int x = 0; x < picture->w; ++x) {
            n += Brush::isMask(picture, x, y) ? 0 : 1;
        }
    }
    return n;
}

} // namespace

TEST(BrushTest, ColoursNearMagentaNeverTurnTransparent)
{
    // At 16 bits many pinks round to the mask colour; a shaded pink fish
    // would get holes.
    for (int r = 240; r <= 255; ++r) {
        for (int b = 240; b <= 255; ++b) {
            for (int g = 0; g <= 4; ++g) {
                EXPECT_NE(Brush::mask(), Brush::pixel(Rgb(r, g, b)));
            }
        }
    }
    BITMAP* picture = Brush::picture(8, 8);
    EXPECT_EQ(0, opaquePixels(picture));
    destroy_bitmap(picture);
}

TEST(BrushTest, OutlinesRingShapesAndDrawingOffThePictureIsClipped)
{
    BITMAP* picture = Brush::picture(40, 40);
    Brush::disc(picture, 20, 20, 8, Rgb(200, 100, 50));
    int before = opaquePixels(picture);
    Brush::outline(picture, Rgb(0, 0, 0));
    int after = opaquePixels(picture);
    EXPECT_GT(after, before);
    EXPECT_LT(after, before + 80);
    EXPECT_EQ(Rgb(0, 0, 0).r, Brush::colourAt(picture, 20, 11).r) << "the edge is just outside the disc";
    EXPECT_TRUE(Brush::isMask(picture, 2, 2));

    // Shapes reaching past every side of the picture.
    Brush::Shading shading { Rgb(255, 0, 0), Rgb(0, 0, 255), 0.5f, 0.5f };
    Brush::blob(picture, -5, -5, 30, 30, 30, 30, 0.7f, shading);
    Brush::stroke(picture, { -50, 20, 20, 90, 90, -10 }, 12, 2, Rgb(10, 200, 10));
    Brush::ring(picture, 40, 40, 30, 5, Rgb(1, 2, 3));
    Brush::halo(picture, 45, -3, 20, Rgb(255, 255, 0), 1.0f);
    Brush::eye(picture, 0, 39, 9, 1, 1, 0.5f);
    BITMAP* turned = Brush::rotated(picture, 1.0f);
    EXPECT_EQ(40, turned->w);
    destroy_bitmap(turned);
    destroy_bitmap(picture);
}

TEST(RandomTest, SameNameSameNumbersAndRangesIncludeBothEnds)
{
    Random a("coin"), b("coin"), c("crab");
    bool differs = false;
    for (int i = 0; i < 20; ++i) {
        std::uint32_t x = a.next();
        EXPECT_EQ(x, b.next());
        differs = differs || x != c.next();
    }
    EXPECT_TRUE(differs);

    Random r(7);
    bool low = false, high = false;
    for (int i = 0; i < 1000; ++i) {
        int v = r.range(3, 6);
        ASSERT_GE(v, 3);
        ASSERT_LE(v, 6);
        low = low || v == 3;
        high = high || v == 6;
        float u = r.unit();
        ASSERT_GE(u, 0.0f);
        ASSERT_LT(u, 1.0f);
    }
    EXPECT_TRUE(low && high);
    EXPECT_EQ(5, r.range(5, 2));
}

TEST(TrueTypeFontTest, AMissingFontIsReportedAndDrawsNothing)
{
    TrueTypeFont missing("/nowhere/font.ttf");
    EXPECT_FALSE(missing.isOpen());
    EXPECT_NE(std::string::npos, missing.error().find("/nowhere/font.ttf"));
    EXPECT_EQ(0, missing.render("Hello", 20).width);
    BITMAP* picture = Brush::picture(50, 20);
    missing.draw(picture, "Hello", 25, 10, 20, Rgb(255, 255, 255), Rgb(255, 255, 255), Rgb(0, 0, 0), 2);
    EXPECT_EQ(0, opaquePixels(picture));

    TrueTypeFont font;
    ASSERT_TRUE(font.isOpen());
    EXPECT_EQ(0, font.render("", 20).width);
    font.draw(picture, "Hello", 25, 10, 20, Rgb(255, 255, 255), Rgb(255, 255, 255), Rgb(0, 0, 0), 2);
    EXPECT_GT(opaquePixels(picture), 50);
    EXPECT_GT(font.advance('W', 20), font.advance('i', 20));
    destroy_bitmap(picture);
}
