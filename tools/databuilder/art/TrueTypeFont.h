#pragma once

#include "databuilder/art/Rgb.h"

#include <allegro.h>

#include <string>
#include <vector>

// Text from a TrueType file (through FreeType), for the game font and for
// the lettering of titles, banners and labels in the artwork.
class TrueTypeFont {
public:
    // A grey-level picture of some text: 0 empty, 255 fully covered.
    struct Coverage {
        int width = 0;
        int height = 0;
        int baseline = 0; // row of the baseline
        std::vector<unsigned char> level;
        int at(int x, int y) const
        {
            return (x < 0 || y < 0 || x >= width || y >= height) ? 0
                                                                 : level[static_cast<size_t>(y) * width + x];
        }
    };

    // The font every builder uses: DejaVu Sans Bold.
    static const char* DEFAULT_PATH;

    explicit TrueTypeFont(const std::string& path = DEFAULT_PATH);
    ~TrueTypeFont();
    TrueTypeFont(const TrueTypeFont&) = delete;
    TrueTypeFont& operator=(const TrueTypeFont&) = delete;

    bool isOpen() const { return face != nullptr; }
    const std::string& error() const { return problem; }

    // The text laid out on one line, with `margin` empty pixels on every
    // side; the height is the font's full line height at that size.
    Coverage render(const std::string& text, int pixelSize, int margin = 0) const;
    // How far the pen moves after the character at that size.
    int advance(int character, int pixelSize) const;
    // Line height (ascender + descender) at that size.
    int lineHeight(int pixelSize) const;

    // Letters filled with a top-to-bottom gradient inside an outline of the
    // given width, drawn centred on (cx, cy); anti-aliased over opaque
    // pixels, cut sharply over transparent ones.
    void draw(BITMAP* target, const std::string& text, int cx, int cy, int pixelSize, const Rgb& top,
        const Rgb& bottom, const Rgb& edge, int edgeWidth) const;
    // The width that draw() covers.
    int width(const std::string& text, int pixelSize, int edgeWidth) const;

    // Grows the coverage outwards by radius pixels (for outlines).
    static Coverage dilate(const Coverage& source, int radius);

private:
    void* library = nullptr;
    void* face = nullptr;
    std::string problem;
};
