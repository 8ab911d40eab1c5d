#include "databuilder/art/ContactSheet.h"

#include "engine/media/PngWriter.h"

#include <allegro.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct Tile {
    std::string label;
    BITMAP* picture; // 32-bit, owned
};

const int PAD = 8;
const int LABEL_HEIGHT = 12;
const int MAX_WIDTH = 1400;

BITMAP* toTrueColour(BITMAP* source, bool opaque, const RGB* palette)
{
    int scale = 1;
    if (opaque) {
        int largest = std::max(source->w, source->h);
        scale = std::max(1, std::min(4, 120 / std::max(1, largest)));
    }
    BITMAP* out = create_bitmap_ex(32, source->w * scale, source->h * scale);
    int depth = bitmap_color_depth(source);
    int maskValue = bitmap_mask_color(source);
    for (int y = 0; y < source->h; ++y) {
        for (int x = 0; x < source->w; ++x) {
            int value = getpixel(source, x, y);
            int colour;
            if (!opaque && value == maskValue) {
                bool light = ((x * scale / 8) + (y * scale / 8)) & 1;
                colour = light ? makecol32(92, 92, 104) : makecol32(64, 64, 76);
            } else if (depth == 8) {
                const RGB& entry = palette[value & 255];
                colour = makecol32(entry.r * 255 / 63, entry.g * 255 / 63, entry.b * 255 / 63);
            } else {
                colour
                    = makecol32(getr_depth(depth, value), getg_depth(depth, value), getb_depth(depth, value));
            }
            rectfill(out, x * scale, y * scale, x * scale + scale - 1, y * scale + scale - 1, colour);
        }
    }
    return out;
}

BITMAP* fontSample(FONT* f, const RGB* palette)
{
    const char* lines[] = { " !\"#$%&'()*+,-./0123456789:;<=>?@", "ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`",
        "abcdefghijklmnopqrstuvwxyz{|}~", "Collect all the Treasure Chests!",
        "Coins x 12  Required: 15   3:07" };
    int lineHeight = text_height(f);
    int width = 0;
    for (const char* line : lines) {
        width = std::max(width, text_length(f, line));
    }
    const int stripes[] = { makecol32(250, 250, 250), makecol32(10, 20, 60), makecol32(40, 140, 200),
        makecol32(240, 200, 60), makecol32(90, 40, 20) };
    int count = static_cast<int>(sizeof(lines) / sizeof(lines[0]));
    BITMAP* out = create_bitmap_ex(32, width + 16, count * (lineHeight + 6) + 8);
    clear_to_color(out, makecol32(28, 30, 36));
    for (int i = 0; i < count; ++i) {
        rectfill(out, 0, 4 + i * (lineHeight + 6) - 3, out->w - 1, 4 + i * (lineHeight + 6) + lineHeight + 2,
            stripes[i % 5]);
    }
    PALETTE saved;
    get_palette(saved);
    if (palette) {
        select_palette(palette);
    }
    for (int i = 0; i < count; ++i) {
        textout_ex(out, f, lines[i], 8, 4 + i * (lineHeight + 6), -1, -1);
    }
    unselect_palette();
    return out;
}

BITMAP* paletteSwatch(const RGB* palette)
{
    BITMAP* out = create_bitmap_ex(32, 16 * 10, 16 * 10);
    for (int i = 0; i < 256; ++i) {
        int x = (i % 16) * 10, y = (i / 16) * 10;
        rectfill(out, x, y, x + 9, y + 9,
            makecol32(palette[i].r * 255 / 63, palette[i].g * 255 / 63, palette[i].b * 255 / 63));
    }
    return out;
}

const RGB* findPalette(const DATAFILE* objects)
{
    for (int i = 0; objects[i].type != DAT_END; ++i) {
        if (objects[i].type == DAT_PALETTE) {
            return static_cast<const RGB*>(objects[i].dat);
        }
    }
    return nullptr;
}

void collect(const DATAFILE* objects, const std::string& prefix, bool opaque, std::vector<Tile>& tiles)
{
    const RGB* palette = findPalette(objects);
    static PALETTE grey;
    if (!palette) {
        for (int i = 0; i < 256; ++i) {
            grey[i].r = grey[i].g = grey[i].b = static_cast<unsigned char>(i / 4);
        }
        palette = grey;
    }
    for (int i = 0; objects[i].type != DAT_END; ++i) {
        std::string label = prefix + std::to_string(i);
        const DATAFILE& object = objects[i];
        if (object.type == DAT_BITMAP) {
            tiles.push_back({ label, toTrueColour(static_cast<BITMAP*>(object.dat), opaque, palette) });
        } else if (object.type == DAT_RLE_SPRITE) {
            RLE_SPRITE* sprite = static_cast<RLE_SPRITE*>(object.dat);
            BITMAP* flat = create_bitmap_ex(sprite->color_depth, sprite->w, sprite->h);
            clear_to_color(flat, bitmap_mask_color(flat));
            draw_rle_sprite(flat, sprite, 0, 0);
            tiles.push_back({ label + " rle", toTrueColour(flat, opaque, palette) });
            destroy_bitmap(flat);
        } else if (object.type == DAT_FILE) {
            collect(static_cast<const DATAFILE*>(object.dat), label + ".", opaque, tiles);
        } else if (object.type == DAT_FONT) {
            tiles.push_back(
                { label + " font", fontSample(static_cast<FONT*>(object.dat), findPalette(objects)) });
        } else if (object.type == DAT_PALETTE) {
            tiles.push_back({ label + " palette", paletteSwatch(static_cast<const RGB*>(object.dat)) });
        }
    }
}

} // namespace

bool ContactSheet::write(
    const std::string& datafilePath, const std::string& pngPath, bool opaque, std::string& error)
{
    int conversion = get_color_conversion();
    set_color_conversion(COLORCONV_NONE);
    DATAFILE* data = load_datafile(datafilePath.c_str());
    set_color_conversion(conversion);
    if (!data) {
        error = "cannot read [" + datafilePath + "]";
        return false;
    }
    std::vector<Tile> tiles;
    collect(data, "", opaque, tiles);
    unload_datafile(data);

    // Shelf layout: left to right, a new row when the next picture would
    // pass the sheet's width.
    int sheetWidth = PAD;
    for (const Tile& tile : tiles) {
        sheetWidth = std::max(sheetWidth, tile.picture->w + 2 * PAD);
    }
    sheetWidth = std::max(sheetWidth, std::min(MAX_WIDTH, [&] {
        int total = PAD;
        for (const Tile& tile : tiles) {
            total += std::max(tile.picture->w, 40) + PAD;
        }
        return total;
    }()));
    std::vector<std::pair<int, int>> places;
    int x = PAD, y = PAD, rowHeight = 0;
    for (const Tile& tile : tiles) {
        int w = std::max(tile.picture->w, 40);
        if (x + w + PAD > sheetWidth && x > PAD) {
            x = PAD;
            y += rowHeight + LABEL_HEIGHT + PAD;
            rowHeight = 0;
        }
        places.emplace_back(x, y);
        x += w + PAD;
        rowHeight = std::max(rowHeight, tile.picture->h);
    }
    int sheetHeight = y + rowHeight + LABEL_HEIGHT + PAD;
    BITMAP* sheet = create_bitmap_ex(32, sheetWidth, std::max(sheetHeight, 2 * PAD));
    clear_to_color(sheet, makecol32(28, 30, 36));
    for (size_t i = 0; i < tiles.size(); ++i) {
        blit(tiles[i].picture, sheet, 0, 0, places[i].first, places[i].second, tiles[i].picture->w,
            tiles[i].picture->h);
        textout_ex(sheet, font, tiles[i].label.c_str(), places[i].first,
            places[i].second + tiles[i].picture->h + 2, makecol32(255, 255, 255), -1);
        destroy_bitmap(tiles[i].picture);
    }
    bool saved = savePng(sheet, pngPath, error);
    destroy_bitmap(sheet);
    return saved;
}

bool ContactSheet::savePng(BITMAP* picture, const std::string& pngPath, std::string& error)
{
    return PngWriter::save(picture, pngPath, error);
}
