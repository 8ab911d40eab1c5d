#include "game/creatures/Crab.h"
#include "game/creatures/KindWorld.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

class CrabTest : public leveltest::KindWorld {
protected:
    struct Walk {
        float start;
        float targetX;
        bool operator==(const Walk& other) const
        {
            return std::abs(start - other.start) < 0.11f && targetX == other.targetX;
        }
    };

    // The walks begun in the time given, with when they began.
    static std::vector<Walk> walks(Crab* crab, float seconds)
    {
        std::vector<Walk> found;
        bool wasMoving = false;
        for (int step = 1; step * 0.05f <= seconds + 0.001f; ++step) {
            crab->update(0.05f);
            if (crab->moving && !wasMoving) {
                found.push_back({ step * 0.05f, crab->xTween.active ? crab->xTween.target : crab->x });
            }
            wasMoving = crab->moving;
        }
        return found;
    }
};

TEST_F(CrabTest, WalksItsLedgeEdgeToEdgeRestingTwoSecondsAtEachEnd)
{
    buildMap({ "#........#", "#........#", "#.####...#", "##########" });
    Crab* crab = place<Crab>(4, 1);
    std::vector<Walk> found = walks(crab, 10.0f);
    // Two cells left at 200 pixels a second, three cells right, two left.
    EXPECT_EQ((std::vector<Walk> { { 2.0f, 200.0f }, { 4.8f, 440.0f }, { 8.0f, 200.0f } }), found);
    EXPECT_EQ(120.0f, crab->y);
}

TEST_F(CrabTest, OnAOneCellLedgeItWaitsForEver)
{
    buildMap({ ".......", ".......", "...#...", "......." });
    Crab* crab = place<Crab>(3, 1);
    std::vector<Walk> found = walks(crab, 30.0f);
    EXPECT_LE(13u, found.size()) << "it sets off every two seconds or so";
    for (const Walk& walk : found) {
        EXPECT_EQ(280.0f, walk.targetX);
    }
    EXPECT_EQ(280.0f, crab->x);
}

TEST_F(CrabTest, AFloorlessCrabStaysInItsCell)
{
    buildMap({ "#.#", "#.#", "#.#" });
    Crab* crab = place<Crab>(1, 1);
    for (const Walk& walk : walks(crab, 10.0f)) {
        EXPECT_EQ(120.0f, walk.targetX) << "not into the rock on either side";
    }
}

TEST_F(CrabTest, PinchesWithin64ReachingUpToAHoppingFish)
{
    buildMap({ "#....#", "#....#", "######" });
    Crab* crab = place<Crab>(2, 1);
    Player* player = makePlayer(200, 120 - 65);
    crab->update(0.01f);
    EXPECT_FALSE(player->dead);
    player->y = 120 - 63;
    crab->update(0.01f);
    EXPECT_TRUE(player->dead);

    player->dead = false;
    player->y = 120 + 100;
    crab->update(0.01f);
    EXPECT_FALSE(player->dead) << "a swimming fish is measured where it is";
    player->outOfWater = true;
    crab->update(0.01f);
    EXPECT_TRUE(player->dead) << "a hopping fish 40 pixels higher";
}

} // namespace
