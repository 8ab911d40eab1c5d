#include "game/minigames/MiniGameWorld.h"

#include "game/minigames/Bomb.h"
#include "game/play/CreatureFactory.h"

#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

namespace {

using minigametest::DT;

// The bomb game in open water the size of its hold, the fish starting in
// cell (9, 12), a cell from the first bomb, and the prize chest in (21, 17).
class BombTest : public minigametest::MiniGameWorld {
protected:
    BombTest()
    {
        openWater(24, 21);
        fish = makePlayer(760, 1000);
        chest = placeChest(21, 17);
        bomb = new Bomb();
        game.addCreature(bomb);
    }

    // Traps the bomb as a bubble does and waits for the next one.
    void disarmOne()
    {
        bomb->trap(5.0f);
        run(DT);
        ASSERT_TRUE(bomb->disarming);
        ASSERT_TRUE(runUntil([&] { return !bomb->disarming; }, 1.5f));
    }

    std::pair<float, float> bombAt() const { return { bomb->x, bomb->y }; }

    Player* fish = nullptr;
    Treasure* chest = nullptr;
    Bomb* bomb = nullptr;
};

TEST_F(BombTest, TheLevelBuildsTheBombForItsMiniGame)
{
    std::unique_ptr<Creature> made(CreatureFactory::createMiniGame(LevelProperties::MiniGame::BOMB_GAME));
    auto* other = dynamic_cast<Bomb*>(made.get());
    ASSERT_NE(nullptr, other);
    EXPECT_FALSE(other->bubbleProof) << "a bubble is how it is disarmed";
    EXPECT_EQ("dat/bomb.dat", other->datafile.name);
    EXPECT_TRUE(onLayer(&other->countdownCaption, 4));
    made.reset();
    EXPECT_FALSE(onLayer(&other->countdownCaption, 4));
}

TEST_F(BombTest, TheFirstBombGivesTenSecondsCountsThemDownAndGoesOffOnlyOnce)
{
    EXPECT_EQ(std::make_pair(840.0f, 1080.0f), bombAt()) << "the centre of cell (10, 13)";
    EXPECT_EQ(0, bomb->placeIndex);
    EXPECT_EQ(10.0f, bomb->countdown);
    run(DT);
    EXPECT_EQ("Boom in 10 seconds", bomb->countdownCaption.text);
    EXPECT_EQ(
        std::make_pair(400.0f, 500.0f), std::make_pair(bomb->countdownCaption.x, bomb->countdownCaption.y));
    run(0.5f);
    EXPECT_EQ("Boom in 9 seconds", bomb->countdownCaption.text);
    run(9.0f);
    EXPECT_EQ("Boom in 0 seconds", bomb->countdownCaption.text) << "the last second shows 0";
    EXPECT_FALSE(fish->dead);
    EXPECT_TRUE(played("cannon").empty());

    run(0.5f);
    EXPECT_TRUE(bomb->exploded);
    EXPECT_TRUE(fish->dead);
    EXPECT_EQ(2.0f, game.returnTimer) << "the level starts again";
    EXPECT_EQ(0.0f, bomb->countdown);
    EXPECT_EQ("", bomb->countdownCaption.text);
    EXPECT_EQ("", bomb->pointerCaption.text);
    EXPECT_EQ(1u, played("cannon").size());
    EXPECT_FALSE(bomb->visible) << "blown to bits";

    run(1.0f);
    EXPECT_EQ(1u, played("cannon").size()) << "it goes off once";
    EXPECT_EQ("", bomb->countdownCaption.text);
}

TEST_F(BombTest, ABubbleDisarmsTheBombAtOnceAndTheNextTurnsUpAfterItsFade)
{
    // The fish blows a real bubble along the bomb's row.
    fish->setPosition(640, 1080);
    fish->flipH = true;
    run(1.0f);
    key[KEY_SPACE] = 1;
    ASSERT_TRUE(runUntil([&] { return bomb->disarming; }, 1.0f));
    key[KEY_SPACE] = 0;
    EXPECT_EQ(0.0f, bomb->trapTime) << "it never hangs in a bubble";
    EXPECT_FALSE(bomb->bubble.visible);
    EXPECT_EQ(0, bomb->offsetX) << "nor shakes";
    EXPECT_EQ("", bomb->countdownCaption.text);
    EXPECT_FALSE(bomb->pointerCaption.visible);
    EXPECT_EQ(1u, played("bubblehit").size());

    // The fade freezes the countdown, and a second bubble is swallowed.
    const float left = bomb->countdown;
    run(0.4f);
    EXPECT_EQ(left, bomb->countdown);
    EXPECT_LT(bomb->alpha, 255.0f);
    EXPECT_GT(bomb->alpha, 0.0f);
    bomb->trap(5.0f);
    run(DT);
    EXPECT_EQ(0.0f, bomb->trapTime);
    EXPECT_FALSE(bomb->bubble.visible);
    EXPECT_TRUE(bomb->disarming);

    ASSERT_TRUE(runUntil([&] { return !bomb->disarming; }, 0.7f)) << "a second's fade";
    EXPECT_EQ(1, bomb->placeIndex);
    EXPECT_EQ(std::make_pair(1560.0f, 440.0f), bombAt()) << "the centre of cell (19, 5)";
    EXPECT_EQ(255.0f, bomb->alpha);
    EXPECT_FLOAT_EQ(14.7f, bomb->countdown);
    EXPECT_FALSE(bomb->exploded);
    EXPECT_FALSE(fish->dead);
}

TEST_F(BombTest, ABombDisarmedInItsLastMomentNeverGoesOff)
{
    run(9.9f);
    bomb->trap(5.0f);
    run(1.2f);
    EXPECT_FALSE(bomb->exploded);
    EXPECT_FALSE(fish->dead);
    EXPECT_TRUE(played("cannon").empty());
    EXPECT_EQ(1, bomb->placeIndex);
}

TEST_F(BombTest, TheWayToAFarBombIsShownAtTheEdgeOfTheScreenNearestIt)
{
    run(DT);
    EXPECT_FALSE(bomb->pointerCaption.visible) << "the first bomb is close by";

    struct Case {
        int fishX, fishY;
        int alignment;
        float x, y;
    };
    const Case cases[] = {
        { 1240, 1080, 0, 0.0f, 300.0f }, // the bomb is to the left
        { 440, 1080, 3, 800.0f, 300.0f }, // to the right
        { 900, 1480, 1, 400.0f, 100.0f }, // above
        { 900, 680, 1, 400.0f, 550.0f }, // below
    };
    for (const Case& c : cases) {
        fish->setPosition(c.fishX, c.fishY);
        run(DT);
        EXPECT_TRUE(bomb->pointerCaption.visible);
        EXPECT_EQ("Over Here!", bomb->pointerCaption.text);
        EXPECT_EQ(c.alignment, bomb->pointerCaption.alignment) << c.fishX << ", " << c.fishY;
        EXPECT_EQ(std::make_pair(c.x, c.y), std::make_pair(bomb->pointerCaption.x, bomb->pointerCaption.y));
    }
    fish->setPosition(440, 1080);
    run(DT);
    EXPECT_EQ(800, bomb->pointerCaption.getBounds().right) << "against the right edge, all of it in sight";

    // Close to the bomb it stays where it was, until the bomb is disarmed.
    fish->setPosition(760, 1080);
    run(0.5f);
    EXPECT_TRUE(bomb->pointerCaption.visible);
    EXPECT_EQ(800.0f, bomb->pointerCaption.x);
    bomb->trap(5.0f);
    run(DT);
    EXPECT_FALSE(bomb->pointerCaption.visible);
}

TEST_F(BombTest, AllFiveDisarmedPayFifteenCoinsFromTheChestThenTheChestToTheProtectedFish)
{
    fish->setPosition(1400, 1480);
    for (int i = 0; i < Bomb::PLACES; ++i) {
        disarmOne();
    }
    EXPECT_TRUE(bomb->finished);
    EXPECT_FALSE(bomb->visible);
    run(DT);
    Creature::hurtFish();
    EXPECT_FALSE(fish->dead) << "nothing hurts the winner";

    run(1.0f);
    EXPECT_EQ(5u, coins().size()) << "one every 0.2 seconds";
    ASSERT_FALSE(coins().empty());
    EXPECT_EQ(chest->x, coins().front()->xTween.startValue) << "from the chest";
    run(2.1f);
    EXPECT_EQ(15u, coins().size());
    run(1.0f);
    EXPECT_EQ(15u, coins().size()) << "and no more";
    EXPECT_EQ(15, fish->levelCoins);

    ASSERT_TRUE(runUntil([&] { return chest->collected; }, 3.0f)) << "the chest comes to the fish";
    EXPECT_FALSE(fish->dead);
    EXPECT_EQ(std::make_pair(1400.0f, 1480.0f), std::make_pair(fish->x, fish->y));
}

} // namespace
