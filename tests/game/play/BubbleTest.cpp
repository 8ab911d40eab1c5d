#include "game/play/FishLevel.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using fishtest::DT;
using fishtest::FishLevel;
using fishtest::Target;

class BubbleTest : public FishLevel {
protected:
    BubbleTest() { fish->setFacing(true); }
};

TEST_F(BubbleTest, TrapsTheFirstCreatureInListOrderAndPassesBubbleProofOnes)
{
    // All but the one behind are within reach of the bubble as it leaves.
    Target proof(205, 200, true);
    Target first(240, 200);
    Target second(220, 200); // nearer, but later in the list
    Target behind(100, 200);
    first.trap(1.0f); // already in a bubble: it is re-armed
    game.creatures = { &proof, &behind, &first, &second };

    fire(); // it touches them as soon as it leaves the fish
    EXPECT_EQ(fish->bubbles, 2);
    EXPECT_EQ(plays("bubble"), 1);
    EXPECT_FALSE(fish->bubbleInFlight());
    EXPECT_EQ(proof.trapTime, 0.0f);
    EXPECT_EQ(behind.trapTime, 0.0f);
    EXPECT_EQ(first.trapTime, 5.0f);
    EXPECT_EQ(second.trapTime, 0.0f);
    EXPECT_FALSE(fish->bubble.visible);
    for (Sprite* sprite : game.screen->layers[3].sprites) {
        EXPECT_NE(sprite, &fish->bubble);
    }
}

TEST_F(BubbleTest, FliesAboutTwoHundredAndFiftyPixelsThroughRockAndIsGone)
{
    map.setTile(3, 2, 0);
    Target farAway(520, 200); // 64 pixels beyond where the bubble fades
    game.creatures = { &farAway };
    fire();
    run(0.2f);
    EXPECT_GT(fish->bubble.x, 300.0f); // through the rock
    run(0.4f);
    EXPECT_FALSE(fish->bubbleInFlight());
    EXPECT_LT(fish->bubble.x, 460.0f);
    EXPECT_EQ(farAway.trapTime, 0.0f);

    // Facing left, it flies left.
    fish->setFacing(false);
    fire();
    run(0.1f);
    EXPECT_LT(fish->bubble.x, 200.0f);
}

TEST_F(BubbleTest, TheStockRunsOutUnlessBubblesAreInfinite)
{
    fish->bubbles = 0;
    fire();
    EXPECT_FALSE(fish->bubbleInFlight());
    EXPECT_EQ(plays("bubble"), 0);

    fish->activatePowerup(Player::INFINITE_BUBBLES, 20.0f);
    fire();
    EXPECT_TRUE(fish->bubbleInFlight());
    run(0.6f);
    fire();
    EXPECT_TRUE(fish->bubbleInFlight());
    EXPECT_EQ(fish->bubbles, 0);
    EXPECT_EQ(plays("bubble"), 2);
}

TEST_F(BubbleTest, ASecondPressWhileOneFliesDoesNothing)
{
    fire();
    run(0.1f);
    float flown = fish->bubble.x;
    fire();
    EXPECT_EQ(fish->bubbles, 2);
    EXPECT_EQ(plays("bubble"), 1);
    EXPECT_GT(fish->bubble.x, flown); // still the first one, further on
}

TEST_F(BubbleTest, FasterFishAndLongRangeBubblesFlyFaster)
{
    struct Case {
        int swimSpeed;
        bool longRange;
        float pixelsIn01Seconds;
    };
    const Case cases[] = { { 200, false, 50.0f }, { 510, false, 81.0f }, { 510, true, 80.0f } };
    for (const Case& c : cases) {
        fish->setSwimSpeed(c.swimSpeed);
        fish->longRangeBubble = c.longRange;
        fire();
        float from = fish->bubble.x;
        run(0.1f);
        EXPECT_NEAR(fish->bubble.x - from, c.pixelsIn01Seconds, 0.5f) << c.swimSpeed;
        run(1.1f); // gone, even the long-range one
        EXPECT_FALSE(fish->bubbleInFlight());
        fish->bubbles = 3;
    }
}

TEST_F(BubbleTest, WithThePlungerFireLungesOneCellAndBackInstead)
{
    fish->givePlunger();
    auto& top = game.screen->layers[3].sprites;
    EXPECT_NE(std::find(top.begin(), top.end(), &fish->heldItem), top.end());

    fire();
    EXPECT_FALSE(fish->bubbleInFlight());
    EXPECT_EQ(fish->bubbles, 3);
    EXPECT_EQ(plays("bubble"), 0);
    run(0.2f);
    EXPECT_GT(fish->x, 250.0f);
    fire(); // mid-lunge: no second lunge
    run(0.6f);
    EXPECT_NEAR(fish->x, 200.0f, 0.5f);
    EXPECT_EQ(fish->lungeState, 0);
    EXPECT_EQ(fish->heldItem.x, 264.0f); // in front of the fish

    // Swimming left, the fish with the plunger still faces right.
    hold(KEY_LEFT);
    run(0.1f);
    EXPECT_TRUE(fish->flipH);
    EXPECT_LT(fish->x, 200.0f);
}

} // namespace
