#include "engine/media/ParticleSystem.h"
#include "game/play/FishLevel.h"
#include "game/play/Treasure.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {

using fishtest::DT;
using fishtest::releaseKeys;
using fishtest::Target;

class PlayerMovementTest : public fishtest::FishLevel {
protected:
    // One frame of a key from where the fish is put, then time for a crate
    // to glide.
    void nudgeFrom(float atX, float atY, int code)
    {
        releaseKeys();
        fish->x = atX;
        fish->y = atY;
        key[code] = 1;
        run(DT);
        releaseKeys();
        run(0.3f);
    }
};

TEST_F(PlayerMovementTest, TheFishStopsAtRockAtTheLevelEdgesAndAtRockCorners)
{
    map.setTile(4, 2, 0); // rock from x 320 to 400 on the fish's row
    key[KEY_RIGHT] = 1;
    run(1.0f);
    EXPECT_GT(fish->x, 316.0f);
    EXPECT_LT(fish->x, 320.0f);

    // Into the level's top-left and bottom-right corners.
    fish->setPosition(100, 100);
    releaseKeys();
    key[KEY_LEFT] = key[KEY_UP] = 1;
    run(1.0f);
    EXPECT_LT(fish->x, 2.0f);
    EXPECT_GE(fish->x, 0.0f);
    EXPECT_LT(fish->y, 2.0f);
    EXPECT_GE(fish->y, 0.0f);
    fish->setPosition(700, 500);
    releaseKeys();
    key[KEY_RIGHT] = key[KEY_DOWN] = 1;
    run(1.0f);
    EXPECT_GE(fish->x, 798.0f);
    EXPECT_LT(fish->x, 800.0f);
    EXPECT_GE(fish->y, 598.0f);
    EXPECT_LT(fish->y, 600.0f);

    // Cutting past the corner of the rock is refused whole, though the cell
    // it would end in is open water.
    fish->setPosition(318, 238);
    run(DT);
    EXPECT_EQ(fish->x, 318.0f);
    EXPECT_EQ(fish->y, 238.0f);

    // Without a map every cell is rock, as for the title screen's fish.
    game.mainLayer = nullptr;
    fish->setPosition(200, 200);
    run(0.5f);
    EXPECT_EQ(fish->x, 200.0f);
}

TEST_F(PlayerMovementTest, DiagonalsAreFullSpeedLeftAndDownWinAndABoostIsHalfAgainFaster)
{
    key[KEY_RIGHT] = key[KEY_DOWN] = 1;
    run(0.5f);
    EXPECT_NEAR(fish->x, 300.0f, 0.1f);
    EXPECT_NEAR(fish->y, 300.0f, 0.1f);
    EXPECT_TRUE(fish->flipH);

    key[KEY_LEFT] = key[KEY_UP] = 1;
    run(0.5f);
    EXPECT_NEAR(fish->x, 200.0f, 0.1f);
    EXPECT_NEAR(fish->y, 400.0f, 0.1f);
    EXPECT_FALSE(fish->flipH);

    releaseKeys();
    run(DT);
    EXPECT_EQ(fish->frame, 0.0f); // fins at rest

    fish->activatePowerup(Player::SPEED_BOOST, 0.5f);
    key[KEY_RIGHT] = 1;
    run(1.0f); // 0.5 s at 300, then 0.5 s at 200
    EXPECT_NEAR(fish->x, 450.0f, 2.1f);
    EXPECT_FALSE(fish->hasPowerup(Player::SPEED_BOOST));
}

TEST_F(PlayerMovementTest, NothingMovesOrCountsDownWhileTheGameIsFrozen)
{
    fish->activatePowerup(Player::INFINITE_BUBBLES, 1.0f);
    game.frozen = true;
    key[KEY_RIGHT] = key[KEY_SPACE] = 1;
    run(2.0f);
    EXPECT_EQ(fish->x, 200.0f);
    EXPECT_FALSE(fish->bubbleInFlight());
    EXPECT_EQ(fish->powerups.at(0).secondsLeft, 1.0f);

    // Fire held through the pause is no fresh press afterwards.
    game.frozen = false;
    run(0.5f);
    EXPECT_NEAR(fish->x, 300.0f, 0.1f);
    EXPECT_FALSE(fish->bubbleInFlight());
}

TEST_F(PlayerMovementTest, SlowMotionRunsInRealTimeAndTheFirstToRunOutEndsIt)
{
    game.sound->stream = 3; // music playing, so the rate slides reach it
    fish->activatePowerup(Player::SLOW_MOTION, 1.0f);
    fish->activatePowerup(Player::SLOW_MOTION, 2.0f);
    EXPECT_EQ(game.timeScale, 0.5f);
    run(0.9f); // real seconds
    EXPECT_EQ(game.timeScale, 0.5f);
    // The first one out brings back the full pace; the second one's time
    // runs on but slows nothing.
    run(0.2f);
    EXPECT_EQ(game.timeScale, 1.0f);
    ASSERT_EQ(fish->powerups.size(), 1u);
    EXPECT_NEAR(fish->powerups[0].secondsLeft, 0.9f, 0.02f);
    EXPECT_EQ(RecordingAudioDevice::named(*calls, "slideChannelAttributes").size(), 3u);
    run(1.0f);
    EXPECT_EQ(game.timeScale, 1.0f);
    EXPECT_TRUE(fish->powerups.empty());
    EXPECT_EQ(RecordingAudioDevice::named(*calls, "slideChannelAttributes").size(), 4u);

    fish->activatePowerup(3, 10.0f); // not a timed power-up
    fish->activatePowerup(Player::SPEED_BOOST, 0.0f);
    EXPECT_TRUE(fish->powerups.empty());
}

TEST_F(PlayerMovementTest, HurtKillsOnceAndADeadFishOnlyFloatsUp)
{
    fish->controlsLocked = true; // a mini-game holds the fish: no harm
    fish->hurt();
    EXPECT_FALSE(fish->dead);
    fish->controlsLocked = false;
    game.levelDone = true; // every chest is in: nothing can spoil it now
    fish->hurt();
    EXPECT_FALSE(fish->dead);
    game.levelDone = false;

    Treasure above(Treasure::PEARL);
    above.setPosition(200, 120);
    game.treasures = { &above };
    fish->setFacing(true);
    fish->hurt();
    EXPECT_TRUE(fish->flipV);
    EXPECT_FALSE(fish->flipH);
    EXPECT_EQ(game.returnTimer, 2.0f);
    game.returnTimer = 1.0f;
    fish->hurt();
    EXPECT_EQ(game.returnTimer, 1.0f);
    EXPECT_EQ(plays("ow"), 1);

    // It takes no keys, blows no bubbles and takes no treasure on its way.
    key[KEY_RIGHT] = key[KEY_SPACE] = 1;
    run(1.0f);
    EXPECT_EQ(fish->x, 200.0f);
    EXPECT_NEAR(fish->y, 100.0f, 1.1f);
    EXPECT_FALSE(fish->bubbleInFlight());
    run(2.2f);
    EXPECT_EQ(fish->y, -10.0f);
    EXPECT_FALSE(above.collected);
}

TEST_F(PlayerMovementTest, TreasureInTheFishsCellIsPickedUpOnce)
{
    Treasure chest(Treasure::CHEST);
    chest.setPosition(280, 200); // cell (3, 2)
    Treasure fading(Treasure::PEARL);
    fading.setPosition(200, 200); // the fish's own cell, but already going
    fading.alphaTween.start(0.0f, 5.0f, 0);
    game.treasures = { &chest, &fading };

    key[KEY_RIGHT] = 1;
    run(0.3f);
    releaseKeys();
    run(0.5f); // resting in the chest's cell
    EXPECT_TRUE(chest.collected);
    EXPECT_TRUE(chest.alphaTween.active);
    EXPECT_FALSE(fading.collected);
    EXPECT_EQ(plays("treasure"), 1);
}

TEST_F(PlayerMovementTest, InWaterCratesArePushedEveryWayButNotIntoRockCratesStatuesOrOutOfTheLevel)
{
    Target* box = crate(3, 2); // centre (280, 200)
    nudgeFrom(239, 200, KEY_RIGHT);
    EXPECT_EQ(fish->x, 239.0f); // the crate stops the fish
    EXPECT_EQ(box->x, 360.0f);
    nudgeFrom(401, 200, KEY_LEFT);
    EXPECT_EQ(box->x, 280.0f);
    nudgeFrom(280, 159, KEY_DOWN);
    EXPECT_EQ(box->y, 280.0f);
    nudgeFrom(280, 321, KEY_UP);
    EXPECT_EQ(box->y, 200.0f);
    EXPECT_EQ(box->x, 280.0f);

    // Two keys at once push nothing.
    releaseKeys();
    fish->setPosition(239, 159);
    key[KEY_RIGHT] = key[KEY_DOWN] = 1;
    run(DT);
    nudgeFrom(239, 200, KEY_SPACE);
    EXPECT_EQ(box->x, 280.0f);

    map.setTile(4, 2, 0);
    nudgeFrom(239, 200, KEY_RIGHT);
    EXPECT_EQ(box->x, 280.0f);
    map.setTile(4, 2, -1);
    Target* statue = place(4, 2, "dat/sentinel.dat");
    nudgeFrom(239, 200, KEY_RIGHT);
    EXPECT_EQ(box->x, 280.0f);
    statue->visible = false;
    Target* other = crate(4, 2);
    nudgeFrom(239, 200, KEY_RIGHT);
    EXPECT_EQ(box->x, 280.0f);
    // The far crate moves on alone; the near one follows once it is clear.
    nudgeFrom(439, 200, KEY_LEFT);
    EXPECT_EQ(other->x, 360.0f);
    EXPECT_EQ(box->x, 280.0f);
    other->visible = false;
    box->setPosition(760, 200); // against the level's right edge
    nudgeFrom(719, 200, KEY_RIGHT);
    EXPECT_EQ(box->x, 760.0f);
}

TEST_F(PlayerMovementTest, CoinsWithinFortyPixelsAreCaughtOnce)
{
    ParticleSystem sparkles;
    game.emitters[1] = &sparkles;
    Target* nearCoin = place(0, 0, "dat/coin.dat");
    nearCoin->setPosition(239, 200); // 39 pixels off
    nearCoin->trap(5.0f);
    Target* farCoin = place(0, 0, "dat/coin.dat");
    farCoin->setPosition(200, 241); // 41 pixels off
    Target* pebble = place(0, 0, "dat/pebble.dat");
    pebble->setPosition(200, 210);

    run(0.2f);
    EXPECT_EQ(fish->levelCoins, 1);
    EXPECT_FALSE(nearCoin->visible);
    EXPECT_EQ(nearCoin->alpha, 0.0f);
    EXPECT_FALSE(nearCoin->bubble.visible);
    EXPECT_TRUE(farCoin->visible);
    EXPECT_TRUE(pebble->visible);
    EXPECT_EQ(plays("treasure"), 1);
    EXPECT_EQ(sparkles.particles.size(), 20u);
    game.emitters[1] = nullptr;
}

TEST_F(PlayerMovementTest, OnTheDanceFloorTheKeysStepAndGlideHomeInsteadOfSwimming)
{
    std::vector<int> steps;
    game.miniGameMusic = true;
    fish->danceHomeX = 200;
    fish->danceHomeY = 360;
    fish->danceStep = [&steps](int direction) { steps.push_back(direction); };
    fish->setPosition(200, 360);

    key[KEY_RIGHT] = 1;
    run(DT); // out 40 pixels, and the glide home has begun
    EXPECT_EQ(fish->x, 238.0f);
    run(0.5f); // held: no swimming, only the glide home
    EXPECT_EQ(fish->x, 200.0f);
    releaseKeys();
    key[KEY_UP] = 1;
    run(DT);
    EXPECT_EQ(fish->y, 322.0f);

    // While the dancing fish shows its steps the keys do nothing.
    releaseKeys();
    fish->danceKeysLocked = true;
    key[KEY_DOWN] = 1;
    run(0.5f);
    EXPECT_EQ(fish->y, 360.0f);
    EXPECT_EQ(steps, (std::vector<int> { 1, 2 }));
}

TEST(PlayerWithoutGameTest, TheFishStaysPutAndItsBubbleStillFades)
{
    ScratchDir scratch;
    releaseKeys();
    Player fish;
    fish.setPosition(200, 200);
    key[KEY_RIGHT] = key[KEY_SPACE] = 1;
    for (int step = 0; step < 100; ++step) {
        fish.update(DT);
    }
    releaseKeys();
    EXPECT_EQ(fish.x, 200.0f);
    EXPECT_EQ(fish.bubbles, 2);
    EXPECT_FALSE(fish.bubbleInFlight());
}

} // namespace
