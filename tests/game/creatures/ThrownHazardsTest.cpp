#include "game/creatures/HazardWorld.h"

#include "game/creatures/Gust.h"
#include "game/creatures/InkBlot.h"

#include <gtest/gtest.h>

namespace {

using hazardtest::DT;
using hazardtest::HazardWorld;

// What the bosses throw: the bird's gusts and the squid's ink.
class ThrownHazardsTest : public HazardWorld {
protected:
    ThrownHazardsTest() { buildMap({ "##########", "##########", "##########", "##########" }); }

    InkBlot* blotAt(float x, float y)
    {
        auto* blot = new InkBlot();
        blot->setPosition(static_cast<int>(x), static_cast<int>(y));
        game.addCreature(blot);
        return blot;
    }
};

TEST_F(ThrownHazardsTest, AGustSweepsSidewaysAndDownThroughRockAndKnocksOutTheFish)
{
    auto* right = new Gust(300.0f, true);
    game.addCreature(right);
    right->setPosition(100, 100);
    right->update(0.1f);
    EXPECT_EQ(std::make_pair(130.0f, 130.0f), std::make_pair(right->x, right->y));
    EXPECT_TRUE(right->flipH);

    auto* left = new Gust(200.0f, false);
    game.addCreature(left);
    left->setPosition(500, 100);
    left->update(0.5f);
    EXPECT_EQ(std::make_pair(400.0f, 200.0f), std::make_pair(left->x, left->y));

    Player* fish = makePlayer(400 - 50, 200 + 40);
    left->update(0.0f);
    EXPECT_FALSE(fish->dead) << "64 pixels away";
    left->update(0.01f);
    EXPECT_TRUE(fish->dead);
}

TEST_F(ThrownHazardsTest, AnInkBlotIsSpatTowardsItsTargetSpinsDriftsAndFadesAfterThreeSeconds)
{
    InkBlot* blot = blotAt(400, 300);
    blot->aim(400 + 300, 300 + 400);
    EXPECT_EQ(std::make_pair(448.0f, 364.0f), std::make_pair(blot->x, blot->y)) << "80 pixels out";
    step(blot, 1.0f);
    EXPECT_NEAR(448.0f + 0.6f * 200.0f, blot->x, 0.5f);
    EXPECT_NEAR(364.0f + 0.8f * 200.0f, blot->y, 0.5f);
    EXPECT_TRUE(blot->angleTween.active) << "spinning";

    step(blot, 1.98f);
    EXPECT_EQ(255.0f, blot->alpha);
    step(blot, 0.05f);
    EXPECT_TRUE(blot->visible);
    EXPECT_GT(255.0f, blot->alpha);
    step(blot, 0.1f);
    EXPECT_FALSE(blot->visible);
    const float x = blot->x;
    step(blot, 0.5f);
    EXPECT_EQ(x, blot->x) << "gone for good";

    InkBlot* still = blotAt(100, 100);
    still->aim(100, 100);
    step(still, 0.5f);
    EXPECT_EQ(std::make_pair(100.0f, 100.0f), std::make_pair(still->x, still->y));
}

TEST_F(ThrownHazardsTest, InkHeldInABubbleWaitsThereHarmlesslyAndItsTimeStandsStill)
{
    InkBlot* blot = blotAt(400, 300);
    blot->aim(0, 300);
    step(blot, 2.0f);
    blot->trap(5.0f);
    const float x = blot->x;
    Player* fish = makePlayer(x, 300);
    step(blot, 4.0f);
    EXPECT_EQ(x, blot->x);
    EXPECT_FALSE(fish->dead) << "harmless in its bubble";
    EXPECT_TRUE(blot->visible);
    EXPECT_EQ(255.0f, blot->alpha);

    step(blot, 1.1f);
    EXPECT_EQ(0.0f, blot->trapTime);
    EXPECT_TRUE(fish->dead) << "free, it splashes the fish";
    step(blot, 0.95f);
    EXPECT_TRUE(blot->visible) << "a second of its three was left";
    step(blot, 0.2f);
    EXPECT_FALSE(blot->visible);
}

TEST_F(ThrownHazardsTest, InkSplashesOnlyAFishCloserThanThirtyTwoPixelsThatIsInTheFight)
{
    Player* fish = makePlayer(432, 300);
    InkBlot* blot = blotAt(400, 300);
    step(blot, 0.1f);
    EXPECT_FALSE(fish->dead);

    fish->controlsLocked = true;
    fish->x = 410;
    step(blot, 0.1f);
    EXPECT_FALSE(fish->dead) << "a fish the game holds is out of reach";
    fish->controlsLocked = false;
    step(blot, DT);
    EXPECT_TRUE(fish->dead);
}

} // namespace
