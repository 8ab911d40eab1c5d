#include "databuilder/art/TrueTypeFont.h"

#include "databuilder/art/Brush.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>

const char* TrueTypeFont::DEFAULT_PATH = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";

TrueTypeFont::TrueTypeFont(const std::string& path)
{
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) {
        problem = "FreeType could not start";
        return;
    }
    library = lib;
    FT_Face opened = nullptr;
    if (FT_New_Face(lib, path.c_str(), 0, &opened) != 0) {
        problem = "cannot open the font [" + path + "]";
        return;
    }
    face = opened;
}

TrueTypeFont::~TrueTypeFont()
{
    if (face) {
        FT_Done_Face(static_cast<FT_Face>(face));
    }
    if (library) {
        FT_Done_FreeType(static_cast<FT_Library>(library));
    }
}

int TrueTypeFont::lineHeight(int pixelSize) const
{
    if (!face) {
        return 0;
    }
    FT_Face f = static_cast<FT_Face>(face);
    FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(pixelSize));
    return static_cast<int>((f->size->metrics.ascender - f->size->metrics.descender + 63) >> 6);
}

int TrueTypeFont::advance(int character, int pixelSize) const
{
    if (!face) {
        return 0;
    }
    FT_Face f = static_cast<FT_Face>(face);
    FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(pixelSize));
    if (FT_Load_Char(f, static_cast<FT_ULong>(character), FT_LOAD_DEFAULT) != 0) {
        return 0;
    }
    return static_cast<int>(f->glyph->advance.x >> 6);
}

TrueTypeFont::Coverage TrueTypeFont::render(const std::string& text, int pixelSize, int margin) const
{
    Coverage out;
    if (!face) {
        return out;
    }
    FT_Face f = static_cast<FT_Face>(face);
    FT_Set_Pixel_Sizes(f, 0, static_cast<FT_UInt>(pixelSize));
    int ascent = static_cast<int>((f->size->metrics.ascender + 63) >> 6);
    int height = lineHeight(pixelSize);

    // First pass measures, second pass draws.
    int pen = 0;
    int right = 0;
    for (unsigned char ch : text) {
        if (FT_Load_Char(f, ch, FT_LOAD_RENDER) != 0) {
            continue;
        }
        FT_GlyphSlot g = f->glyph;
        right = std::max(right, pen + g->bitmap_left + static_cast<int>(g->bitmap.width));
        pen += static_cast<int>(g->advance.x >> 6);
    }
    out.width = std::max(pen, right) + 2 * margin;
    out.height = height + 2 * margin;
    out.baseline = margin + ascent;
    out.level.assign(static_cast<size_t>(out.width) * out.height, 0);
    pen = margin;
    for (unsigned char ch : text) {
        if (FT_Load_Char(f, ch, FT_LOAD_RENDER) != 0) {
            continue;
        }
        FT_GlyphSlot g = f->glyph;
        for (unsigned row = 0; row < g->bitmap.rows; ++row) {
            for (unsigned col = 0; col < g->bitmap.width; ++col) {
                int x = pen + g->bitmap_left + static_cast<int>(col);
                int y = out.baseline - g->bitmap_top + static_cast<int>(row);
                if (x < 0 || y < 0 || x >= out.width || y >= out.height) {
                    continue;
                }
                unsigned char v = g->bitmap.buffer[row * g->bitmap.pitch + col];
                unsigned char& cell = out.level[static_cast<size_t>(y) * out.width + x];
                cell = std::max(cell, v);
            }
        }
        pen += static_cast<int>(g->advance.x >> 6);
    }
    return out;
}

TrueTypeFont::Coverage TrueTypeFont::dilate(const Coverage& source, int radius)
{
    Coverage out = source;
    if (radius <= 0) {
        return out;
    }
    for (int y = 0; y < source.height; ++y) {
        for (int x = 0; x < source.width; ++x) {
            int best = 0;
            for (int dy = -radius; dy <= radius; ++dy) {
                for (int dx = -radius; dx <= radius; ++dx) {
                    float d = std::sqrt(static_cast<float>(dx * dx + dy * dy));
                    if (d > radius + 0.5f) {
                        continue;
                    }
                    int v = source.at(x + dx, y + dy);
                    // Soften the far edge of the pen a little.
                    if (d > radius - 0.5f) {
                        v = v * 2 / 3;
                    }
                    best = std::max(best, v);
                }
            }
            out.level[static_cast<size_t>(y) * out.width + x] = static_cast<unsigned char>(best);
        }
    }
    return out;
}

int TrueTypeFont::width(const std::string& text, int pixelSize, int edgeWidth) const
{
    return render(text, pixelSize, edgeWidth + 1).width;
}

void TrueTypeFont::draw(BITMAP* target, const std::string& text, int cx, int cy, int pixelSize,
    const Rgb& top, const Rgb& bottom, const Rgb& edge, int edgeWidth) const
{
    Coverage fill = render(text, pixelSize, edgeWidth + 1);
    if (fill.width == 0) {
        return;
    }
    Coverage border = dilate(fill, edgeWidth);
    int left = cx - fill.width / 2;
    int topRow = cy - fill.height / 2;
    // The gradient runs over the letters' own height, not the line's.
    int inkTop = fill.height, inkBottom = 0;
    for (int y = 0; y < fill.height; ++y) {
        for (int x = 0; x < fill.width; ++x) {
            if (fill.at(x, y) > 0) {
                inkTop = std::min(inkTop, y);
                inkBottom = std::max(inkBottom, y);
            }
        }
    }
    int span = std::max(1, inkBottom - inkTop);
    for (int y = 0; y < fill.height; ++y) {
        for (int x = 0; x < fill.width; ++x) {
            int outer = border.at(x, y);
            if (outer == 0) {
                continue;
            }
            int tx = left + x, ty = topRow + y;
            if (tx < 0 || ty < 0 || tx >= target->w || ty >= target->h) {
                continue;
            }
            float f = fill.at(x, y) / 255.0f;
            Rgb letter = top.mix(bottom, static_cast<float>(y - inkTop) / span);
            Rgb colour = edge.mix(letter, f);
            float a = outer / 255.0f;
            if (Brush::isMask(target, tx, ty)) {
                if (a >= 0.45f) {
                    putpixel(target, tx, ty, Brush::pixel(colour));
                }
            } else {
                putpixel(target, tx, ty, Brush::pixel(Brush::colourAt(target, tx, ty).mix(colour, a)));
            }
        }
    }
}
