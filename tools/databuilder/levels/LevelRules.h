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
        NONE, // no chest: the mini-game makes its own
    };
    struct Cell {
        int x;
        int y;
        std::string why;
    };
    // A straight swim of a boss between two points in level pixels.
    struct Path {
        int fromX;
        int fromY;
        int toX;
        int toY;
        std::string who;
    };
    // A place the fish must swim to within so many seconds of the last one.
    struct Stop {
        int x;
        int y;
        double seconds;
        std::string what;
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
    int minWidth = 1;
    int minHeight = 1;
    std::vector<Cell> mustBeOpen; // no rock there
    std::vector<Cell> mustBeReachable; // the fish has to get there
    std::vector<Cell> startNotAt; // the fish must not start there
    Line startRightOf;
    std::vector<Row> startColumnRows; // reachable in the start's column
    std::vector<Stop> timedRoute; // from the start, one stop after another
    std::vector<Path> openPaths; // no rock along these lines
    std::vector<Change> bossChanges; // the map once the boss is beaten
};
