#pragma once

#include "engine/media/DatafileManager.h"
#include "engine/media/Sprite.h"

#include <allegro.h>

#include <string>
#include <vector>

// The scenery of a level: a fixed grid of tile codes drawn from a tile set.
// A level has two of them, the main layer (behind the creatures, the one
// that decides what is solid) and the foreground layer (in front of the
// creatures, never solid). The sprite's position is where the top-left
// corner of cell (0, 0) is drawn.
class TileMap : public Sprite {
public:
    static constexpr int COLUMNS = 300;
    static constexpr int ROWS = 150;
    static constexpr int WATER = -1;
    // Codes 0 to 6 are rock in its seven shapes; everything above is scenery.
    static constexpr int LAST_SOLID_CODE = 6;

    TileMap();

    // Loads the pictures of the tiles: object c of the file draws code c.
    // An empty name leaves the map without pictures.
    void setTileSet(const std::string& fileName);
    int tileCount() const;

    static bool isInside(int x, int y) { return x >= 0 && x < COLUMNS && y >= 0 && y < ROWS; }
    // Cells outside the grid are ignored (and logged): nothing is written
    // beyond it, whatever a caller asks for.
    void setTile(int x, int y, int code);
    // Outside the grid every cell reads as rock (0), so the level's edge is
    // a wall for everyone.
    int getTile(int x, int y) const;
    // Rock blocks, water and scenery do not.
    bool isTileBlocked(int x, int y) const;

    // Shapes every plain rock cell (code 0) after its neighbours: ends and
    // middles of horizontal runs first, then tops, middles and bottoms of
    // columns. Run once on the main layer when a level has been read.
    void autoTile();

    // One tile picture with its transparent parts left out; codes the tile
    // set has no picture for draw nothing.
    void drawTile(BITMAP* target, int screenX, int screenY, int code);
    // The cells that show on the target, plus one column and one row more.
    void draw(BITMAP* target) override;

    int cellWidth = 40;
    int cellHeight = 40;
    // Each column is drawn from its lowest row up, so a picture taller than
    // its cell overlaps the cell below.
    bool bottomUp = false;

private:
    std::vector<int> cells;
    // One past the last column and row that ever held plain rock: autoTile
    // need not look beyond them, and most levels fill a corner of the grid.
    int rockColumns = 0;
    int rockRows = 0;
    DatafileManager tileSet;
};
