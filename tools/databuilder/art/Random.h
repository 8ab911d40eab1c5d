#pragma once

#include <cstdint>
#include <string>

// The builder's own small generator, so the artwork comes out the same on
// every machine and every build: each picture seeds one from its name.
class Random {
public:
    explicit Random(std::uint32_t seed = 1);
    explicit Random(const std::string& name);

    std::uint32_t next();
    // A whole number from low to high, both included.
    int range(int low, int high);
    // A fraction in [0, 1).
    float unit();
    // A fraction in [low, high).
    float between(float low, float high);

private:
    std::uint64_t state;
};
