#include "game/creatures/HazardWorld.h"

#include "game/creatures/Seagull.h"

#include <gtest/gtest.h>

namespace {

using hazardtest::DT;
using hazardtest::HazardWorld;
using Stops = std::vector<std::pair<float, float>>;

class SeagullTest : public HazardWorld {
protected:
    SeagullTest()
    {
        buildMap({ "##########", "#........#", "#........#", "#........#", "##########" });
        gull = place<Seagull>(2, 1);
    }

    // Where each move the gull started in the given time was headed.
    Stops route(float seconds)
    {
        Stops targets;
        for (float t = 0.0f; t < seconds; t += DT) {
            gull->update(DT);
            std::pair<float, float> target { gull->xTween.active ? gull->xTween.target : gull->x,
                gull->yTween.active ? gull->yTween.target : gull->y };
            if (gull->moving && (targets.empty() || targets.back() != target)) {
                targets.push_back(target);
            }
        }
        return targets;
    }

    Seagull* gull = nullptr;
};

TEST_F(SeagullTest, ItPatrolsItsRowFromWallToWallFacingTheWayItFlies)
{
    EXPECT_EQ(21, gull->datafile.count) << "made with its flying pictures";
    gull->update(DT);
    EXPECT_TRUE(gull->flipH);
    EXPECT_EQ(680.0f, gull->xTween.target);
    step(gull, 1.0f);
    EXPECT_NEAR(200.0f + 250.0f * 1.0f, gull->x, 1.0f) << "250 pixels a second";
    EXPECT_EQ((Stops { { 680.0f, 120.0f }, { 120.0f, 120.0f } }), route(1.5f));
    EXPECT_FALSE(gull->flipH);
    EXPECT_EQ((Stops { { 120.0f, 120.0f }, { 680.0f, 120.0f } }), route(2.0f));
    EXPECT_TRUE(gull->flipH);
    EXPECT_TRUE(played("seagull").empty());
}

TEST_F(SeagullTest, ItSpotsTheFishBelowHoversHalfASecondDivesToTheGroundAndClimbsBack)
{
    Player* fish = makePlayer(210, 280);
    gull->update(DT);
    EXPECT_FALSE(gull->moving) << "stops over the fish";
    EXPECT_EQ("fly", gull->animationName);
    EXPECT_EQ(280.0f, gull->diveTargetY) << "the last open cell above the ground";
    EXPECT_EQ(120.0f, gull->homeY);

    step(gull, 0.48f);
    EXPECT_FALSE(gull->diving);
    EXPECT_EQ(120.0f, gull->y);
    step(gull, 0.03f);
    ASSERT_TRUE(gull->diving);
    EXPECT_EQ(1u, played("seagull").size());
    EXPECT_EQ(1, gull->datafile.count) << "the diving picture";
    EXPECT_EQ(0.0f, gull->frame);
    EXPECT_FALSE(gull->frameTween.active);

    step(gull, 0.1f);
    EXPECT_NEAR(186.0f, gull->y, 7.0f) << "600 pixels a second";
    EXPECT_FALSE(fish->dead);
    step(gull, 0.2f);
    EXPECT_TRUE(fish->dead) << "caught at 64 pixels";

    step(gull, 0.1f);
    ASSERT_TRUE(gull->climbing);
    EXPECT_EQ(21, gull->datafile.count);
    EXPECT_EQ("fly", gull->animationName);
    EXPECT_EQ(120.0f, gull->yTween.target);
    step(gull, 0.3f);
    EXPECT_FALSE(gull->climbing);
    EXPECT_EQ(120.0f, gull->y);
    step(gull, 0.1f);
    EXPECT_TRUE(gull->moving) << "on patrol again; a dead fish is no prey";
    EXPECT_EQ(1u, played("seagull").size());
}

TEST_F(SeagullTest, RockBelowHidesTheFishAndABubbleHoldsItMidDive)
{
    buildMap({ "##########", "#........#", "#.#......#", "#........#", "##########" });
    Player* fish = makePlayer(200, 280);
    step(gull, 0.5f);
    EXPECT_TRUE(gull->moving) << "the rock between them";
    EXPECT_EQ(0.0f, gull->diveTimer);

    gull->setPosition(360, 120);
    gull->xTween.stop();
    gull->moving = false;
    fish->x = 360;
    step(gull, 0.6f);
    ASSERT_TRUE(gull->diving);
    gull->trap(1.0f);
    float y = gull->y;
    step(gull, 0.9f);
    EXPECT_EQ(y, gull->y);
    EXPECT_FALSE(fish->dead);
    step(gull, 0.5f);
    EXPECT_TRUE(fish->dead) << "free again, it finishes the dive";
}

} // namespace
