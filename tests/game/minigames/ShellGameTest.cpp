#include "game/minigames/MiniGameWorld.h"

#include "game/minigames/ShellGame.h"
#include "game/play/CreatureFactory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace {

using minigametest::DT;

// The shell game's arena: ten cells by eight of open water, the fish
// starting at (440, 120) and the chest in cell (5, 3).
class ShellGameTest : public minigametest::MiniGameWorld {
protected:
    ShellGameTest()
    {
        openWater(10, 8);
        fish = makePlayer(440, 120);
        chest = placeChest(5, 3);
    }

    // A game the test drives itself, outside the level's creature list, up
    // to the moment the fish may pick.
    std::unique_ptr<ShellGame> playToPick(unsigned seed)
    {
        std::srand(seed);
        auto shellGame = std::make_unique<ShellGame>();
        for (float t = 0.0f; t < 30.0f && !shellGame->picking; t += DT) {
            game.screen->update(DT);
            shellGame->update(DT);
        }
        EXPECT_TRUE(shellGame->picking);
        return shellGame;
    }

    // The fish back at its start, alive and free, as a restarted level has it.
    void revive()
    {
        fish->dead = false;
        fish->flipV = false;
        fish->controlsLocked = false;
        fish->xTween.stop();
        fish->yTween.stop();
        fish->moving = false;
        fish->setPosition(440, 120);
    }

    void step(ShellGame& shellGame)
    {
        game.screen->update(DT);
        shellGame.update(DT);
    }

    Player* fish = nullptr;
    Treasure* chest = nullptr;
};

TEST_F(ShellGameTest, TheLevelBuildsTheShellGameForItsMiniGame)
{
    std::unique_ptr<Creature> made(CreatureFactory::createMiniGame(LevelProperties::MiniGame::SHELL_GAME));
    auto* shellGame = dynamic_cast<ShellGame*>(made.get());
    ASSERT_NE(nullptr, shellGame);
    EXPECT_FALSE(shellGame->visible);
    EXPECT_TRUE(shellGame->bubbleProof);
    for (const Creature& shell : shellGame->shells) {
        EXPECT_TRUE(onLayer(&shell, 2)) << "shown, though not in the creature list";
    }
    EXPECT_TRUE(onLayer(&shellGame->caption, 4));
    const Creature* firstShell = &shellGame->shells[0];
    made.reset();
    EXPECT_FALSE(onLayer(firstShell, 2)) << "the shells leave with the game";
    EXPECT_TRUE(game.screen->layers[4].sprites.empty()) << "and so does the caption";
}

TEST_F(ShellGameTest, TheFishWatchesFromItsStartWhileTheChestSinksAndTwelveSwapsPairTwoDifferentShells)
{
    std::srand(3);
    auto* shellGame = new ShellGame();
    game.addCreature(shellGame);
    key[KEY_RIGHT] = 1;
    key[KEY_DOWN] = 1;

    run(0.5f);
    EXPECT_EQ(400.0f, chest->x);
    EXPECT_NEAR(400.0f, chest->y, 3.0f) << "sinking from (400, 300) at 200 pixels a second";
    EXPECT_NEAR(192.0f, chest->alpha, 3.0f);
    EXPECT_EQ(std::make_pair(440.0f, 120.0f), std::make_pair(fish->x, fish->y));

    ASSERT_TRUE(runUntil([&] { return !shellGame->revealing; }, 1.0f));
    EXPECT_EQ(128.0f, chest->alpha);
    EXPECT_EQ(std::make_pair(4000.0f, 3000.0f), std::make_pair(chest->x, chest->y)) << "out of sight";

    std::vector<std::pair<int, int>> swaps;
    std::vector<int> speeds;
    bool wasSwapping = false;
    for (float t = 0.0f; t < 30.0f && !shellGame->picking; t += DT) {
        game.screen->update(DT);
        // Free again from the frame the shells come to rest for good.
        if (!shellGame->picking) {
            EXPECT_EQ(std::make_pair(440.0f, 120.0f), std::make_pair(fish->x, fish->y)) << "held at " << t;
        }
        if (shellGame->swapping && !wasSwapping) {
            std::vector<int> moving;
            for (int i = 0; i < ShellGame::SHELLS; ++i) {
                if (shellGame->shells[i].moving) {
                    moving.push_back(i);
                }
            }
            ASSERT_EQ(2u, moving.size()) << "swap " << swaps.size() + 1;
            const Creature& a = shellGame->shells[moving[0]];
            const Creature& b = shellGame->shells[moving[1]];
            EXPECT_EQ(a.xTween.startValue, b.xTween.target) << "each goes where the other was";
            EXPECT_EQ(b.xTween.startValue, a.xTween.target);
            speeds.push_back(static_cast<int>(a.xTween.rate));
            swaps.emplace_back(moving[0], moving[1]);
        }
        wasSwapping = shellGame->swapping;
    }
    ASSERT_TRUE(shellGame->picking);
    EXPECT_EQ(12u, swaps.size());
    EXPECT_EQ((std::vector<int> { 200, 225, 250, 275, 300, 325, 350, 375, 400, 425, 450, 475 }), speeds);
    EXPECT_EQ("Pick a Shell!", shellGame->caption.text);
    std::set<float> places;
    for (const Creature& shell : shellGame->shells) {
        places.insert(shell.x);
        EXPECT_EQ(520.0f, shell.y);
    }
    EXPECT_EQ((std::set<float> { 304.0f, 400.0f, 496.0f }), places) << "back in the three resting places";

    run(0.2f);
    EXPECT_GT(fish->x, 440.0f) << "free to swim once the shells rest";
    EXPECT_GT(fish->y, 120.0f);
}

TEST_F(ShellGameTest, TheChestIsUnderTheSecondShellWhereverTheSwapsLeaveIt)
{
    std::set<float> endedAt;
    for (unsigned seed = 1; seed <= 8; ++seed) {
        revive();
        chest->setPosition(200, 200);
        std::unique_ptr<ShellGame> shellGame = playToPick(seed);
        const Creature& hiding = shellGame->shells[ShellGame::TREASURE_SHELL];
        endedAt.insert(hiding.x);
        fish->setPosition(static_cast<int>(hiding.x), static_cast<int>(hiding.y) - 40);
        step(*shellGame);
        EXPECT_TRUE(shellGame->won) << "seed " << seed;
        EXPECT_FALSE(fish->dead);
        EXPECT_EQ("You Have Chosen Wisely!", shellGame->caption.text);
        EXPECT_EQ(std::make_pair(400.0f, 300.0f), std::make_pair(chest->x, chest->y));
        EXPECT_EQ(255.0f, chest->alpha);
    }
    EXPECT_GT(endedAt.size(), 1u) << "the seeds leave the chest's shell in different places";
}

TEST_F(ShellGameTest, AWrongShellKillsTheFishAndTheLevelStartsAgain)
{
    std::unique_ptr<ShellGame> shellGame = playToPick(5);
    const Creature& wrong = shellGame->shells[2];
    fish->setPosition(static_cast<int>(wrong.x) + 30, static_cast<int>(wrong.y) - 30);
    step(*shellGame);
    EXPECT_TRUE(fish->dead);
    EXPECT_EQ(2.0f, game.returnTimer) << "the level starts again two seconds later";
    EXPECT_EQ("You Have Chosen Poorly...", shellGame->caption.text);
    EXPECT_FALSE(shellGame->won);
    EXPECT_EQ(1u, played("ow").size());

    // The dead fish floats up past the right shell and wins nothing.
    fish->setPosition(static_cast<int>(shellGame->shells[1].x), 500);
    step(*shellGame);
    EXPECT_FALSE(shellGame->won);
    EXPECT_EQ(std::make_pair(4000.0f, 3000.0f), std::make_pair(chest->x, chest->y));
}

TEST_F(ShellGameTest, AFishBetweenTwoShellsGetsTheFirstAndOnlyThatOne)
{
    // Between the first and the second shell: killed, and no prize for the
    // dead fish.
    std::unique_ptr<ShellGame> shellGame = playToPick(2);
    for (int i = 0; i < ShellGame::SHELLS; ++i) {
        shellGame->shells[i].setPosition(304 + 96 * i, 520);
    }
    fish->setPosition(352, 520);
    step(*shellGame);
    EXPECT_TRUE(fish->dead);
    EXPECT_FALSE(shellGame->won);
    shellGame.reset();

    // Between the second and the third: it won, and is not killed after.
    revive();
    shellGame = playToPick(2);
    for (int i = 0; i < ShellGame::SHELLS; ++i) {
        shellGame->shells[i].setPosition(304 + 96 * i, 520);
    }
    fish->setPosition(448, 520);
    step(*shellGame);
    EXPECT_TRUE(shellGame->won);
    EXPECT_FALSE(fish->dead);
}

TEST_F(ShellGameTest, TheRightShellProtectsTheFishAndPaysFiveCoinsOneEveryFifthOfASecondThenTheChest)
{
    std::srand(11);
    auto* shellGame = new ShellGame();
    game.addCreature(shellGame);
    ASSERT_TRUE(runUntil([&] { return shellGame->picking; }, 30.0f));
    const Creature& hiding = shellGame->shells[ShellGame::TREASURE_SHELL];
    fish->setPosition(static_cast<int>(hiding.x), 470);
    run(DT);
    ASSERT_TRUE(shellGame->won);

    run(DT);
    Creature::hurtFish();
    EXPECT_FALSE(fish->dead) << "nothing hurts the winner";
    key[KEY_LEFT] = 1;

    std::vector<size_t> paid;
    for (int tenth = 0; tenth < 12; ++tenth) {
        run(0.1f);
        paid.push_back(coins().size());
    }
    EXPECT_EQ((std::vector<size_t> { 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 5 }), paid);
    const std::vector<RewardCoin*> prize = coins();
    ASSERT_EQ(5u, prize.size());
    EXPECT_TRUE(onLayer(prize[0], 2));

    ASSERT_TRUE(runUntil([&] { return chest->collected; }, 3.0f)) << "the chest comes to the fish";
    EXPECT_EQ(5, fish->levelCoins) << "every coin reached the fish";
    EXPECT_EQ(hiding.x, fish->x) << "the winner waits for its prize";
    EXPECT_EQ(470.0f, fish->y);
    EXPECT_FALSE(fish->dead);
}

} // namespace
