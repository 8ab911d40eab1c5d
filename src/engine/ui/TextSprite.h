#pragma once

#include "engine/media/Sprite.h"

#include <allegro.h>

#include <string>

// One line of text in a font: optionally on a dark translucent box and with
// a drop shadow. Alignment 0 starts the text at x, 1 centres it on x, 3
// ends it at x; y is the top of the line.
class TextSprite : public Sprite {
public:
    TextSprite();

    void updateBounds() override;
    void draw(BITMAP* target) override;

    // Size of the current text in the current font, in pixels.
    int textWidth() const;
    int lineHeight() const;
    // Left edge of the text as drawn at horizontal position drawX.
    int textLeft(int drawX) const;

    // Measuring and drawing through the engine when there is one, else
    // straight through Allegro. A null font measures 0 and draws nothing.
    static int measureLength(const std::string& s, FONT* textFont);
    static int measureHeight(FONT* textFont);
    static void renderText(BITMAP* target, FONT* textFont, const std::string& s, int x, int y, int colour);

    bool boxed = false;
    std::string text;
    int colour = -1;
    FONT* font;
    int shadowOffset = 0;
};
