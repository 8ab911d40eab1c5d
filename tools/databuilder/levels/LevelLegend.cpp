#include "levels/LevelLegend.h"

namespace {

using Kind = LevelLegend::Kind;

// The order is the game's: it tries the rows top to bottom.
const std::vector<LevelLegend::Entry> ENTRIES = {
    { '#', 255, 0, 0, Kind::SOLID, 0, "rock" },
    { '@', 255, 255, 255, Kind::FIXED_SOLID, 6, "fixed rock" },
    { '7', 20, 20, 20, Kind::SCENERY, 7, "scenery tile 7" },
    { '8', 30, 30, 30, Kind::SCENERY, 8, "scenery tile 8" },
    { '9', 40, 40, 40, Kind::SCENERY, 9, "scenery tile 9" },
    { '0', 50, 50, 50, Kind::FOREGROUND, 10, "foreground tile 10" },
    { '1', 55, 55, 55, Kind::FOREGROUND, 11, "foreground tile 11" },
    { '2', 60, 60, 60, Kind::SCENERY, 12, "scenery tile 12" },
    { '3', 65, 65, 65, Kind::SCENERY, 13, "scenery tile 13" },
    { '4', 70, 70, 70, Kind::SCENERY, 14, "scenery tile 14" },
    { '5', 75, 75, 75, Kind::SCENERY, 15, "scenery tile 15" },
    { '6', 80, 80, 80, Kind::SCENERY, 16, "scenery tile 16" },
    { 'c', 148, 96, 48, Kind::CREATURE, -1, "crab" },
    { 'L', 64, 0, 64, Kind::CREATURE, -1, "leviathan" },
    { 'e', 148, 148, 96, Kind::CREATURE, -1, "eel" },
    { 'a', 0, 64, 0, Kind::CREATURE, -1, "angler" },
    { '^', 255, 125, 0, Kind::SPIKES, -1, "spikes" },
    { 'r', 164, 164, 164, Kind::CREATURE, -1, "pirate fish" },
    { 'v', 125, 255, 0, Kind::SPIKES, -1, "hanging spikes" },
    { 'o', 255, 164, 64, Kind::CREATURE, -1, "puffer fish" },
    { 'x', 100, 100, 0, Kind::CRATE, -1, "crate" },
    { '<', 0, 255, 128, Kind::SENTINEL, -1, "sentinel facing left" },
    { '>', 0, 255, 148, Kind::SENTINEL, -1, "sentinel facing right" },
    { 'w', 225, 225, 225, Kind::CREATURE, -1, "seagull" },
    { '*', 164, 100, 0, Kind::CRATE, -1, "explosive crate" },
    { 'S', 0, 0, 0, Kind::CREATURE, -1, "shark" },
    { 'P', 0, 0, 255, Kind::PLAYER_START, -1, "player start" },
    { 'F', 255, 0, 125, Kind::CREATURE, -1, "swordfish" },
    { 'j', 0, 255, 255, Kind::CREATURE, -1, "jellyfish" },
    { 'C', 0, 0, 64, Kind::CREATURE, -1, "cannon" },
    { 'D', 125, 0, 255, Kind::DOLPHIN, -1, "dolphin" },
    { 'z', 255, 0, 255, Kind::CREATURE, -1, "sleepy fish" },
    { 'T', 255, 255, 0, Kind::CHEST, -1, "treasure chest" },
    { 'g', 164, 255, 0, Kind::GEM, -1, "green gem" },
    { 'p', 200, 200, 200, Kind::GEM, -1, "pearl" },
    { 'G', 255, 0, 64, Kind::GEM, -1, "red gem" },
    { 'R', 125, 125, 125, Kind::CREATURE, -1, "bubble refill" },
    { 'm', 0, 255, 0, Kind::CLAM, -1, "clam" },
};

} // namespace

const std::vector<LevelLegend::Entry>& LevelLegend::entries()
{
    return ENTRIES;
}

const LevelLegend::Entry* LevelLegend::find(char symbol)
{
    for (const Entry& entry : ENTRIES) {
        if (entry.symbol == symbol) {
            return &entry;
        }
    }
    return nullptr;
}

const LevelLegend::Entry* LevelLegend::findKey(int rgb)
{
    for (const Entry& entry : ENTRIES) {
        if (key(entry) == rgb) {
            return &entry;
        }
    }
    return nullptr;
}

std::string LevelLegend::describe(char symbol)
{
    if (isWater(symbol)) {
        return "water";
    }
    const Entry* entry = find(symbol);
    std::string quoted = std::string("'") + symbol + "'";
    return entry ? std::string(entry->name) + " " + quoted : "character " + quoted;
}
