#include "game/creatures/Jellyfish.h"
#include "game/creatures/KindWorld.h"
#include "game/creatures/MrPuffer.h"
#include "game/creatures/PirateFish.h"
#include "game/creatures/SleepyFish.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

using Point = std::pair<float, float>;

class ReefFishTest : public leveltest::KindWorld { };

TEST_F(ReefFishTest, APirateFishCirclesItsWalledRectangleStartingDownwardsAndFacingAcross)
{
    buildMap({ "#######", "#.....#", "#.....#", "#.....#", "#######" });
    PirateFish* pirate = place<PirateFish>(3, 1);
    std::vector<Point> legs;
    std::vector<bool> facingRight;
    std::vector<int> bobs;
    for (int step = 0; step < 600; ++step) {
        pirate->update(0.02f);
        Point target { pirate->xTween.active ? pirate->xTween.target : pirate->x,
            pirate->yTween.active ? pirate->yTween.target : pirate->y };
        if (pirate->moving && (legs.empty() || legs.back() != target)) {
            legs.push_back(target);
            facingRight.push_back(pirate->flipH);
        }
        bobs.push_back(pirate->offsetY);
    }
    ASSERT_LE(5u, legs.size());
    EXPECT_EQ((std::vector<Point> { { 280, 280 }, { 440, 280 }, { 440, 120 }, { 120, 120 }, { 120, 280 } }),
        std::vector<Point>(legs.begin(), legs.begin() + 5));
    EXPECT_EQ((std::vector<bool> { false, true, true, false, false }),
        std::vector<bool>(facingRight.begin(), facingRight.begin() + 5));
    EXPECT_EQ(0, *std::min_element(bobs.begin(), bobs.end()));
    EXPECT_EQ(10, *std::max_element(bobs.begin(), bobs.end()));
}

TEST_F(ReefFishTest, APufferPuffsUpWithin180StingsWithin80WhilePuffedAndShrinksBeyond240)
{
    buildMap({ "..........", "..........", "..........", ".........." });
    MrPuffer* puffer = place<MrPuffer>(4, 1);
    Player* player = makePlayer(360 + 181, 120);
    run(puffer, 0.5f, 0.02f);
    EXPECT_EQ(0.0f, puffer->frame);
    EXPECT_FALSE(puffer->widthTween.active);

    player->x = 360 + 179;
    puffer->update(0.02f);
    EXPECT_EQ(1.0f, puffer->frame);
    EXPECT_TRUE(puffer->widthTween.active && puffer->heightTween.active);
    EXPECT_EQ(20.0f, puffer->drawWidth);
    player->x = 360 + 70;
    run(puffer, 0.1f, 0.02f);
    EXPECT_FALSE(player->dead) << "harmless until fully puffed";
    EXPECT_NEAR(80.0f, puffer->drawHeight, 0.01f);
    run(puffer, 0.2f, 0.02f);
    EXPECT_TRUE(puffer->puffed);
    EXPECT_EQ(140.0f, puffer->drawWidth);
    EXPECT_TRUE(player->dead);

    player->dead = false;
    player->x = 360 + 239;
    run(puffer, 2.0f, 0.02f);
    EXPECT_TRUE(puffer->puffed) << "stays puffed while the fish hangs about";
    EXPECT_FALSE(player->dead);

    player->x = 360 + 241;
    puffer->update(0.02f);
    EXPECT_FALSE(puffer->puffed);
    EXPECT_TRUE(puffer->shrinking);
    EXPECT_EQ(140.0f, puffer->drawWidth);
    run(puffer, 0.3f, 0.02f);
    EXPECT_EQ(1.0f, puffer->frame);
    run(puffer, 0.16f, 0.02f);
    EXPECT_FALSE(puffer->shrinking);
    EXPECT_EQ(40.0f, puffer->drawHeight);
    EXPECT_EQ(0.0f, puffer->frame);

    player->x = 360 + 179;
    puffer->update(0.02f);
    EXPECT_EQ(1.0f, puffer->frame) << "and puffs up again";
}

TEST_F(ReefFishTest, ASleepyFishDashesAtAFishOnItsLeftProofAgainstBubblesThenRestsAndSwimsHome)
{
    buildMap({ "##########", "#........#", "##########" });
    SleepyFish* sleepy = place<SleepyFish>(7, 1);
    Player* player = makePlayer(280, 120 + 39);
    EXPECT_FALSE(sleepy->bubbleProof);
    sleepy->update(0.01f);
    ASSERT_TRUE(sleepy->dashing);
    EXPECT_EQ(1.0f, sleepy->frame);
    EXPECT_TRUE(sleepy->bubbleProof);
    EXPECT_EQ(120.0f, sleepy->xTween.target) << "to the rock on the left";
    EXPECT_EQ(600.0f, sleepy->homeX);

    run(sleepy, 1.5f);
    EXPECT_TRUE(sleepy->bubbleProof) << "no bubble stops a dash";
    EXPECT_TRUE(player->dead) << "it swam straight through the fish";
    run(sleepy, 0.2f);
    EXPECT_EQ(120.0f, sleepy->x);
    EXPECT_FALSE(sleepy->bubbleProof) << "resting, it can be caught";
    EXPECT_EQ(1.0f, sleepy->frame);

    run(sleepy, 1.8f);
    EXPECT_FALSE(sleepy->moving);
    run(sleepy, 0.3f);
    EXPECT_FALSE(sleepy->dashing);
    EXPECT_EQ(0.0f, sleepy->frame);
    EXPECT_TRUE(sleepy->moving);
    run(sleepy, 4.5f);
    EXPECT_GT(600.0f, sleepy->x) << "home at 100 pixels a second";
    run(sleepy, 0.2f);
    EXPECT_EQ(600.0f, sleepy->x);
}

TEST_F(ReefFishTest, ASleepyFishDozesOnUnlessTheWayToALevelFishOnItsLeftIsClear)
{
    buildMap({ "##########", "#...#....#", "##########" });
    SleepyFish* sleepy = place<SleepyFish>(7, 1);
    Player* player = makePlayer(200, 120);
    run(sleepy, 1.0f);
    EXPECT_FALSE(sleepy->dashing) << "rock between them";
    player->setPosition(440, 160);
    run(sleepy, 1.0f);
    EXPECT_FALSE(sleepy->dashing) << "40 pixels lower";
    player->setPosition(680, 120);
    run(sleepy, 1.0f);
    EXPECT_FALSE(sleepy->dashing) << "on its right";
    player->setPosition(440, 81);
    sleepy->trap(5.0f);
    run(sleepy, 1.0f);
    EXPECT_FALSE(sleepy->dashing) << "held in a bubble";
    run(sleepy, 4.1f);
    EXPECT_TRUE(sleepy->dashing);
    EXPECT_EQ(440.0f, sleepy->xTween.target) << "up to the rock";
}

class JellyfishTest : public leveltest::KindWorld {
protected:
    // Its real size: the bell on top, tentacles below.
    JellyfishTest() { paint("jellyfish.dat", 11, 90, 110); }

    struct Drift {
        int highestTop = 100000;
        int lowestBottom = -100000;
        int turns = 0;
    };

    // How far up and down its picture reached over the time given.
    static Drift drift(Jellyfish* jelly, float seconds)
    {
        Drift seen;
        bool rising = jelly->rising;
        for (int step = 0; step * 0.02f < seconds; ++step) {
            jelly->update(0.02f);
            int drawnY = static_cast<int>(jelly->y + jelly->offsetY);
            seen.highestTop = std::min(seen.highestTop, drawnY - 55);
            seen.lowestBottom = std::max(seen.lowestBottom, drawnY + 55);
            seen.turns += jelly->rising != rising ? 1 : 0;
            rising = jelly->rising;
        }
        return seen;
    }
};

TEST_F(JellyfishTest, AJellyfishSinksFirstAndTurnsWhereItsPictureMeetsRock)
{
    buildMap({ "###", "...", "...", "...", "###" });
    Jellyfish* jelly = place<Jellyfish>(1, 2);
    EXPECT_EQ("jell", jelly->animationName);
    EXPECT_FALSE(jelly->rising);
    jelly->update(0.1f);
    EXPECT_FLOAT_EQ(204.0f, jelly->y) << "40 pixels a second downwards";
    Drift seen = drift(jelly, 20.0f);
    EXPECT_GE(seen.turns, 5);
    EXPECT_LT(seen.lowestBottom, 320);
    EXPECT_GE(seen.lowestBottom, 318);
    EXPECT_GE(seen.highestTop, 80);
    EXPECT_LE(seen.highestTop, 82);
}

TEST_F(JellyfishTest, AnyTileInItsOwnColumnTurnsItAndNoOtherDoes)
{
    buildMap({ "###", "#.#", "#.#", "...", "###" });
    mainLayer.setTile(1, 3, 7); // scenery: the fish swims through it
    Jellyfish* jelly = place<Jellyfish>(1, 2);
    jelly->setPosition(120, 160);
    Drift seen = drift(jelly, 20.0f);
    EXPECT_LT(seen.lowestBottom, 240);
    EXPECT_GE(seen.lowestBottom, 238);
    EXPECT_GE(seen.highestTop, 80) << "rock beside it is no ceiling";
    EXPECT_LE(seen.highestTop, 82);
}

} // namespace
