#include "game/creatures/HazardWorld.h"

#include "game/creatures/Crate.h"
#include "game/creatures/Sentinel.h"

#include <gtest/gtest.h>

namespace {

using hazardtest::HazardWorld;

class SentinelTest : public HazardWorld {
protected:
    // Runs the statue alone until its bolt has stopped; the seconds it flew.
    float boltFlight()
    {
        float seconds = 0.0f;
        while (statue->firing && seconds < 5.0f) {
            statue->update(hazardtest::DT);
            seconds += hazardtest::DT;
        }
        return seconds;
    }

    Sentinel* statue = nullptr;
};

TEST_F(SentinelTest, AClearRowDrawsABoltAlongItThatKillsTheFish)
{
    buildMap({ "##########", "#........#", "##########" });
    statue = place<Sentinel>(1, 1);
    Player* fish = makePlayer(520, 120);

    statue->update(hazardtest::DT);
    ASSERT_TRUE(statue->firing);
    EXPECT_TRUE(statue->laser.visible);
    EXPECT_TRUE(onLayer(&statue->laser, 3));
    EXPECT_EQ(160.0f, statue->laser.x) << "ahead of the statue";
    EXPECT_EQ(100.0f, statue->laser.y) << "at eye height";
    EXPECT_EQ((std::vector<std::string> { "100 25" }), played("levlaser")) << "heard on the left";

    step(statue, 0.1f);
    EXPECT_NEAR(260.0f, statue->laser.x, 0.5f) << "1000 pixels a second";
    EXPECT_FALSE(fish->dead);
    EXPECT_NEAR(0.23f, boltFlight(), 0.015f);
    EXPECT_TRUE(fish->dead);
    EXPECT_FALSE(statue->laser.visible);
    EXPECT_FALSE(onLayer(&statue->laser, 3));
    EXPECT_EQ(1u, played("levlaser").size());

    step(statue, 1.0f);
    EXPECT_FALSE(statue->firing) << "not at a dead fish";
}

TEST_F(SentinelTest, RockOrAnotherRowKeepsTheStatueQuiet)
{
    buildMap({ "##########", "#....#...#", "#........#", "##########" });
    statue = place<Sentinel>(1, 1);
    Player* fish = makePlayer(600, 120);
    step(statue, 0.5f);
    EXPECT_FALSE(statue->firing) << "rock in between";

    fish->x = 360;
    fish->y = 200;
    step(statue, 0.5f);
    EXPECT_FALSE(statue->firing) << "a row lower";
    EXPECT_TRUE(played("levlaser").empty());
}

TEST_F(SentinelTest, APushedCrateBlocksTheSightAndPushingItAwayOpensItAgain)
{
    buildMap({ "##########", "#........#", "#........#", "#........#", "#........#", "##########" });
    statue = place<Sentinel>(1, 2);
    Crate* crate = place<Crate>(4, 3);
    Player* fish = makePlayer(360, 360);

    key[KEY_UP] = 1;
    run(0.25f);
    hazardtest::releaseKeys();
    run(0.3f);
    ASSERT_EQ(std::make_pair(360.0f, 200.0f), std::make_pair(crate->x, crate->y)) << "pushed into the row";
    EXPECT_FALSE(statue->hasClearSight(7));
    EXPECT_TRUE(statue->hasClearSight(3));
    fish->setPosition(600, 200);
    run(0.5f);
    EXPECT_FALSE(statue->firing);
    EXPECT_FALSE(fish->dead);

    fish->setPosition(360, 120);
    key[KEY_DOWN] = 1;
    run(0.25f);
    hazardtest::releaseKeys();
    run(0.3f);
    ASSERT_EQ(280.0f, crate->y) << "pushed out again";
    fish->setPosition(600, 200);
    run(0.5f);
    EXPECT_TRUE(fish->dead);
    EXPECT_EQ(1u, played("levlaser").size());
}

TEST_F(SentinelTest, AFlippedStatueFiresLeftAndItsBoltStopsAtRockCratesAndTheLevelsEdge)
{
    buildMap({ "##########", "...#.....#", "##########" });
    statue = place<Sentinel>(8, 1);
    statue->flipH = true;
    Player* fish = makePlayer(440, 120);
    statue->update(hazardtest::DT);
    ASSERT_TRUE(statue->firing);
    EXPECT_EQ(640.0f, statue->laser.x);
    EXPECT_TRUE(statue->laser.flipH);
    fish->y = 40; // out of the row, out of the way
    boltFlight();
    EXPECT_FALSE(fish->dead);
    EXPECT_GT(320.0f, statue->laser.x) << "stopped in the rock of column 3";
    EXPECT_LT(240.0f, statue->laser.x);

    statue->setPosition(200, 120);
    fish->setPosition(40, 120);
    statue->update(hazardtest::DT);
    ASSERT_TRUE(statue->firing);
    fish->y = 40;
    boltFlight();
    EXPECT_GT(0.0f, statue->laser.x) << "off the level's left edge";

    Crate* crate = place<Crate>(3, 1);
    crate->setPosition(120, 120);
    fish->setPosition(40, 120);
    statue->update(hazardtest::DT);
    EXPECT_FALSE(statue->firing) << "the crate stands between them";
    statue->setPosition(600, 120);
    crate->setPosition(520, 120);
    fish->setPosition(440, 200);
    statue->laser.x = 560;
    statue->laser.y = 100;
    statue->firing = true;
    statue->update(hazardtest::DT);
    EXPECT_FALSE(statue->firing) << "a bolt flying into a crate stops there";
}

TEST_F(SentinelTest, TheBoltPassesOverAFishLowInItsCellButHitsTheBodyOfAHoppingOne)
{
    buildMap({ "##########", "#........#", "##########" });
    statue = place<Sentinel>(1, 1);
    Player* fish = makePlayer(440, 159);
    statue->update(hazardtest::DT);
    boltFlight();
    EXPECT_FALSE(fish->dead);
    EXPECT_LT(640.0f, statue->laser.x) << "on to the far wall";

    fish->outOfWater = true;
    statue->update(hazardtest::DT);
    boltFlight();
    EXPECT_TRUE(fish->dead);
}

} // namespace
