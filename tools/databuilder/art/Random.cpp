#include "databuilder/art/Random.h"

Random::Random(std::uint32_t seed)
    : state(0x9E3779B97F4A7C15ull ^ (static_cast<std::uint64_t>(seed) * 0xBF58476D1CE4E5B9ull))
{
    if (state == 0) {
        state = 1;
    }
}

Random::Random(const std::string& name)
    : Random(0)
{
    // FNV-1a over the name gives every picture its own stream.
    std::uint32_t hash = 2166136261u;
    for (unsigned char c : name) {
        hash = (hash ^ c) * 16777619u;
    }
    state = 0x9E3779B97F4A7C15ull ^ (static_cast<std::uint64_t>(hash) * 0xBF58476D1CE4E5B9ull);
    if (state == 0) {
        state = 1;
    }
}

std::uint32_t Random::next()
{
    // xorshift64*
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return static_cast<std::uint32_t>((state * 0x2545F4914F6CDD1Dull) >> 32);
}

int Random::range(int low, int high)
{
    if (high <= low) {
        return low;
    }
    std::uint32_t span = static_cast<std::uint32_t>(high - low) + 1u;
    return low + static_cast<int>(next() % span);
}

float Random::unit()
{
    return static_cast<float>(next() >> 8) / 16777216.0f;
}

float Random::between(float low, float high)
{
    return low + (high - low) * unit();
}
