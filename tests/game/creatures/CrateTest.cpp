#include "game/creatures/HazardWorld.h"

#include "game/creatures/Crate.h"

#include <gtest/gtest.h>

namespace {

using hazardtest::BigSharkStandIn;
using hazardtest::HazardWorld;

class CrateTest : public HazardWorld {
protected:
    CrateTest() { buildMap({ "........", "........", "........", "........", "........", "........" }); }

    Crate* explosiveAt(int column, int row)
    {
        auto* crate = place<Crate>(column, row);
        crate->setExplosive();
        return crate;
    }

    template <typename... Args> BigSharkStandIn* standIn(float x, float y, Args&&... args)
    {
        auto* shark = new BigSharkStandIn(std::forward<Args>(args)...);
        game.addCreature(shark);
        shark->setPosition(static_cast<int>(x), static_cast<int>(y));
        return shark;
    }
};

TEST_F(CrateTest, APlainCrateShrugsOffBlowsAndAnExplosiveOneBlowsUpOnce)
{
    auto* plain = place<Crate>(1, 1);
    EXPECT_EQ("dat/crate.dat", plain->datafile.name);
    plain->hit();
    plain->bubblePopped();
    EXPECT_TRUE(plain->visible);
    EXPECT_TRUE(played("cannon").empty());
    EXPECT_TRUE(smoke.particles.empty());

    Crate* crate = explosiveAt(3, 3);
    EXPECT_EQ("dat/excrate.dat", crate->datafile.name);
    EXPECT_TRUE(crate->isExplosive());
    crate->bubblePopped();
    EXPECT_FALSE(crate->visible) << "gone, so nothing bumps into it any more";
    EXPECT_FALSE(game.obstacleAt(280, 280));
    EXPECT_EQ((std::vector<std::string> { "100 50" }), played("cannon"));
    EXPECT_EQ(100u, smoke.particles.size());
    crate->hit();
    EXPECT_EQ(1u, played("cannon").size());
    EXPECT_EQ(100u, smoke.particles.size());
}

TEST_F(CrateTest, TheBlastKillsAFishWithinAHundredPixels)
{
    Player* fish = makePlayer(280 + 101, 280);
    explosiveAt(3, 3)->hit();
    EXPECT_FALSE(fish->dead);
    fish->x = 440 + 99;
    explosiveAt(5, 3)->hit();
    EXPECT_TRUE(fish->dead);
}

TEST_F(CrateTest, OnlyABigSharkWhoseBodyReachesWellIntoTheBlastIsWounded)
{
    // The crate's box is 240-320 across, the sharks' 200 x 100 pictures lose
    // 20 pixels on every side.
    Crate* crate = explosiveAt(3, 3);
    BigSharkStandIn* near = standIn(399, 280);
    BigSharkStandIn* grazing = standIn(401, 280);
    BigSharkStandIn* below = standIn(280, 351);
    BigSharkStandIn* hidden = standIn(280, 280);
    hidden->visible = false;
    BigSharkStandIn* stranger = standIn(280, 280, "sharky.dat");
    crate->hit();
    EXPECT_EQ(1, near->hits);
    EXPECT_EQ(0, grazing->hits) << "its outline touches, its body does not";
    EXPECT_EQ(0, below->hits);
    EXPECT_EQ(0, hidden->hits);
    EXPECT_EQ(0, stranger->hits) << "only the big shark feels it";
}

} // namespace
