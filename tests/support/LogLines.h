#pragma once

#include "engine/core/DebugLog.h"

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

// Reading back what the game wrote to debug.log. Call startFreshLog() first
// so that only the lines of the test at hand are seen.
inline void startFreshLog()
{
    DebugLog::reset();
    DebugLog::log("test start");
}

inline std::vector<std::string> logLines()
{
    std::vector<std::string> lines;
    std::ifstream in("debug.log");
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

inline bool logHas(const std::string& line)
{
    std::vector<std::string> lines = logLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}
