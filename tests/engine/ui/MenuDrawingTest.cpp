#include "engine/ui/Menu.h"
#include "engine/ui/MenuEntry.h"
#include "engine/ui/MenuSlider.h"
#include "engine/ui/MenuTextField.h"
#include "engine/ui/TextSprite.h"

#include "MenuInput.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

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

class MenuDrawingTest : public ::testing::Test {
protected:
    void SetUp() override { resetMenuInput(); }
    void TearDown() override { resetMenuInput(); }

    const int white = makecol(255, 255, 255);
    const int blue = makecol(0, 0, 200);
    const int black = makecol(0, 0, 0);
};

TEST_F(MenuDrawingTest, TextSpriteMeasuresWithAllegroWithoutAnEngine)
{
    TextSprite label;
    label.text = "Hello";
    EXPECT_EQ(label.textWidth(), text_length(font, "Hello"));
    EXPECT_EQ(label.lineHeight(), text_height(font));
    EXPECT_EQ(label.font, font);
    EXPECT_EQ(label.colour, -1);

    label.x = 100.0f;
    label.y = 10.0f;
    label.alignment = 1;
    Sprite::Bounds centred = label.getBounds();
    EXPECT_EQ(centred.left, 100 - label.textWidth() / 2);
    EXPECT_EQ(centred.right - centred.left, label.textWidth());
    EXPECT_EQ(centred.bottom - centred.top, label.lineHeight());
}

TEST_F(MenuDrawingTest, TextSpriteDrawsBoxShadowAndText)
{
    TextSprite label;
    label.text = "HH";
    label.colour = white;
    label.x = 4.0f;
    label.y = 4.0f;
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

    label.visible = false;
    Canvas hidden(40, 20, blue);
    label.draw(hidden.bitmap);
    EXPECT_EQ(hidden.count(blue), 40 * 20);
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

TEST_F(MenuDrawingTest, SliderShowsABarAndTextFieldACursor)
{
    std::string name = "Bo";
    Menu menu;
    MenuSlider* slider = menu.addSlider("Main", "Music", 255, 255);
    MenuTextField* field = menu.addTextField("Main", "Name:", &name, 20);
    slider->colour = field->colour = white;
    menu.linkTo("Main");
    int height = slider->lineHeight();

    Canvas canvas(240, 40, black);
    menu.draw(canvas.bitmap);
    // A full bar fills the stretch from 100 to 200 pixels.
    EXPECT_GT(canvas.count(white, 101, 0, 200, height), 90 * (height - 2));

    field->cursorVisible = true;
    Canvas cursor(240, 40, black);
    menu.draw(cursor.bitmap);
    int after = field->textWidth();
    EXPECT_EQ(canvas.count(white, after, height, after + 8, 2 * height), 0);
    EXPECT_GT(cursor.count(white, after, height, after + 8, 2 * height), 0);
}

} // namespace
