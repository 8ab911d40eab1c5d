#include "game/creatures/HazardWorld.h"

#include "game/creatures/Refill.h"

#include <gtest/gtest.h>

namespace {

using hazardtest::HazardWorld;

class RefillTest : public HazardWorld {
protected:
    RefillTest()
    {
        buildMap({ "......", "......", "......", "......" });
        game.bubbleLimit = 5;
        station = place<Refill>(2, 2);
    }

    Refill* station = nullptr;
};

TEST_F(RefillTest, AFishShortOfBubblesIsToppedUpWithinSixtyFourPixels)
{
    EXPECT_FALSE(station->visible) << "only its bubbles show";
    Player* fish = makePlayer(200 + 64, 200);
    fish->bubbles = 2;
    station->update(0.01f);
    EXPECT_EQ(2, fish->bubbles);
    EXPECT_TRUE(played("refill").empty());

    fish->x = 200 + 63;
    station->update(0.01f);
    EXPECT_EQ(5, fish->bubbles) << "up to the game's current limit";
    EXPECT_EQ((std::vector<std::string> { "100 50" }), played("refill"));
    station->update(0.01f);
    EXPECT_EQ(1u, played("refill").size()) << "nothing for a fish already full";

    fish->bubbles = 4;
    fish->dead = true;
    station->update(0.01f);
    EXPECT_EQ(4, fish->bubbles) << "nor for a dead one";
}

TEST_F(RefillTest, ItSendsUpAPuffOfBubblesEveryHalfSecondAndRestsWhileTheLevelIsFrozen)
{
    step(station, 0.48f);
    EXPECT_TRUE(station->puffs.particles.empty());
    step(station, 0.03f);
    ASSERT_FALSE(station->puffs.particles.empty());
    const size_t puff = station->puffs.particles.size();
    for (const Particle& bubble : station->puffs.particles) {
        EXPECT_GE(200.0f, bubble.y) << "on their way up";
        EXPECT_GT(0.0f, bubble.ay);
    }
    step(station, 0.52f);
    EXPECT_EQ(2 * puff, station->puffs.particles.size()) << "they live a second at least";

    game.frozen = true;
    step(station, 2.0f);
    EXPECT_EQ(2 * puff, station->puffs.particles.size());

    BITMAP* canvas = create_bitmap_ex(16, 400, 300);
    clear_to_color(canvas, bitmap_mask_color(canvas));
    station->draw(canvas);
    destroy_bitmap(canvas);
}

} // namespace
