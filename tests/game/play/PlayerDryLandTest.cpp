#include "game/play/FishLevel.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {

using fishtest::DT;
using fishtest::releaseKeys;
using fishtest::Target;

// A dry level: ground along the bottom with a gap at column 4 and a step of
// rock at column 8.
class PlayerDryLandTest : public fishtest::FishLevel {
protected:
    PlayerDryLandTest()
    {
        buildMap({
            "..........",
            "..........",
            "..........",
            "..........",
            "..........",
            "..........",
            "..........",
            "..........",
            "........#.",
            "####.#####",
        });
        fish->setOutOfWater(true);
    }

    // Resting on whatever is below, with the tail at the given height.
    void standAt(float atX, float atY)
    {
        fish->setPosition(static_cast<int>(atX), 0);
        fish->x = atX;
        fish->y = atY;
        fish->velocityX = fish->velocityY = 0.0f;
        fish->airborne = false;
    }

    void pressUp()
    {
        key[KEY_UP] = 0;
        run(DT);
        key[KEY_UP] = 1;
        run(DT);
    }

    void nudge(int code)
    {
        releaseKeys();
        key[code] = 1;
        run(DT);
        releaseKeys();
    }
};

TEST_F(PlayerDryLandTest, TheFishFallsFasterUpToACapAndLandsOnRock)
{
    EXPECT_TRUE(fish->airborne);
    fish->setFacing(true); // as every level starts
    EXPECT_EQ(fish->animationName, "hop");
    fish->setPosition(200, 40);
    run(0.2f);
    EXPECT_NEAR(fish->y, 40.0f + 0.098f * 20 * 19 / 2, 0.1f);
    EXPECT_NEAR(fish->velocityY, 196.0f, 0.1f);
    EXPECT_EQ(fish->offsetY, -30);

    run(0.9f);
    EXPECT_EQ(fish->velocityY, 1000.0f);
    EXPECT_TRUE(fish->airborne);
    run(0.5f);
    EXPECT_FALSE(fish->airborne);
    EXPECT_GT(fish->y, 700.0f);
    EXPECT_LT(fish->y, 720.0f);
    EXPECT_EQ(fish->x, 200.0f);
}

TEST_F(PlayerDryLandTest, WalksAtTwoHundredFiftyOrThreeHundredSeventyFiveAndStopsAtRock)
{
    standAt(200, 719);
    fish->setFacing(true);
    key[KEY_RIGHT] = 1;
    run(0.4f);
    EXPECT_NEAR(fish->x, 300.0f, 0.1f);
    EXPECT_TRUE(fish->flipH);
    EXPECT_GT(fish->y, 715.0f);

    releaseKeys();
    standAt(200, 719);
    fish->activatePowerup(Player::SPEED_BOOST, 10.0f);
    key[KEY_LEFT] = 1;
    run(0.4f);
    EXPECT_NEAR(fish->x, 50.0f, 0.1f);
    EXPECT_TRUE(fish->flipH) << "walking back does not turn the fish: its bubbles still fly right";

    // Into the step at column 8 and against the level's left edge.
    releaseKeys();
    standAt(600, 719);
    key[KEY_RIGHT] = 1;
    run(0.5f);
    EXPECT_LT(fish->x, 640.0f);
    EXPECT_GT(fish->x, 630.0f);
    releaseKeys();
    standAt(20, 719);
    key[KEY_LEFT] = 1;
    run(0.5f);
    EXPECT_GE(fish->x, 0.0f);
    EXPECT_LT(fish->x, 10.0f);
}

TEST_F(PlayerDryLandTest, JumpsOnlyFromTheLowestTwentyPixelsOfACellWithFootingBelow)
{
    standAt(200, 700); // 60 pixels into its cell: not low enough
    pressUp();
    EXPECT_FALSE(fish->airborne);
    EXPECT_EQ(plays("boing"), 0);

    standAt(200, 621); // low in its cell, but open water below
    pressUp();
    EXPECT_EQ(plays("boing"), 0);

    standAt(200, 701);
    pressUp();
    EXPECT_EQ(plays("boing"), 1);
    EXPECT_TRUE(fish->airborne);
    EXPECT_LT(fish->y, 691.0f);
    EXPECT_LT(fish->velocityY, -400.0f);

    // Holding "up" lifts the jump higher than a tap does.
    run(0.4f);
    float heldHeight = fish->y;
    run(2.0f);
    EXPECT_FALSE(fish->airborne);
    standAt(200, 701);
    pressUp();
    releaseKeys();
    run(0.4f);
    EXPECT_GT(fish->y, heldHeight + 20.0f);
}

TEST_F(PlayerDryLandTest, TheFishStandsOnACrateJumpsFromItAndPushesItOnlyAlongTheGround)
{
    Target* box = crate(2, 8); // centre (200, 680)
    fish->setPosition(200, 300);
    run(1.5f);
    EXPECT_FALSE(fish->airborne);
    EXPECT_GE(fish->y, 639.0f);
    EXPECT_LT(fish->y, 640.0f);

    // A hop on top of the crate is no push, and the crate is footing.
    key[KEY_RIGHT] = 1;
    run(0.05f);
    releaseKeys();
    run(0.3f);
    EXPECT_EQ(box->x, 200.0f);
    standAt(200, 639);
    pressUp();
    EXPECT_EQ(plays("boing"), 1);

    // Pushed from beside it along the ground, one cell at a time.
    releaseKeys();
    standAt(159, 719);
    run(0.05f);
    nudge(KEY_RIGHT);
    EXPECT_LT(fish->x, 160.0f);
    run(0.3f);
    EXPECT_EQ(box->x, 280.0f);
    EXPECT_EQ(box->y, 680.0f);

    // Not over the gap at column 4, nor into the step at column 8.
    standAt(239, 719);
    run(0.05f);
    nudge(KEY_RIGHT);
    run(0.3f);
    EXPECT_EQ(box->x, 280.0f);
    box->setPosition(600, 680);
    standAt(559, 719);
    run(0.05f);
    nudge(KEY_RIGHT);
    run(0.3f);
    EXPECT_EQ(box->x, 600.0f);
}

TEST_F(PlayerDryLandTest, ADeadFishDropsToTheGroundAndNeitherWalksNorJumps)
{
    fish->setPosition(200, 500);
    fish->hurt();
    key[KEY_RIGHT] = 1;
    run(1.0f);
    EXPECT_EQ(fish->x, 200.0f);
    EXPECT_GT(fish->y, 700.0f);
    pressUp();
    EXPECT_EQ(plays("boing"), 0);
}

} // namespace
