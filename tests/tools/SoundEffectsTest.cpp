// The game's sound effects as the player hears them.
#include "databuilder/audio/SoundEffects.h"
#include "databuilder/audio/Synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Rising zero crossings per second over a stretch: a rough pitch.
double crossingRate(const std::vector<float>& v, double from, double to)
{
    size_t begin = static_cast<size_t>(from * v.size()), end = static_cast<size_t>(to * v.size());
    int crossings = 0;
    for (size_t i = begin + 1; i < end; ++i) {
        if (v[i - 1] < 0.0f && v[i] >= 0.0f) {
            ++crossings;
        }
    }
    return crossings * static_cast<double>(Synth::RATE) / (end - begin);
}

} // namespace

TEST(SoundEffects, EveryNameRendersAndTheDanceCuesAreTellApart)
{
    for (const std::string& name : SoundEffects::names()) {
        SCOPED_TRACE(name);
        std::vector<float> sound = SoundEffects::render(name);
        ASSERT_FALSE(sound.empty());
        for (float v : sound) {
            ASSERT_LE(std::fabs(v), 1.0f);
        }
    }
    // The player learns the four moves by ear: up rises, down falls, and
    // right sits above left.
    std::vector<float> up = SoundEffects::render("danceup"), down = SoundEffects::render("dancedown");
    std::vector<float> left = SoundEffects::render("danceleft"), right = SoundEffects::render("danceright");
    EXPECT_GT(crossingRate(up, 0.45, 0.7), 1.4 * crossingRate(up, 0.02, 0.25));
    EXPECT_LT(crossingRate(down, 0.45, 0.7), 0.7 * crossingRate(down, 0.02, 0.25));
    EXPECT_GT(crossingRate(right, 0.02, 0.5), 1.3 * crossingRate(left, 0.02, 0.5));
}
