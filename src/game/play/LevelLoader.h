#pragma once

#include "game/play/LevelColours.h"

#include <allegro.h>

class Creature;
class Game;
class Treasure;

// Builds a level from its picture in lvl/levels.dat: one pixel per cell,
// whose colour writes a tile or starts a creature, a treasure or the fish
// there. The game's tile layers, player and (empty) creature and treasure
// lists are made beforehand by the level's state; the loader fills them.
class LevelLoader {
public:
    static constexpr const char* LEVEL_FILE = "lvl/levels.dat";
    static constexpr int CELL_SIZE = 80;

    explicit LevelLoader(Game& game);

    // Reads the level's picture and fills the game with it, column by
    // column, left to right, top to bottom within a column: creatures are
    // updated and drawn in that order. False, after the error report "Could
    // not load level [n]", for a number without a picture and for a picture
    // larger than the tile map's grid.
    bool loadLevel(int level);

    // A treasure at a cell's centre moved by the offset, on the level's list
    // and the level's creature layer.
    Treasure* addTreasure(int column, int row, int kind, int offsetX, int offsetY);
    // Registers the creature (its reset runs), then stands it in the cell,
    // offsetY below the centre.
    void placeCreature(Creature* creature, int column, int row, int offsetY);

private:
    void apply(const LevelColours::Row& row, int column, int cellRow);
    void build(const LevelColours::Row& row, int column, int cellRow);
    void refuse(int level, const char* reason);
    // Fills the game from a level picture, from the level file or a map of
    // the player's own.
    bool buildFrom(BITMAP* picture, int level);

    Game& game;
};
