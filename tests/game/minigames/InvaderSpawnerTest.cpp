#include "game/creatures/HazardWorld.h"

#include "game/creatures/InkBlot.h"
#include "game/creatures/RewardCoin.h"
#include "game/minigames/InvaderSpawner.h"
#include "game/play/Treasure.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using hazardtest::DT;
using hazardtest::HazardWorld;

// The invaders' arena: ten cells by eight of open water, the fish on the
// right, the prize chest in the top right corner.
class InvaderSpawnerTest : public HazardWorld {
protected:
    InvaderSpawnerTest()
    {
        hazardtest::writePictures("dancefish.dat", 1, 130, 112);
        hazardtest::writePictures("coin.dat", 21, 40, 40);
        buildMap({ "..........", "..........", "..........", "..........", "..........", "..........",
            "..........", ".........." });
        chest = new Treasure(Treasure::CHEST);
        chest->setPosition(760, 40);
        game.addSprite(chest, 2);
        game.treasures.push_back(chest);
        fish = makePlayer(760, 360);
        std::srand(5);
        spawner = new InvaderSpawner();
        game.addCreature(spawner);
    }

    // The fish's bubble, flying through (x, y).
    void bubbleAt(float x, float y)
    {
        fish->bubble.inFlight = true;
        fish->bubble.x = x;
        fish->bubble.y = y;
    }

    // Everyone gone but the one fish.
    void leaveOnly(int column, int row)
    {
        for (int c = 0; c < InvaderSpawner::COLUMNS; ++c) {
            for (int j = 0; j < InvaderSpawner::FISH_PER_COLUMN; ++j) {
                if (c != column || j != row) {
                    spawner->invader(c, j).hitPoints = 0;
                    spawner->invader(c, j).visible = false;
                }
            }
        }
        spawner->fishLeft = 1;
    }

    // Runs the level until the formation turns; the seconds that took. At
    // the turn the formation has moved a frame at most.
    float untilTurn()
    {
        const int direction = spawner->sweepDirection;
        float seconds = 0.0f;
        while (spawner->sweepDirection == direction && seconds < 10.0f) {
            run(DT);
            seconds += DT;
        }
        return seconds;
    }

    std::vector<Creature*> listedOf(const std::string& datafile) const
    {
        std::vector<Creature*> found;
        for (Creature* creature : game.creatures) {
            if (creature->datafile.name == datafile) {
                found.push_back(creature);
            }
        }
        return found;
    }

    Treasure* chest = nullptr;
    Player* fish = nullptr;
    InvaderSpawner* spawner = nullptr;
};

TEST_F(InvaderSpawnerTest, TheFormationSweepsDownAndUpAtItsMarchSpeedStepping20PixelsRightAtEveryTurn)
{
    EXPECT_TRUE(spawner->bubbleProof);
    EXPECT_FALSE(spawner->visible) << "only its fish are seen";
    const char* pictures[] = { "crab", "mrpuffer", "piratefish", "sleepyfish", "dancefish" };
    const int hitPoints[] = { 1, 1, 2, 2, 3 };
    for (int c = 0; c < InvaderSpawner::COLUMNS; ++c) {
        for (int j = 0; j < InvaderSpawner::FISH_PER_COLUMN; ++j) {
            Invader& invader = spawner->invader(c, j);
            EXPECT_EQ("dat/" + std::string(pictures[c]) + ".dat", invader.datafile.name);
            EXPECT_EQ(hitPoints[c], invader.hitPoints);
            EXPECT_EQ(80.0f * c - 280.0f + 20.0f, invader.x) << "the first order steps it right at once";
            EXPECT_EQ(40.0f + 80.0f * j, invader.y);
            EXPECT_TRUE(onLayer(&invader, 2));
            EXPECT_FALSE(listed(&invader)) << "ordinary bubbles never see it";
        }
    }

    // Down at 100 pixels a second until the lowest line is at 560.
    run(0.6f);
    EXPECT_NEAR(500.0f, spawner->invader(2, 5).y, 1.0f);
    EXPECT_NEAR(0.6f, untilTurn(), 0.03f);
    EXPECT_NEAR(560.0f, spawner->invader(0, 5).y, 1.0f);
    EXPECT_NEAR(160.0f, spawner->invader(4, 0).y, 1.0f);
    // Then up, 20 pixels further right, until the top line is back at 40.
    EXPECT_EQ(InvaderSpawner::UP, spawner->sweepDirection);
    EXPECT_EQ(-240.0f, spawner->invader(0, 0).x);
    EXPECT_NEAR(1.2f, untilTurn(), 0.03f);
    EXPECT_NEAR(40.0f, spawner->invader(3, 0).y, 1.0f);
    EXPECT_NEAR(440.0f, spawner->invader(3, 5).y, 1.0f);
    EXPECT_EQ(-220.0f, spawner->invader(0, 0).x);
}

TEST_F(InvaderSpawnerTest, OnlyFishStillInTheGameSetTheSweepButEveryFishStepsRight)
{
    // The lowest line is gone: the next sweep down takes the one above it
    // to the bottom.
    for (int c = 0; c < InvaderSpawner::COLUMNS; ++c) {
        spawner->invader(c, 5).hitPoints = 0;
        spawner->invader(c, 5).visible = false;
    }
    untilTurn(); // the first sweep went down by 120 with the full formation
    untilTurn(); // and back up
    const float hiddenX = spawner->invader(1, 5).x;
    EXPECT_NEAR(2.0f, untilTurn(), 0.03f) << "200 pixels down this time";
    EXPECT_NEAR(560.0f, spawner->invader(1, 4).y, 1.0f);
    EXPECT_EQ(hiddenX + 20.0f, spawner->invader(1, 5).x) << "beaten fish keep step";

    // Past the line only a fish still in the game gets the player's fish.
    spawner->invader(1, 5).x = 700.0f;
    run(0.05f);
    EXPECT_FALSE(fish->dead);
    spawner->invader(4, 0).x = 681.0f;
    run(0.02f);
    EXPECT_TRUE(fish->dead);
    EXPECT_EQ(2.0f, game.returnTimer) << "the level starts again";
}

TEST_F(InvaderSpawnerTest, TheFishFacesTheFormationHoldsThreeBubblesAndOnlyMovesUpAndDown)
{
    fish->setFacing(true);
    fish->bubbles = 0;
    run(0.02f);
    EXPECT_FALSE(fish->flipH);
    EXPECT_EQ(3, fish->bubbles);
    EXPECT_TRUE(fish->longRangeBubble);

    key[KEY_LEFT] = 1;
    key[KEY_UP] = 1;
    run(0.5f);
    EXPECT_EQ(760.0f, fish->x);
    EXPECT_NEAR(260.0f, fish->y, 1.0f);
    key[KEY_LEFT] = 0;
    key[KEY_UP] = 0;

    // Its bubble crosses the arena: 800 pixels in a second.
    key[KEY_SPACE] = 1;
    run(0.02f);
    key[KEY_SPACE] = 0;
    ASSERT_TRUE(fish->bubble.inFlight);
    EXPECT_EQ(-40.0f, fish->bubble.xTween.target);
    EXPECT_EQ(3, fish->bubbles) << "and it never runs short";
}

TEST_F(InvaderSpawnerTest, EachBubbleWoundsOneFishTheNearestColumnFirstAndABeatenFishFadesAndLeaves)
{
    Invader& dancer = spawner->invader(4, 0);
    Invader& below = spawner->invader(4, 1);
    Invader& sleeper = spawner->invader(3, 0);
    // Between two lines and two columns: only the top dance fish is hit.
    bubbleAt(dancer.x - 40.0f, dancer.y + 40.0f);
    spawner->update(DT);
    EXPECT_FALSE(fish->bubble.inFlight) << "the bubble stops there";
    EXPECT_EQ(2, dancer.hitPoints);
    EXPECT_EQ(3, below.hitPoints);
    EXPECT_EQ(2, sleeper.hitPoints);
    EXPECT_TRUE(dancer.blinking());

    // A fish getting over a wound lets bubbles pass to the one behind.
    bubbleAt(dancer.x - 40.0f, dancer.y);
    spawner->update(DT);
    EXPECT_EQ(2, dancer.hitPoints);
    EXPECT_EQ(1, sleeper.hitPoints);

    // A dance fish takes three bubbles.
    run(0.5f);
    EXPECT_FALSE(dancer.blinking());
    EXPECT_EQ(255.0f, dancer.alpha);
    bubbleAt(dancer.x, dancer.y);
    spawner->update(DT);
    run(0.5f);
    bubbleAt(dancer.x, dancer.y);
    spawner->update(DT);
    EXPECT_TRUE(dancer.beaten());
    EXPECT_EQ(29, spawner->fishLeft);
    EXPECT_EQ(102, spawner->marchSpeed);

    // A beaten fish fades in a quarter of a second and leaves the game, with
    // no bubble needed to notice; bubbles pass where it was.
    EXPECT_TRUE(dancer.visible);
    run(0.3f);
    EXPECT_FALSE(dancer.visible);
    bubbleAt(dancer.x, dancer.y);
    spawner->update(DT);
    EXPECT_TRUE(fish->bubble.inFlight);

    // A crab takes one.
    Invader& crab = spawner->invader(0, 2);
    bubbleAt(crab.x, crab.y);
    spawner->update(DT);
    EXPECT_TRUE(crab.beaten());
    EXPECT_EQ(28, spawner->fishLeft);
    EXPECT_EQ(104, spawner->marchSpeed);
}

TEST_F(InvaderSpawnerTest, TheFormationSpitsInkStraightRightFromAFishStillInTheGame)
{
    // Only the dance fish in the third line is left to shoot.
    leaveOnly(4, 2);
    run(0.98f);
    EXPECT_TRUE(listedOf("dat/inkblot.dat").empty());
    run(0.03f);
    std::vector<Creature*> blots = listedOf("dat/inkblot.dat");
    ASSERT_EQ(1u, blots.size());
    auto* blot = static_cast<InkBlot*>(blots[0]);
    const Invader& shooter = spawner->invader(4, 2);
    EXPECT_NEAR(shooter.x + 80.0f, blot->x, 5.0f) << "out of its mouth";
    EXPECT_NEAR(shooter.y, blot->y, 3.0f);
    EXPECT_EQ(1.0f, blot->direction.x);
    EXPECT_EQ(0.0f, blot->direction.y);
    EXPECT_GE(spawner->shotTimer, 1.4f);
    EXPECT_LT(spawner->shotTimer, 3.5f);

    // A beaten fish fading out spits nothing, and with no one left to
    // shoot there is no shot at all (and no endless search for one).
    Invader& last = spawner->invader(4, 2);
    last.hitPoints = 1;
    last.wound();
    spawner->shotTimer = 0.001f;
    spawner->update(DT);
    EXPECT_EQ(1u, listedOf("dat/inkblot.dat").size());
}

TEST_F(InvaderSpawnerTest, ClearingTheFormationPaysFortyCoinsThenSendsTheChestAndNothingHurtsTheFish)
{
    leaveOnly(0, 0);
    Invader& crab = spawner->invader(0, 0);
    bubbleAt(crab.x, crab.y);
    spawner->update(DT);
    EXPECT_TRUE(spawner->won);
    const float chestX = chest->x;

    run(0.1f);
    EXPECT_TRUE(fish->controlsLocked);
    spawner->invader(2, 2).hitPoints = 2;
    spawner->invader(2, 2).visible = true;
    spawner->invader(2, 2).x = 700.0f;
    Creature::hurtFish();
    run(0.05f);
    EXPECT_FALSE(fish->dead) << "protected while the prize comes in";

    run(1.0f);
    std::vector<Creature*> coins = listedOf("dat/coin.dat");
    EXPECT_GE(coins.size(), 5u);
    EXPECT_LE(coins.size(), 6u);
    EXPECT_EQ(chestX, chest->x) << "the chest waits for the coins";
    EXPECT_GT(fish->levelCoins, 0) << "coins fly to the fish and are caught";

    run(7.5f);
    EXPECT_EQ(40u, listedOf("dat/coin.dat").size());
    EXPECT_EQ(0, spawner->coinsToPay);
    run(1.5f);
    EXPECT_EQ(40, fish->levelCoins);
    EXPECT_TRUE(chest->collected) << "the chest came to the fish";
}

TEST_F(InvaderSpawnerTest, NothingMovesOrShootsWhileTheGameIsFrozen)
{
    game.frozen = true;
    const float y = spawner->invader(1, 1).y;
    run(2.0f);
    EXPECT_EQ(y, spawner->invader(1, 1).y);
    EXPECT_EQ(1.0f, spawner->shotTimer);
    EXPECT_TRUE(listedOf("dat/inkblot.dat").empty());
    game.frozen = false;
    run(0.1f);
    EXPECT_GT(spawner->invader(1, 1).y, y);
}

TEST_F(InvaderSpawnerTest, ItsFishLeaveTheLayerWithIt)
{
    Invader* crab = &spawner->invader(0, 0);
    game.creatures.clear();
    game.treasures.clear();
    game.popState();
    EXPECT_FALSE(onLayer(crab, 2));
    EXPECT_TRUE(game.screen->layers[2].sprites.empty());
}

} // namespace
