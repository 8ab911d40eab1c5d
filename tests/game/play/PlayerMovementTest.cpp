#include "game/play/FishLevel.h"
#include "game/play/Treasure.h"

#include "support/RecordingAudioDevice.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {

using fishtest::DT;
using fishtest::FishLevel;
using fishtest::releaseKeys;

class PlayerMovementTest : public FishLevel { };

TEST_F(PlayerMovementTest, TheFishStopsAtRockAndAtTheLevelEdges)
{
    map.setTile(4, 2, 0); // rock from x 320 to 400 on the fish's row
    hold(KEY_RIGHT);
    run(1.0f);
    EXPECT_LT(fish->x, 320.0f);
    EXPECT_GT(fish->x, 316.0f);
    EXPECT_EQ(fish->y, 200.0f);
    EXPECT_TRUE(fish->flipH);
    letGo(KEY_RIGHT);

    // The edges of the level stop it just inside, on every side.
    struct Edge {
        int key;
        float fromX, fromY;
        float Player::*axis;
        float low, high;
    };
    const Edge edges[] = {
        { KEY_LEFT, 100, 100, &Player::x, 0.0f, 2.0f },
        { KEY_UP, 100, 100, &Player::y, 0.0f, 2.0f },
        { KEY_RIGHT, 700, 500, &Player::x, 798.0f, 800.0f },
        { KEY_DOWN, 700, 500, &Player::y, 598.0f, 600.0f },
    };
    for (const Edge& edge : edges) {
        fish->setPosition(static_cast<int>(edge.fromX), static_cast<int>(edge.fromY));
        hold(edge.key);
        run(1.0f);
        letGo(edge.key);
        EXPECT_GE((*fish).*edge.axis, edge.low) << edge.key;
        EXPECT_LT((*fish).*edge.axis, edge.high) << edge.key;
    }

    // A diagonal that would cut the corner of a rock is refused whole, even
    // though the cell it ends in is open water.
    fish->setPosition(318, 238);
    hold(KEY_RIGHT);
    hold(KEY_DOWN);
    run(DT);
    EXPECT_EQ(fish->x, 318.0f);
    EXPECT_EQ(fish->y, 238.0f);
    EXPECT_EQ(fish->frame, 0.0f);
}

TEST_F(PlayerMovementTest, DiagonalsAreFullSpeedOnBothAxesAndLeftAndDownWin)
{
    hold(KEY_RIGHT);
    hold(KEY_DOWN);
    run(0.5f);
    EXPECT_NEAR(fish->x, 300.0f, 0.1f);
    EXPECT_NEAR(fish->y, 300.0f, 0.1f);
    EXPECT_EQ(fish->animationName, "swim");

    hold(KEY_LEFT);
    hold(KEY_UP);
    run(0.5f);
    EXPECT_NEAR(fish->x, 200.0f, 0.1f);
    EXPECT_NEAR(fish->y, 400.0f, 0.1f);
    EXPECT_FALSE(fish->flipH);

    // No key: the fins rest on the first frame.
    releaseKeys();
    run(DT);
    EXPECT_EQ(fish->frame, 0.0f);
    EXPECT_EQ(fish->animationName, "");
}

TEST_F(PlayerMovementTest, SpeedBoostIsHalfAgainFasterForItsTimeOnly)
{
    fish->activatePowerup(Player::SPEED_BOOST, 0.5f);
    hold(KEY_RIGHT);
    run(0.5f);
    EXPECT_NEAR(fish->x, 350.0f, 0.1f); // 300 pixels a second
    run(0.5f);
    EXPECT_NEAR(fish->x, 448.0f, 2.1f); // back to 200 after the boost
    EXPECT_FALSE(fish->hasPowerup(Player::SPEED_BOOST));
}

TEST_F(PlayerMovementTest, TwoSlowMotionsLastUntilTheLaterRunsOutInRealTime)
{
    game.sound->stream = 3; // music playing, so the rate slides are heard
    fish->activatePowerup(Player::SLOW_MOTION, 1.0f);
    fish->activatePowerup(Player::SLOW_MOTION, 2.0f);
    EXPECT_EQ(game.timeScale, 0.5f);

    run(1.5f); // real seconds: the game itself moves half as far
    EXPECT_EQ(fish->powerups.size(), 1u);
    EXPECT_EQ(game.timeScale, 0.5f);

    run(0.6f);
    EXPECT_TRUE(fish->powerups.empty());
    EXPECT_EQ(game.timeScale, 1.0f);
    auto slides = RecordingAudioDevice::named(*calls, "slideChannelAttributes");
    // Down over a second for each purchase, back up over half a second once.
    ASSERT_EQ(slides.size(), 3u);
    auto lasts = [](const std::string& line, const std::string& ms) {
        return line.size() > ms.size() && line.compare(line.size() - ms.size(), ms.size(), ms) == 0;
    };
    EXPECT_TRUE(lasts(slides[0], " 1000")) << slides[0];
    EXPECT_TRUE(lasts(slides[2], " 500")) << slides[2];

    // Types the shop does not sell on a timer are refused.
    fish->activatePowerup(3, 10.0f);
    fish->activatePowerup(Player::SPEED_BOOST, 0.0f);
    EXPECT_TRUE(fish->powerups.empty());
}

TEST_F(PlayerMovementTest, NothingMovesOrCountsDownWhileTheGameIsFrozen)
{
    fish->activatePowerup(Player::INFINITE_BUBBLES, 1.0f);
    game.frozen = true;
    hold(KEY_RIGHT);
    hold(KEY_SPACE);
    run(2.0f);
    EXPECT_EQ(fish->x, 200.0f);
    EXPECT_EQ(fish->offsetY, 0);
    EXPECT_FALSE(fish->bubbleInFlight());
    ASSERT_EQ(fish->powerups.size(), 1u);
    EXPECT_EQ(fish->powerups[0].secondsLeft, 1.0f);

    // The key held through the pause is no fresh press afterwards.
    game.frozen = false;
    run(0.5f);
    EXPECT_NEAR(fish->x, 300.0f, 0.1f);
    EXPECT_FALSE(fish->bubbleInFlight());
    EXPECT_GT(fish->offsetY, 0); // bobbing again
}

TEST_F(PlayerMovementTest, HurtKillsOnceAndTheDeadFishOnlyFloatsUp)
{
    fish->controlsLocked = true; // a mini-game holds the fish: no harm
    fish->hurt();
    EXPECT_FALSE(fish->dead);
    fish->controlsLocked = false;

    fish->setFacing(true);
    fish->hurt();
    EXPECT_TRUE(fish->dead);
    EXPECT_TRUE(fish->flipV);
    EXPECT_FALSE(fish->flipH);
    EXPECT_EQ(game.returnTimer, 2.0f);
    EXPECT_EQ(plays("ow"), 1);

    game.returnTimer = 1.0f;
    fish->hurt();
    EXPECT_EQ(game.returnTimer, 1.0f);
    EXPECT_EQ(plays("ow"), 1);

    // Keys do nothing for a dead fish: it floats to the top at 100 a second
    // and blows no bubbles.
    hold(KEY_RIGHT);
    hold(KEY_SPACE);
    run(1.0f);
    EXPECT_EQ(fish->x, 200.0f);
    EXPECT_NEAR(fish->y, 100.0f, 1.1f);
    EXPECT_FALSE(fish->flipH);
    EXPECT_FALSE(fish->bubbleInFlight());
    run(2.2f);
    EXPECT_EQ(fish->y, -10.0f);
}

TEST_F(PlayerMovementTest, TreasureIsPickedUpOnceInItsCellAndNeverByADeadFish)
{
    Treasure chest(Treasure::CHEST);
    chest.setPosition(280, 200); // centre of cell (3, 2)
    Treasure above(Treasure::PEARL);
    above.setPosition(200, 120); // cell (2, 1), straight above the fish
    Treasure fading(Treasure::PEARL);
    fading.setPosition(200, 200); // the fish's own cell, but already going
    fading.alphaTween.start(0.0f, 5.0f, 0);
    game.treasures = { &chest, &above, &fading };

    hold(KEY_RIGHT);
    run(0.3f); // into cell (3, 2) at x 240, on to 260
    EXPECT_TRUE(chest.collected);
    EXPECT_TRUE(chest.alphaTween.active);
    EXPECT_FALSE(fading.collected);
    EXPECT_EQ(plays("treasure"), 1);
    letGo(KEY_RIGHT);
    run(0.5f); // resting in the cell: not taken twice
    EXPECT_EQ(plays("treasure"), 1);

    fish->setPosition(200, 200);
    fish->hurt();
    run(2.0f); // floats up through cell (2, 1)
    EXPECT_FALSE(above.collected);
    EXPECT_EQ(plays("treasure"), 1);
    game.treasures.clear();
}

TEST_F(PlayerMovementTest, WithoutAMapTheFishStaysPut)
{
    // Without a level map every cell is rock, as on the title screen.
    game.mainLayer = nullptr;
    hold(KEY_LEFT);
    run(0.5f);
    EXPECT_EQ(fish->x, 200.0f);
}

TEST(PlayerWithoutGameTest, SwimsNowhereAndBlowsABubbleWithoutCrashing)
{
    ScratchDir scratch;
    fishtest::releaseKeys();
    Player fish;
    fish.setPosition(200, 200);
    key[KEY_RIGHT] = 1;
    key[KEY_SPACE] = 1;
    for (int step = 0; step < 100; ++step) {
        fish.update(fishtest::DT);
    }
    fishtest::releaseKeys();
    EXPECT_EQ(fish.x, 200.0f);
    // The bubble had no screen to fly on; the fish saw it through.
    EXPECT_EQ(fish.bubbles, 2);
    EXPECT_FALSE(fish.bubbleInFlight());
    fish.hurt();
    EXPECT_TRUE(fish.dead);
}

} // namespace
