#pragma once

#include <string>

// A named run of frames that game objects keep in their tables.
struct Animation {
    std::string name;
    int first = 0;
    int last = 0;
    float duration = 0.0f;
    int repeats = 0;
    bool pingPong = false;
};
