#include "engine/ui/TextSprite.h"

#include "engine/core/Engine.h"

TextSprite::TextSprite()
    : font(::font)
{
}

int TextSprite::measureLength(const std::string& s, FONT* textFont)
{
    if (Engine* engine = Engine::instance()) {
        return engine->textLength(s, textFont);
    }
    return textFont != nullptr ? text_length(textFont, s.c_str()) : 0;
}

int TextSprite::measureHeight(FONT* textFont)
{
    if (Engine* engine = Engine::instance()) {
        return engine->textHeight(textFont);
    }
    return textFont != nullptr ? text_height(textFont) : 0;
}

void TextSprite::renderText(BITMAP* target, FONT* textFont, const std::string& s, int x, int y, int colour)
{
    if (target == nullptr || textFont == nullptr) {
        return;
    }
    if (Engine* engine = Engine::instance()) {
        engine->drawText(target, textFont, s, x, y, colour);
        return;
    }
    textout_ex(target, textFont, s.c_str(), x, y, colour, -1);
}

int TextSprite::textWidth() const
{
    return measureLength(text, font);
}

int TextSprite::lineHeight() const
{
    return measureHeight(font);
}

int TextSprite::textLeft(int drawX) const
{
    if (alignment == 1) {
        return drawX - textWidth() / 2;
    }
    // Top-right, as for pictures: the line ends at x, so it can sit against
    // the right edge of the screen.
    if (alignment == 3) {
        return drawX - textWidth();
    }
    return drawX;
}

void TextSprite::updateBounds()
{
    int drawX = static_cast<int>(offsetX + x);
    int drawY = static_cast<int>(offsetY + y - z);
    left = textLeft(drawX);
    top = drawY;
    right = left + textWidth();
    bottom = top + lineHeight();
}

void TextSprite::draw(BITMAP* target)
{
    if (!visible || target == nullptr) {
        return;
    }
    Sprite::draw(target);

    int textX = textLeft(static_cast<int>(offsetX + x));
    int textY = static_cast<int>(offsetY + y - z);
    if (boxed) {
        int width = textWidth();
        int height = lineHeight();
        if (width > 0 && height > 0) {
            drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
            set_trans_blender(0, 0, 0, 128);
            rectfill(target, textX, textY, textX + width - 1, textY + height - 1, 0);
            solid_mode();
        }
    }
    if (shadowOffset != 0) {
        renderText(target, font, text, textX + shadowOffset, textY + shadowOffset, 0);
    }
    renderText(target, font, text, textX, textY, colour);
}
