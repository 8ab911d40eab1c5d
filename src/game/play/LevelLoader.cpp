#include "game/play/LevelLoader.h"

#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/media/DatafileManager.h"
#include "game/app/Game.h"
#include "game/creatures/Clam.h"
#include "game/creatures/Creature.h"
#include "game/play/CreatureFactory.h"
#include "game/play/LevelProperties.h"
#include "game/play/Player.h"
#include "game/play/TileMap.h"
#include "game/play/Treasure.h"

#include <allegro.h>

#include <string>

namespace {

using Layer = LevelColours::TileLayer;
using Placement = LevelColours::Placement;
using Kind = LevelColours::Kind;

// Creatures and treasures share the middle drawing layer.
constexpr int OBJECT_LAYER = 2;

int centre(int cell)
{
    return cell * LevelLoader::CELL_SIZE + LevelLoader::CELL_SIZE / 2;
}

// The level file lies beside the artwork folder, not in it, so the cache's
// artwork folder must not be put in front of its name.
void openLevelFile(DatafileManager& file)
{
    std::string artwork = DatafileManager::directory();
    DatafileManager::setDirectory("");
    // The pictures keep the exact colours they were drawn with; converting
    // them to the screen's depth could merge two colours of the table.
    int conversion = get_color_conversion();
    set_color_conversion(COLORCONV_NONE);
    file.load(LevelLoader::LEVEL_FILE);
    set_color_conversion(conversion);
    DatafileManager::setDirectory(artwork);
}

} // namespace

LevelLoader::LevelLoader(Game& owner)
    : game(owner)
{
}

void LevelLoader::refuse(int level, const char* reason)
{
    // The reason first: in the game the report itself ends the program.
    DebugLog::log("level [" + std::to_string(level) + "]: " + reason);
    DebugLog::log("Could not load level [" + std::to_string(level) + "]", true);
}

bool LevelLoader::loadLevel(int level)
{
    if (game.ownMap != nullptr && level == game.onlyLevel) {
        return buildFrom(game.ownMap, level);
    }
    DatafileManager file;
    openLevelFile(file);
    int index = LevelProperties::pictureIndex(level);
    // Asking the cache for an object it does not have is an error report of
    // its own; the loader's report says more.
    if (!file.isLoaded()) {
        refuse(level, "lvl/levels.dat could not be read");
        return false;
    }
    if (index < 0 || index >= file.count) {
        refuse(level, "lvl/levels.dat has no picture for it");
        return false;
    }
    if (file.getType(index) != DAT_BITMAP) {
        refuse(level, "its object in lvl/levels.dat is not a picture");
        return false;
    }
    return buildFrom(static_cast<BITMAP*>(file.get(index)), level);
}

bool LevelLoader::buildFrom(BITMAP* picture, int level)
{
    if (picture->w > TileMap::COLUMNS || picture->h > TileMap::ROWS) {
        std::string reason = "its picture of " + std::to_string(picture->w) + " x "
            + std::to_string(picture->h) + " cells is larger than the " + std::to_string(TileMap::COLUMNS)
            + " x " + std::to_string(TileMap::ROWS) + " cells of the tile map";
        refuse(level, reason.c_str());
        return false;
    }

    game.levelWidth = picture->w * CELL_SIZE;
    game.levelHeight = picture->h * CELL_SIZE;
    for (int column = 0; column < picture->w; ++column) {
        for (int cellRow = 0; cellRow < picture->h; ++cellRow) {
            if (const LevelColours::Row* row = LevelColours::at(picture, column, cellRow)) {
                apply(*row, column, cellRow);
            }
        }
    }
    if (game.mainLayer != nullptr) {
        game.mainLayer->autoTile();
    }
    return true;
}

void LevelLoader::apply(const LevelColours::Row& row, int column, int cellRow)
{
    if (row.layer == Layer::MAIN) {
        if (game.mainLayer != nullptr) {
            game.mainLayer->setTile(column, cellRow, row.tileCode);
        }
        return;
    }
    if (row.layer == Layer::FOREGROUND) {
        if (game.foregroundLayer != nullptr) {
            game.foregroundLayer->setTile(column, cellRow, row.tileCode);
        }
        return;
    }
    if (row.kind == Kind::PLAYER_START) {
        if (game.player != nullptr) {
            game.player->setPosition(centre(column), centre(cellRow));
        }
        return;
    }
    if (row.kind == Kind::TREASURE) {
        addTreasure(column, cellRow, row.treasureKind, row.treasureOffsetX, row.treasureOffsetY);
        return;
    }
    build(row, column, cellRow);
}

void LevelLoader::build(const LevelColours::Row& row, int column, int cellRow)
{
    // The fish holds its plunger before the swordfish it will fight exists.
    if (row.givesPlunger && game.player != nullptr) {
        game.player->givePlunger();
    }
    Creature* creature = CreatureFactory::create(row);
    if (creature == nullptr) {
        return;
    }
    if (row.placement == Placement::POSITIONED_THEN_REGISTERED) {
        creature->setPosition(centre(column), centre(cellRow));
        game.addCreature(creature);
    } else {
        placeCreature(creature, column, cellRow, row.offsetY);
    }
    if (row.treasureKind >= 0) {
        Treasure* pearl
            = addTreasure(column, cellRow, row.treasureKind, row.treasureOffsetX, row.treasureOffsetY);
        // The clam keeps its pearl, showing it only while its shell is open.
        if (auto* clam = dynamic_cast<Clam*>(creature)) {
            clam->holdPickup(pearl);
        }
    }
}

Treasure* LevelLoader::addTreasure(int column, int row, int kind, int offsetX, int offsetY)
{
    Treasure* treasure = new Treasure(kind);
    treasure->setPosition(centre(column) + offsetX, centre(row) + offsetY);
    // Mini-games hand out treasure while the level runs; it belongs to the
    // level, whatever lies on top of it.
    GameState* level = game.getState("inGame");
    bool kept = level != nullptr ? level->addSprite(treasure, OBJECT_LAYER)
                                 : game.addSprite(treasure, OBJECT_LAYER);
    if (!kept) {
        DebugLog::log("addTreasure: no state on the stack to keep the treasure");
    }
    game.treasures.push_back(treasure);
    return treasure;
}

void LevelLoader::placeCreature(Creature* creature, int column, int row, int offsetY)
{
    if (creature == nullptr) {
        return;
    }
    game.addCreature(creature);
    creature->setPosition(centre(column), centre(row) + offsetY);
}
