#include "engine/ui/Menu.h"
#include "engine/ui/MenuEntry.h"
#include "engine/ui/TextSprite.h"

#include "MenuInputTest.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {

// A memory bitmap that is freed with the test.
struct Canvas {
    Canvas(int width, int height, int background)
        : bitmap(create_bitmap(width, height))
    {
        clear_to_color(bitmap, background);
    }
    ~Canvas() { destroy_bitmap(bitmap); }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    int count(int colour, int left, int top, int right, int bottom) const
    {
        int found = 0;
        for (int py = top; py < bottom; ++py) {
            for (int px = left; px < right; ++px) {
                found += getpixel(bitmap, px, py) == colour ? 1 : 0;
            }
        }
        return found;
    }
    int count(int colour) const { return count(colour, 0, 0, bitmap->w, bitmap->h); }

    BITMAP* bitmap;
};

class MenuDrawingTest : public MenuInputTest {
protected:
    const int white = makecol(255, 255, 255);
    const int blue = makecol(0, 0, 200);
    const int black = makecol(0, 0, 0);
};

TEST_F(MenuDrawingTest, TextSpriteDrawsBoxShadowAndText)
{
    TextSprite label;
    label.text = "HH";
    label.colour = white;
    label.x = 4.0f + label.textWidth() / 2;
    label.y = 4.0f;
    label.alignment = 1;
    int width = label.textWidth();
    int height = label.lineHeight();

    Canvas plain(40, 20, blue);
    label.draw(plain.bitmap);
    int textPixels = plain.count(white);
    EXPECT_GT(textPixels, 0);
    EXPECT_EQ(plain.count(white, 0, 0, 4, 20), 0);
    EXPECT_EQ(plain.count(black), 0);

    label.boxed = true;
    Canvas boxed(40, 20, blue);
    label.draw(boxed.bitmap);
    EXPECT_EQ(boxed.count(white), textPixels);
    // Everything in the box that is not text is darkened; outside, nothing.
    int inBox = boxed.count(blue, 4, 4, 4 + width, 4 + height);
    EXPECT_EQ(inBox, 0);
    EXPECT_EQ(boxed.count(blue), 40 * 20 - width * height);

    label.boxed = false;
    label.shadowOffset = 1;
    Canvas shadowed(40, 20, blue);
    label.draw(shadowed.bitmap);
    EXPECT_EQ(shadowed.count(white), textPixels);
    EXPECT_GT(shadowed.count(black), 0);
}

TEST_F(MenuDrawingTest, TextSpriteAlignedTopRightEndsAtItsPosition)
{
    // A line anchored to the right edge of the screen stays all in sight.
    TextSprite label;
    label.text = "HH";
    label.colour = white;
    label.alignment = 3;
    label.x = 40.0f;
    label.y = 4.0f;
    Sprite::Bounds bounds = label.getBounds();
    EXPECT_EQ(40, bounds.right);
    EXPECT_EQ(40 - label.textWidth(), bounds.left);

    Canvas edge(40, 20, blue);
    label.draw(edge.bitmap);
    EXPECT_GT(edge.count(white), 0);
    EXPECT_EQ(edge.count(white, 0, 0, 40 - label.textWidth(), 20), 0);
}

TEST_F(MenuDrawingTest, HighlightedLineGlowsAndDisabledLineIsNotDrawn)
{
    Menu menu;
    menu.x = 10.0f;
    menu.y = 10.0f;
    MenuEntry* first = menu.addAction("Main", "Same", "a");
    MenuEntry* second = menu.addAction("Main", "Same", "b");
    first->colour = second->colour = makecol(200, 200, 200);
    menu.linkTo("Main");
    menu.update(1.0f);
    int height = first->lineHeight();

    Canvas canvas(120, 60, black);
    menu.draw(canvas.bitmap);
    int firstLit = 120 * height - canvas.count(black, 0, 10, 120, 10 + height);
    int secondLit = 120 * height - canvas.count(black, 0, 10 + height, 120, 10 + 2 * height);
    EXPECT_GT(secondLit, 0);
    EXPECT_GT(firstLit, secondLit);
    // The glow reaches a little outside the label.
    EXPECT_GT(120 * 10 - canvas.count(black, 0, 0, 120, 10), 0);

    // A new label gets a new glow picture.
    first->text = "A longer label";
    Canvas again(160, 60, black);
    menu.draw(again.bitmap);
    ASSERT_NE(first->glowBitmap, nullptr);
    EXPECT_EQ(first->glowBitmap->w, first->textWidth() + 2 * MenuEntry::GLOW_BORDER);

    second->enabled = false;
    Canvas without(160, 60, black);
    menu.draw(without.bitmap);
    EXPECT_EQ(without.count(black, 0, 10 + height + MenuEntry::GLOW_BORDER, 160, 60),
        160 * (50 - height - MenuEntry::GLOW_BORDER));
}

} // namespace
