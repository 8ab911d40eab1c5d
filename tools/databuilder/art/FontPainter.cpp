#include "databuilder/art/FontPainter.h"

#include "databuilder/art/Rgb.h"
#include "databuilder/art/TrueTypeFont.h"
#include "engine/media/DatafileWriter.h"

#include <allegro.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const int BANDS = 8; // steps of the top-to-bottom gradient
const int LEVELS = 16; // steps from edge colour to letter colour
const Rgb EDGE_COLOUR(12, 18, 48);
const Rgb LETTER_TOP(255, 255, 255);
const Rgb LETTER_BOTTOM(255, 214, 96);

int paletteIndex(int band, int level)
{
    return 1 + band * LEVELS + level;
}

} // namespace

void FontPainter::paint(DatafileWriter& out, const TrueTypeFont& text)
{
    PALETTE palette;
    for (int i = 0; i < 256; ++i) {
        palette[i].r = palette[i].g = palette[i].b = 0;
        palette[i].filler = 0;
    }
    for (int band = 0; band < BANDS; ++band) {
        Rgb letter = LETTER_TOP.mix(LETTER_BOTTOM, static_cast<float>(band) / (BANDS - 1));
        for (int level = 0; level < LEVELS; ++level) {
            Rgb c = EDGE_COLOUR.mix(letter, static_cast<float>(level) / (LEVELS - 1));
            RGB& entry = palette[paletteIndex(band, level)];
            entry.r = static_cast<unsigned char>(c.r >> 2);
            entry.g = static_cast<unsigned char>(c.g >> 2);
            entry.b = static_cast<unsigned char>(c.b >> 2);
        }
    }

    std::vector<BITMAP*> glyphs;
    for (int ch = 32; ch <= 126; ++ch) {
        TrueTypeFont::Coverage fill = text.render(std::string(1, static_cast<char>(ch)), PIXEL_SIZE, EDGE);
        TrueTypeFont::Coverage edge = TrueTypeFont::dilate(fill, EDGE);
        // The glyph keeps the character's advance plus one pixel of edge on
        // each side, so lines of text stay tightly set.
        int advance = std::max(1, text.advance(ch, PIXEL_SIZE));
        int width = advance + 2;
        int left = EDGE - 1;
        BITMAP* glyph = create_bitmap_ex(8, width, fill.height);
        clear_to_color(glyph, 0);
        for (int y = 0; y < fill.height; ++y) {
            int band = std::min(
                BANDS - 1, std::max(0, (y - EDGE - 2) * BANDS / std::max(1, fill.height - 2 * EDGE - 4)));
            for (int x = 0; x < width; ++x) {
                int outer = edge.at(left + x, y);
                if (outer < 110) {
                    continue;
                }
                int level = fill.at(left + x, y) * (LEVELS - 1) / 255;
                putpixel(glyph, x, y, paletteIndex(band, level));
            }
        }
        glyphs.push_back(glyph);
    }
    out.addFont(32, glyphs, "GAME_FONT");
    for (BITMAP* glyph : glyphs) {
        destroy_bitmap(glyph);
    }
    out.addPalette(palette, "GAME_FONT_PALETTE");
}
