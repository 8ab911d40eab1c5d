#pragma once

#include <string>
#include <vector>

// A level map as written by hand under data/levels/: one character per cell
// (see LevelLegend), one line per row of cells, top row first. Lines that
// start with ';' above the map are comments; rows shorter than the longest
// are open water to the right.
class LevelFile {
public:
    // Both return false, with error() saying where and what, when the map
    // cannot be read or holds a character outside the legend.
    bool load(const std::string& path);
    bool parse(const std::string& text);

    const std::string& error() const { return problem; }
    int width() const { return columns; }
    int height() const { return static_cast<int>(rows.size()); }
    // The character of cell (x, y); '.' for the padding and outside the map.
    char at(int x, int y) const;
    // Every cell holding the character, column by column as the game meets them.
    struct Cell {
        int x;
        int y;
    };
    std::vector<Cell> find(char symbol) const;

private:
    std::vector<std::string> rows;
    int columns = 0;
    std::string problem;
};
