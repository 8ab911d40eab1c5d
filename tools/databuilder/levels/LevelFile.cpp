#include "levels/LevelFile.h"

#include "levels/LevelLegend.h"

#include <algorithm>
#include <fstream>
#include <sstream>

bool LevelFile::load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        rows.clear();
        columns = 0;
        problem = "cannot open [" + path + "]";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return parse(text.str());
}

bool LevelFile::parse(const std::string& text)
{
    rows.clear();
    columns = 0;
    problem.clear();

    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }

    // The header: comments and blank lines above the first row of cells.
    size_t first = 0;
    while (first < lines.size() && (lines[first].empty() || lines[first][0] == ';')) {
        ++first;
    }
    size_t last = lines.size();
    while (last > first && lines[last - 1].find_first_not_of(' ') == std::string::npos) {
        --last;
    }
    if (first == last) {
        problem = "the map has no rows of cells";
        return false;
    }

    for (size_t i = first; i < last; ++i) {
        const std::string& row = lines[i];
        int y = static_cast<int>(i - first);
        for (size_t x = 0; x < row.size(); ++x) {
            char symbol = row[x];
            if (LevelLegend::isKnown(symbol)) {
                continue;
            }
            std::ostringstream message;
            message << "line " << i + 1 << ", cell (" << x << ", " << y << "): ";
            if (symbol == '\t') {
                message << "tabs are not allowed, write water as '.' or spaces";
            } else if (symbol == ';') {
                message << "comment lines belong above the map";
            } else {
                message << "'" << symbol << "' is not in the level legend";
            }
            problem = message.str();
            rows.clear();
            return false;
        }
        rows.push_back(row);
        columns = std::max(columns, static_cast<int>(row.size()));
    }
    return true;
}

char LevelFile::at(int x, int y) const
{
    if (y < 0 || y >= height() || x < 0 || x >= static_cast<int>(rows[y].size())) {
        return '.';
    }
    return rows[y][x];
}

std::vector<LevelFile::Cell> LevelFile::find(char symbol) const
{
    std::vector<Cell> cells;
    for (int x = 0; x < columns; ++x) {
        for (int y = 0; y < height(); ++y) {
            if (at(x, y) == symbol) {
                cells.push_back({ x, y });
            }
        }
    }
    return cells;
}
