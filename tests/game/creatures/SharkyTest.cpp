#include "game/creatures/HazardWorld.h"

#include "game/creatures/Sharky.h"

#include <gtest/gtest.h>

namespace {

using hazardtest::DT;
using hazardtest::HazardWorld;

using SharkyTest = HazardWorld;

TEST_F(SharkyTest, TheSharkSpeedsUpTheFishAndClosesInWithoutEverPassingIt)
{
    Player* fish = makePlayer(600, 50);
    auto* shark = place<Sharky>(0, 0, 0);
    EXPECT_EQ(510, fish->swimSpeed);
    shark->setPosition(0, 0);

    shark->update(0.1f);
    EXPECT_EQ(std::make_pair(50.0f, 25.0f), std::make_pair(shark->x, shark->y)) << "500 across, 250 down";
    EXPECT_TRUE(shark->flipH) << "facing the fish on its right";
    float seconds = 0.1f;
    while (!fish->dead && seconds < 3.0f) {
        shark->update(DT);
        seconds += DT;
        ASSERT_LE(shark->x, 600.0f);
        ASSERT_LE(shark->y, 50.0f);
    }
    EXPECT_TRUE(fish->dead);
    EXPECT_NEAR(1.05f, seconds, 0.02f) << "within 80 pixels";
    float x = shark->x;
    step(shark, 1.0f);
    EXPECT_EQ(x, shark->x) << "done with a dead fish";
}

TEST_F(SharkyTest, ALongStepEndsLevelWithTheFishAndAFrozenLevelHoldsTheShark)
{
    auto* shark = place<Sharky>(5, 3, 0);
    Player* fish = makePlayer(420, 100);
    EXPECT_EQ(200, fish->swimSpeed) << "a fish that came later swims as usual";
    shark->update(0.1f);
    EXPECT_EQ(std::make_pair(420.0f, 255.0f), std::make_pair(shark->x, shark->y));
    EXPECT_FALSE(shark->flipH) << "facing left, the way it swam";
    shark->update(1.0f);
    EXPECT_EQ(100.0f, shark->y);

    shark->setPosition(40, 40);
    game.frozen = true;
    step(shark, 0.5f);
    EXPECT_EQ(std::make_pair(40.0f, 40.0f), std::make_pair(shark->x, shark->y));
}

} // namespace
