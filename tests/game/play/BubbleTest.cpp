#include "game/play/FishLevel.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using fishtest::Target;

class BubbleTest : public fishtest::FishLevel {
protected:
    BubbleTest() { fish->setFacing(true); }
};

TEST_F(BubbleTest, TrapsTheFirstCreatureInListOrderAndPassesBubbleProofOnes)
{
    // All but the one behind are within reach as the bubble leaves.
    Target proof(205, 200, true);
    Target first(240, 200);
    Target second(220, 200); // nearer, but later in the list
    Target behind(100, 200);
    first.trap(1.0f); // already in a bubble: it is re-armed
    game.creatures = { &proof, &behind, &first, &second };

    fire();
    EXPECT_FALSE(fish->bubbleInFlight());
    EXPECT_EQ(first.trapTime, 5.0f);
    EXPECT_EQ(proof.trapTime + behind.trapTime + second.trapTime, 0.0f);
    auto& top = game.screen->layers[3].sprites;
    EXPECT_EQ(std::find(top.begin(), top.end(), &fish->bubble), top.end());
}

TEST_F(BubbleTest, FliesThroughRockForAboutTwoHundredAndFiftyPixels)
{
    map.setTile(3, 2, 0);
    Target farAway(520, 200); // 64 pixels beyond where the bubble fades
    game.creatures = { &farAway };
    fire();
    run(0.2f);
    EXPECT_GT(fish->bubble.x, 300.0f);
    run(0.4f);
    EXPECT_FALSE(fish->bubbleInFlight());
    EXPECT_EQ(farAway.trapTime, 0.0f);

    // A faster fish blows faster bubbles: 510 + 300 pixels a second, left.
    fish->setSwimSpeed(510);
    fish->setFacing(false);
    fire();
    float from = fish->bubble.x;
    run(0.1f);
    EXPECT_NEAR(from - fish->bubble.x, 81.0f, 0.5f);
}

TEST_F(BubbleTest, OneAtATimeFromAStockThatOnlyInfiniteBubblesSpare)
{
    fish->bubbles = 1;
    fire();
    run(0.1f);
    float flown = fish->bubble.x;
    fish->bubbles = 5;
    fire(); // while it flies: nothing
    EXPECT_GT(fish->bubble.x, flown);
    EXPECT_EQ(fish->bubbles, 5);
    run(0.5f);

    fish->bubbles = 0;
    fire();
    EXPECT_FALSE(fish->bubbleInFlight());
    EXPECT_EQ(plays("bubble"), 1);

    fish->activatePowerup(Player::INFINITE_BUBBLES, 20.0f);
    fire();
    EXPECT_TRUE(fish->bubbleInFlight());
    EXPECT_EQ(fish->bubbles, 0);
    EXPECT_EQ(plays("bubble"), 2);
}

TEST_F(BubbleTest, WithThePlungerFireLungesOneCellAndBack)
{
    fish->givePlunger();
    fire();
    EXPECT_FALSE(fish->bubbleInFlight());
    EXPECT_EQ(fish->bubbles, 3);
    run(0.2f);
    EXPECT_GT(fish->x, 250.0f);
    fire(); // mid-lunge: no second lunge
    run(0.6f);
    EXPECT_NEAR(fish->x, 200.0f, 0.5f);
    EXPECT_EQ(fish->heldItem.x, 264.0f); // in front of the fish

    key[KEY_LEFT] = 1; // it keeps facing right
    run(0.1f);
    EXPECT_TRUE(fish->flipH);
}

TEST_F(BubbleTest, ALungeIsAnAttackUntilItHasStruckOrTheFishIsBack)
{
    fish->givePlunger();
    EXPECT_FALSE(fish->attackActive());
    fire();
    EXPECT_TRUE(fish->attackActive());
    run(0.4f);
    EXPECT_EQ(2, fish->lungeState);
    EXPECT_TRUE(fish->attackActive()) << "still on its way back";
    fish->spendAttack();
    EXPECT_FALSE(fish->attackActive()) << "one lunge strikes once";
    run(0.3f);
    EXPECT_EQ(0, fish->lungeState);

    fire();
    EXPECT_TRUE(fish->attackActive()) << "the next lunge is a fresh attack";
    fish->hurt();
    EXPECT_FALSE(fish->attackActive()) << "a dead fish strikes no one";
}

} // namespace
