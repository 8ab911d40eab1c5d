#pragma once

#include "engine/media/DatafileWriter.h"
#include "game/app/Game.h"
#include "game/play/TileMap.h"

#include <allegro.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace leveltest {

// Level cells are 80 x 80 pixels.
constexpr int CELL_PIXELS = 80;

// Writes lvl/levels.dat for a test: each level's picture drawn from art
// (art[row][column], one character a cell, coloured through the legend as
// 0xRRGGBB; characters not in it are open water), the numbers in between
// filled with the filler art. False when the file cannot be written.
inline bool writeLevelFile(const std::map<int, std::vector<std::string>>& levels,
    const std::map<char, int>& legend, const std::vector<std::string>& filler)
{
    std::filesystem::create_directory("lvl");
    DatafileWriter out;
    for (int index = 0; index <= levels.rbegin()->first; ++index) {
        auto found = levels.find(index);
        const std::vector<std::string>& art = found != levels.end() ? found->second : filler;
        BITMAP* bitmap = create_bitmap_ex(24, static_cast<int>(art[0].size()), static_cast<int>(art.size()));
        // Water: a colour no row of the level table uses.
        clear_to_color(bitmap, makecol24(1, 2, 3));
        for (size_t row = 0; row < art.size(); ++row) {
            for (size_t column = 0; column < art[row].size(); ++column) {
                auto colour = legend.find(art[row][column]);
                if (colour != legend.end()) {
                    int rgb = colour->second;
                    putpixel(bitmap, static_cast<int>(column), static_cast<int>(row),
                        makecol24(rgb >> 16, (rgb >> 8) & 255, rgb & 255));
                }
            }
        }
        out.addBitmap(bitmap);
        destroy_bitmap(bitmap);
    }
    // The cache keeps a file's last object out of reach.
    out.addData({ 0 });
    return out.save("lvl/levels.dat");
}

// Rock on the map where the art has '#' (art[row][column]); the game's
// level is as large as the art.
inline void buildRockMap(Game& game, TileMap& map, const std::vector<std::string>& art)
{
    game.levelHeight = static_cast<int>(art.size()) * CELL_PIXELS;
    game.levelWidth = static_cast<int>(art[0].size()) * CELL_PIXELS;
    for (size_t row = 0; row < art.size(); ++row) {
        for (size_t column = 0; column < art[row].size(); ++column) {
            if (art[row][column] == '#') {
                map.setTile(static_cast<int>(column), static_cast<int>(row), 0);
            }
        }
    }
}

} // namespace leveltest
