#pragma once

#include <allegro.h>

#include <vector>

// What the colours of a level picture stand for. Each pixel of a level is
// one cell; its colour either writes a tile into one of the two tile layers
// or says which object starts in that cell. The rows are tried in order and
// the first match decides; a colour that matches no row is open water.
class LevelColours {
public:
    enum class TileLayer {
        NONE, // the row places an object, not a tile
        MAIN, // behind the creatures; rock here is solid
        FOREGROUND, // in front of the creatures, never solid
    };

    enum class Kind {
        TILE,
        CRAB,
        LEVIATHAN,
        EEL,
        ANGLER,
        SPIKES,
        PIRATE_FISH,
        PUFFER_FISH,
        CRATE,
        SENTINEL,
        SEAGULL,
        SHARK,
        PLAYER_START,
        SWORDFISH,
        JELLYFISH,
        CANNON,
        DOLPHIN,
        SLEEPY_FISH,
        TREASURE,
        REFILL,
        CLAM,
    };

    enum class Placement {
        NONE, // tiles
        // Registered as a creature first (its reset runs), then moved to the
        // cell centre plus offsetY.
        PLACED,
        // Moved to the cell centre first, then registered, so its reset
        // starts from the cell.
        POSITIONED_THEN_REGISTERED,
        // Put at the cell centre (plus the treasure offset): the player's
        // start and the treasures.
        AT_CENTRE,
    };

    struct Row {
        int number; // 1 for the first row tried
        int red, green, blue;
        TileLayer layer;
        int tileCode; // -1 for objects
        Kind kind;
        const char* datafile; // the picture file of a creature, "" for the rest
        Placement placement;
        int offsetY; // added to the cell centre after placing
        bool hanging; // spikes hang from the roof (drawn upside down)
        bool facesLeft; // a sentinel looks and fires towards lower columns
        bool explosive; // a crate that blows up
        bool givesPlunger; // the fish gets its plunger before this creature is built
        int sharkArgument; // what the shark is built with
        // The treasure of a treasure row, or the pearl a clam keeps: its kind
        // and where it lies from the cell centre. Kind -1 for everything else.
        int treasureKind;
        int treasureOffsetX, treasureOffsetY;
    };

    static constexpr int ROW_COUNT = 38;

    // Every row, in the order they are tried.
    static const std::vector<Row>& rows();
    // 0xRRGGBB, as a 24-bit picture stores a colour.
    static int key(int red, int green, int blue) { return (red << 16) | (green << 8) | blue; }
    static int key(const Row& row) { return key(row.red, row.green, row.blue); }
    // The first row of an exact 24-bit key; nullptr for water and anything
    // the table does not know.
    static const Row* find(int rgbKey);
    // The first row matching a pixel value of a picture of the given colour
    // depth. True-colour pixels are compared by their exact key; pixels of
    // fewer bits are compared with the table's colours reduced to that
    // depth, where the first of two rows that meet wins.
    static const Row* findPixel(int pixel, int depth);
    // The row of a picture's pixel; nullptr outside the picture.
    static const Row* at(BITMAP* picture, int x, int y);
};
