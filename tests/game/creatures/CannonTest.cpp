#include "game/creatures/HazardWorld.h"

#include "game/creatures/Cannon.h"
#include "game/creatures/Crate.h"

#include <gtest/gtest.h>

namespace {

using hazardtest::HazardWorld;

class CannonTest : public HazardWorld {
protected:
    CannonTest()
    {
        buildMap({ "##########", "#........#", "##########" });
        cannon = place<Cannon>(7, 1);
    }

    Cannon* cannon = nullptr;
};

TEST_F(CannonTest, ItFiresLeftToTheRockEveryTwoSecondsOnceItsBallIsDownAndTheBallTrailsSmoke)
{
    run(1.98f);
    EXPECT_FALSE(cannon->ballFlying);
    EXPECT_FALSE(listed(&cannon->ball));
    run(0.04f);
    ASSERT_TRUE(cannon->ballFlying);
    EXPECT_TRUE(listed(&cannon->ball)) << "bubbles can reach it";
    EXPECT_TRUE(onLayer(&cannon->ball, 3));
    EXPECT_TRUE(onLayer(&cannon->smoke, 3));
    EXPECT_TRUE(cannon->ball.visible);
    EXPECT_EQ(61.0f, cannon->ball.xTween.target) << "into the rock of column 0";
    EXPECT_EQ(138.0f, cannon->ball.y) << "from the muzzle";
    EXPECT_GT(cannon->ball.x, 555.0f);
    EXPECT_GT(cannon->smoke.alpha, 0.0f);
    EXPECT_EQ(1u, played("cannon").size());

    run(0.5f);
    EXPECT_NEAR(565.0f - 400.0f * 0.5f, cannon->ball.x, 8.0f);
    EXPECT_NEAR(10.0f, static_cast<float>(smoke.particles.size()), 1.0f) << "a puff every 0.05 s";

    run(0.8f);
    EXPECT_FALSE(cannon->ballFlying);
    EXPECT_FALSE(cannon->ball.visible);
    EXPECT_FALSE(listed(&cannon->ball));
    EXPECT_FALSE(onLayer(&cannon->ball, 3));
    EXPECT_FALSE(onLayer(&cannon->smoke, 3));
    size_t puffs = smoke.particles.size();

    run(1.9f);
    EXPECT_EQ(1u, played("cannon").size()) << "reloading since the ball came down";
    EXPECT_EQ(puffs, smoke.particles.size());
    run(0.2f);
    EXPECT_EQ(2u, played("cannon").size());
}

TEST_F(CannonTest, ABallCaughtInABubbleHangsStillStillHurtsAndFliesOnWhenTheBubbleBursts)
{
    run(2.32f);
    ASSERT_TRUE(cannon->ballFlying);
    cannon->ball.trap(1.0f);
    const float x = cannon->ball.x;
    const size_t puffs = smoke.particles.size();
    run(0.5f);
    EXPECT_EQ(x, cannon->ball.x);
    EXPECT_EQ(puffs, smoke.particles.size()) << "no smoke while it hangs";
    EXPECT_EQ(1u, played("cannon").size()) << "no second ball meanwhile";

    Player* fish = makePlayer(x + 30.0f, cannon->ball.y);
    run(0.1f);
    EXPECT_TRUE(fish->dead);

    run(0.5f);
    EXPECT_LT(cannon->ball.x, x) << "on its way again";
    EXPECT_TRUE(listed(&cannon->ball));
    run(1.2f);
    EXPECT_FALSE(cannon->ballFlying);
    EXPECT_FALSE(listed(&cannon->ball));
}

TEST_F(CannonTest, ABallStopsAtTheFirstCrateInItsWayAndSetsOffAnExplosiveOne)
{
    auto* plain = place<Crate>(4, 1);
    run(2.6f);
    EXPECT_FALSE(cannon->ballFlying) << "stopped short of the crate";
    EXPECT_FALSE(listed(&cannon->ball));
    EXPECT_TRUE(plain->visible);
    EXPECT_EQ(360.0f, plain->x);

    plain->visible = false;
    auto* explosive = place<Crate>(2, 1);
    explosive->setExplosive();
    run(3.2f);
    EXPECT_FALSE(explosive->visible);
    EXPECT_FALSE(cannon->ballFlying);
    EXPECT_EQ(3u, played("cannon").size()) << "two shots and the blast";
}

TEST_F(CannonTest, ACannonRemovedInMidShotTakesItsBallAndSmokeWithIt)
{
    run(2.1f);
    ASSERT_TRUE(cannon->ballFlying);
    const void* ball = &cannon->ball;
    const void* smokePuff = &cannon->smoke;
    GameState* level = game.getState("level");
    level->removeSprite(cannon);
    level->purge();
    EXPECT_FALSE(listed(ball));
    EXPECT_FALSE(onLayer(ball, 3));
    EXPECT_FALSE(onLayer(smokePuff, 3));
    run(0.5f);
}

} // namespace
