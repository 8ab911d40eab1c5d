#pragma once

#include <string>
#include <vector>

// The characters of a level map and the colours they stand for in the level
// pictures of lvl/levels.dat. The game reads each picture pixel by pixel and
// compares it with the colours of its table, so every character has exactly
// one colour and every colour one character. Scenery tiles are written as the last digit of
// their tile code (7, 8, 9 for tiles 7-9, 0 and 1 for the foreground tiles 10
// and 11, 2 to 6 for tiles 12-16).
class LevelLegend {
public:
    // What a cell holds, as far as the builder's checks care.
    enum class Kind {
        WATER, // open water: a colour that matches no row (black is the shark)
        SOLID, // rock, auto-tiled by the game
        FIXED_SOLID, // rock drawn as tile 6 whatever its neighbours
        SCENERY, // drawn behind the creatures, not solid
        FOREGROUND, // drawn in front of the creatures, not solid
        CREATURE, // placed where it stands
        SPIKES, // a creature that kills in its own cell
        SENTINEL, // a statue: solid for the fish
        CRATE, // pushable block
        DOLPHIN, // the coin dropper of the coin levels
        PLAYER_START,
        CHEST, // treasure kind 0: all must be collected
        GEM, // treasure kinds 1, 2 and 4: count for the rating
        CLAM, // holds a pearl (kind 4)
    };

    struct Entry {
        char symbol;
        int red;
        int green;
        int blue;
        Kind kind;
        int tileCode; // the tile written by the game, -1 for objects
        const char* name;
    };

    // Every row of the game's colour table, in the game's order.
    static const std::vector<Entry>& entries();
    // The entry for a map character; nullptr for water and unknown characters.
    static const Entry* find(char symbol);
    static bool isWater(char symbol) { return symbol == '.' || symbol == ' '; }
    // Open water in a level picture: a deep blue that no row of the table uses.
    static constexpr int WATER_KEY = 0x083060;
    static bool isKnown(char symbol) { return isWater(symbol) || find(symbol) != nullptr; }
    // 0xRRGGBB, as a 24-bit bitmap stores it.
    static int key(const Entry& entry) { return (entry.red << 16) | (entry.green << 8) | entry.blue; }
    // The entry whose key a pixel holds, nullptr for anything else.
    static const Entry* findKey(int rgb);
    // A readable name for messages: "crab 'c'".
    static std::string describe(char symbol);
};
