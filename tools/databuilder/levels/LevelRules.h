#pragma once

#include <string>
#include <vector>

// What the game does with a level of a given number that the picture itself
// cannot say, as far as the builder's checks need it: how the fish gets
// about, who places it, which chests it must reach, and the cells that the
// game's own set-up (a boss, a mini-game) expects to find open.
class LevelRules {
public:
    enum class Movement {
        SWIM, // free swimming in four directions
        CHASE, // swimming with a shark behind: the way on never turns back left
        RIDE, // carried right by a friend, steering up and down only
        WALK, // out of the water, walking and jumping (levels 30-39)
        DANCE, // the fish does not move about at all
        COLUMN, // up and down its own column only (the invaders' gallery)
    };
    enum class ChestRule {
        REACHABLE, // story levels: at least one chest, every one reachable
        MOVED, // exactly one chest, which the mini-game takes away at once
        SEALED, // exactly one chest, out of reach until the mini-game sends it
        BROUGHT, // exactly one chest, the level's first treasure, out of reach
                 // until the beaten boss calls it to where it fell
        NONE, // no chest: the mini-game makes its own
    };
    struct Cell {
        int x;
        int y;
        std::string why;
    };
    // A swim of a boss between two points in level pixels. A swim on both
    // axes at once moves each axis at the same speed: a slant of 45 degrees
    // until one axis has arrived, then straight on along the other.
    struct Path {
        int fromX;
        int fromY;
        int toX;
        int toY;
        std::string who;
        bool axisByAxis = false;
        std::string how = "swims";
    };
    // A boss that flies along a row and dives down any column it crosses
    // onto the fish below, to the last open cell above the first rock; only
    // spikes waiting there can hurt it, and it is beaten where it dived.
    struct Dive {
        int row;
        int firstColumn;
        int lastColumn;
        std::string who;
    };
    // A place the fish must swim to within so many seconds of the last one;
    // with topUp it must pass a bubble refill station on the way, having
    // blown the bubbles it started with.
    struct Stop {
        int x;
        int y;
        double seconds;
        std::string what;
        bool topUp = false;
    };
    // A row of the start's column that the fish must be able to get to.
    struct Row {
        int y;
        std::string why;
    };
    // A vertical line in level pixels that the fish must start right of.
    struct Line {
        int x = -1; // -1: no such line
        std::string why;
    };
    // A tile that a beaten boss changes: the cell is open (or solid) afterwards.
    struct Change {
        int x;
        int y;
        bool solid;
    };
    // A boss that charges the fish once it swims past a line: it aims a set
    // distance ahead of the fish and then runs back along the same height.
    struct Charge {
        int beyondX = -1; // -1: no such boss
        int ahead = 0;
        int runToX = 0;
        std::string who;
    };

    static constexpr int MAX_WIDTH = 300;
    static constexpr int MAX_HEIGHT = 150;

    // The rules of a story level (0-49) or a mini-game (1000-1003).
    static LevelRules forLevel(int number);
    static bool exists(int number)
    {
        return (number >= 0 && number < 50) || (number >= 1000 && number <= 1003);
    }
    // Index of the level's picture in lvl/levels.dat.
    static int objectIndex(int number) { return number < 1000 ? number : number - 950; }
    // "level07.txt", "minigame1002.txt".
    static std::string fileName(int number);

    int number = 0;
    Movement movement = Movement::SWIM;
    bool startRequired = true; // false: the game places the fish itself
    ChestRule chests = ChestRule::REACHABLE;
    int coinsRequired = 0; // with a dolphin dropping the coins
    bool sharkRequired = false;
    bool leviathanRequired = false; // the level's boss is the leviathan of its 'L'
    int minWidth = 1;
    int minHeight = 1;
    std::vector<Cell> mustBeOpen; // no rock there
    std::vector<Cell> mustBeRock; // rock there (beyond the map's edge counts)
    std::vector<Cell> mustBeReachable; // the fish has to get there
    std::vector<Cell> startNotAt; // the fish must not start there
    Line startRightOf;
    std::vector<Row> startColumnRows; // reachable in the start's column
    std::vector<Stop> timedRoute; // from the start, one stop after another
    std::vector<Path> openPaths; // no rock along these lines
    std::vector<Cell> pathsMayCross; // rock the open paths may pass over
    std::vector<Change> bossChanges; // the map once the boss is beaten
    // The fish must not get there before the boss is beaten.
    std::vector<Cell> sealedUntilBeaten;
    // At least one chest lies out of reach until the boss is beaten.
    bool chestBehindBoss = false;
    // The fight takes more bubbles than a new fish carries: the fish must
    // be able to reach a refill station.
    bool refillRequired = false;
    std::vector<Dive> spikeDives; // bosses the fish lures onto spikes
    // Every chest lies behind the boss's changes: out of reach until it is
    // beaten.
    bool chestsAfterBoss = false;
    // Crates ('x' or '*') the fish must be able to get at.
    int minCrates = 0;
    std::string cratesWhy;
    // The fish must start at or left of this x in level pixels (-1: anywhere).
    int startUpToX = -1;
    std::string startWhy;
    Charge charge;
    // The swordfish's duel: it stalks the fish along its own row, never
    // nearer than 160 pixels to either end of the level, and wounds whatever
    // is level with its nose, so the chests past its reach are only won by
    // beating it.
    bool duel = false;
};
