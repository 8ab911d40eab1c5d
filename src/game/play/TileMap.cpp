#include "game/play/TileMap.h"

#include "engine/core/DebugLog.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float MAX_OFFSET = 1.0e8f;

} // namespace

TileMap::TileMap()
    : cells(static_cast<size_t>(COLUMNS) * ROWS, WATER)
{
    // The map covers the whole level; the screen never needs to skip it.
    cullable = false;
}

void TileMap::setTileSet(const std::string& fileName)
{
    tileSet.unload();
    tileSet.load(fileName);
}

int TileMap::tileCount() const
{
    return tileSet.isLoaded() ? tileSet.count : 0;
}

void TileMap::setTile(int x, int y, int code)
{
    if (!isInside(x, y)) {
        DebugLog::log("tile map: cell [" + std::to_string(x) + ", " + std::to_string(y)
            + "] lies outside the " + std::to_string(COLUMNS) + " x " + std::to_string(ROWS)
            + " grid, tile not set");
        return;
    }
    cells[static_cast<size_t>(x) * ROWS + y] = code;
    if (code == 0) {
        rockColumns = std::max(rockColumns, x + 1);
        rockRows = std::max(rockRows, y + 1);
    }
}

int TileMap::getTile(int x, int y) const
{
    if (!isInside(x, y)) {
        return 0;
    }
    return cells[static_cast<size_t>(x) * ROWS + y];
}

bool TileMap::isTileBlocked(int x, int y) const
{
    int code = getTile(x, y);
    return code >= 0 && code <= LAST_SOLID_CODE;
}

void TileMap::autoTile()
{
    // Horizontal runs. Left of column 0 counts as open, so a wall at the
    // level's left edge still gets its end piece.
    for (int x = 0; x < rockColumns; ++x) {
        for (int y = 0; y < rockRows; ++y) {
            if (getTile(x, y) != 0) {
                continue;
            }
            bool left = x > 0 && isTileBlocked(x - 1, y);
            bool right = isTileBlocked(x + 1, y);
            if (left && right) {
                setTile(x, y, 2);
            } else if (left) {
                setTile(x, y, 3);
            } else if (right) {
                setTile(x, y, 1);
            }
        }
    }
    // Columns, top to bottom: the cell above has already been shaped in this
    // pass, which is what turns a column into a top, middles and a bottom.
    for (int x = 0; x < rockColumns; ++x) {
        for (int y = 0; y < rockRows; ++y) {
            if (getTile(x, y) != 0) {
                continue;
            }
            int above = getTile(x, y - 1);
            bool up = above == 0 || above == 4 || above == 5;
            bool down = getTile(x, y + 1) == 0;
            if (up && down) {
                setTile(x, y, 5);
            } else if (up) {
                setTile(x, y, 6);
            } else if (down) {
                setTile(x, y, 4);
            }
        }
    }
}

void TileMap::drawTile(BITMAP* target, int screenX, int screenY, int code)
{
    if (target == nullptr || code < 0 || code >= tileCount()) {
        return;
    }
    int type = tileSet.getType(code);
    void* picture = tileSet.get(code);
    if (picture == nullptr) {
        return;
    }
    // Pictures of another depth than the target (other than 8-bit ones,
    // which Allegro draws through the palette) would be read as the wrong
    // pixel format, so they are left out.
    int targetDepth = bitmap_color_depth(target);
    if (type == DAT_BITMAP) {
        BITMAP* tile = static_cast<BITMAP*>(picture);
        int depth = bitmap_color_depth(tile);
        if (depth == 8 || depth == targetDepth) {
            draw_sprite(target, tile, screenX, screenY);
        }
    } else if (type == DAT_RLE_SPRITE) {
        RLE_SPRITE* tile = static_cast<RLE_SPRITE*>(picture);
        if (tile->color_depth == targetDepth) {
            draw_rle_sprite(target, tile, screenX, screenY);
        }
    }
}

void TileMap::draw(BITMAP* target)
{
    if (target == nullptr || !visible || alpha == 0.0f || pass != 0 || cellWidth <= 0 || cellHeight <= 0) {
        return;
    }
    // A position this far out (or not a number) shows none of the level and
    // would overflow the screen coordinates.
    if (!(std::fabs(x) < MAX_OFFSET) || !(std::fabs(y) < MAX_OFFSET)) {
        return;
    }
    int originX = static_cast<int>(x);
    int originY = static_cast<int>(y);
    auto cellNumber = [](float value) { return static_cast<int>(std::clamp(value, -2.0f, 1.0e6f)); };
    const float width = static_cast<float>(cellWidth);
    const float height = static_cast<float>(cellHeight);
    int firstColumn = cellNumber(-x / width);
    int firstRow = cellNumber(-y / height);
    int lastColumn = cellNumber((static_cast<float>(target->w) - x) / width) + 1;
    int lastRow = cellNumber((static_cast<float>(target->h) - y) / height) + 1;
    // Cells outside the grid draw nothing, so the loops keep to it.
    firstColumn = std::max(firstColumn, 0);
    firstRow = std::max(firstRow, 0);
    lastColumn = std::min(lastColumn, COLUMNS - 1);
    lastRow = std::min(lastRow, ROWS - 1);
    if (firstRow > lastRow) {
        return;
    }
    for (int column = firstColumn; column <= lastColumn; ++column) {
        const int* columnCells = &cells[static_cast<size_t>(column) * ROWS];
        int screenX = column * cellWidth + originX;
        for (int k = 0; k <= lastRow - firstRow; ++k) {
            int row = bottomUp ? lastRow - k : firstRow + k;
            int code = columnCells[row];
            if (code != WATER) {
                drawTile(target, screenX, row * cellHeight + originY, code);
            }
        }
    }
}
