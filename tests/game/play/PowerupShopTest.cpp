#include "engine/core/GameState.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/ui/TextSprite.h"
#include "game/app/ProgressFile.h"
#include "game/app/TestGame.h"
#include "game/creatures/Creature.h"
#include "game/play/Player.h"
#include "game/play/PowerupShopController.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using apptest::TestGame;

// The shop without the blocking fade; it remembers the fades it was asked for.
class QuickShop : public PowerupShopController {
public:
    explicit QuickShop(Game* owner)
        : PowerupShopController(owner)
    {
    }
    std::vector<float> fades;

protected:
    void fadeIn(float seconds) override { fades.push_back(seconds); }
};

constexpr float STEP = 0.01f;

// A level with its fish, and the shop pushed over it.
class PowerupShopTest : public apptest::GameTest {
protected:
    PowerupShopTest()
    {
        game.registerController(&shop);
        game.pushState("inGame");
        fish = new Player();
        game.addSprite(fish, 2);
        game.player = fish;
    }

    ~PowerupShopTest() override
    {
        game.popAllStates();
        for (int code = 0; code < KEY_MAX; ++code) {
            key[code] = 0;
        }
    }

    bool shopOpen() { return game.getState("powerupShop") != nullptr; }

    void press(int code)
    {
        key[code] = 1;
        game.update(STEP);
    }

    void release(int code)
    {
        key[code] = 0;
        game.update(STEP);
    }

    void tap(int code)
    {
        press(code);
        release(code);
    }

    // Opens the shop, walks to a power-up with the right key and buys it.
    void buy(int index)
    {
        game.pushState("powerupShop");
        for (int step = 0; step < index; ++step) {
            tap(KEY_RIGHT);
        }
        tap(KEY_ENTER);
    }

    TestGame game;
    QuickShop shop { &game };
    Player* fish = nullptr; // owned by the level's state
};

TEST_F(PowerupShopTest, OpensOnInfiniteOverAFrozenLevelAndEveryVisitStartsThere)
{
    game.screen->waterEffect = true;
    game.coins = 37;
    game.pushState("powerupShop");

    EXPECT_TRUE(game.frozen);
    EXPECT_FALSE(game.screen->waterEffect);
    EXPECT_EQ(shop.fades, std::vector<float> { 0.2f });
    EXPECT_EQ(shop.coinsText->text, "Coins: 37");
    EXPECT_EQ(shop.nameText->text, "INFINITE");
    EXPECT_EQ(shop.descriptionTexts[0]->text, "This power-up enables you to");
    EXPECT_EQ(shop.descriptionTexts[2]->text, "bubbles for a short time.");
    EXPECT_EQ(shop.priceText->text, "Price: 10 coins");
    ASSERT_EQ(shop.icons.size(), 5u);
    EXPECT_EQ(shop.icons[0]->alpha, 255.0f);
    for (int index = 1; index < 5; ++index) {
        EXPECT_EQ(shop.icons[index]->alpha, 128.0f);
        EXPECT_EQ(shop.icons[index]->frame, static_cast<float>(index));
    }
    tap(KEY_LEFT);
    EXPECT_EQ(shop.selection, 4);

    tap(KEY_ESC);
    ASSERT_FALSE(shopOpen());
    EXPECT_EQ(game.screen->layers[4].sprites.size(), 0u);
    game.pushState("powerupShop");
    EXPECT_EQ(shop.selection, 0);
    EXPECT_EQ(shop.nameText->text, "INFINITE");
    EXPECT_EQ(shop.icons[0]->alpha, 255.0f);
}

TEST_F(PowerupShopTest, TheFishsOwnKeysMoveTheSelectionOnPressWrappingRound)
{
    fish->clearBindings();
    fish->bind("left", KEY_A);
    fish->bind("right", KEY_D);
    fish->bind("fire", KEY_LCONTROL);
    game.pushState("powerupShop");

    press(KEY_A);
    EXPECT_EQ(shop.selection, 4);
    EXPECT_EQ(shop.nameText->text, "SLOW MOTION");
    EXPECT_EQ(shop.descriptionTexts[1]->text, "down the passage of time.");
    EXPECT_EQ(shop.descriptionTexts[2]->text, "");
    EXPECT_EQ(shop.priceText->text, "Price: 20 coins");
    release(KEY_A);
    EXPECT_EQ(shop.selection, 4);

    // The new choice lights up in a tenth of a second, the old one dims more
    // slowly.
    for (int frame = 0; frame < 10; ++frame) {
        game.update(STEP);
    }
    EXPECT_NEAR(shop.icons[4]->alpha, 255.0f, 0.5f);
    EXPECT_GT(shop.icons[0]->alpha, 128.5f);
    for (int frame = 0; frame < 40; ++frame) {
        game.update(STEP);
    }
    EXPECT_NEAR(shop.icons[0]->alpha, 128.0f, 0.5f);

    tap(KEY_D);
    EXPECT_EQ(shop.selection, 0);
    tap(KEY_D);
    EXPECT_EQ(shop.nameText->text, "SPECIAL");
    EXPECT_EQ(shop.descriptionTexts[0]->text, "This special move will bubble-");

    // The arrows are not the fish's keys any more; its fire key buys.
    tap(KEY_LEFT);
    EXPECT_EQ(shop.selection, 1);
    tap(KEY_LCONTROL);
    EXPECT_FALSE(shopOpen());
    EXPECT_EQ(game.coins, 10);
}

TEST_F(PowerupShopTest, BuyingTakesTheExactPriceOnAReleaseOfAKeyPressedInTheShop)
{
    game.coins = 10;
    // Keys held from before the shop opened neither buy nor close it.
    key[KEY_SPACE] = 1;
    key[KEY_TAB] = 1;
    game.pushState("powerupShop");
    release(KEY_SPACE);
    release(KEY_TAB);
    EXPECT_TRUE(shopOpen());

    press(KEY_SPACE);
    EXPECT_TRUE(shopOpen());
    EXPECT_EQ(game.coins, 10);
    release(KEY_SPACE);
    EXPECT_FALSE(shopOpen());
    EXPECT_EQ(game.coins, 0);
    ASSERT_EQ(fish->powerups.size(), 1u);
    EXPECT_EQ(fish->powerups[0].type, Player::INFINITE_BUBBLES);
    EXPECT_EQ(fish->powerups[0].secondsLeft, 20.0f);
}

TEST_F(PowerupShopTest, TooFewCoinsOrARefusalCostNothingAndKeepTheShopOpen)
{
    game.coins = 49;
    buy(PowerupShopController::UPGRADE);
    EXPECT_TRUE(shopOpen());
    EXPECT_EQ(game.coins, 49);
    EXPECT_EQ(game.bubbleLimit, 3);
    tap(KEY_ESC);

    // Speed is no use to a fish that rides a friend.
    fish->ridingFriend = true;
    buy(PowerupShopController::SPEED_BOOST);
    EXPECT_TRUE(shopOpen());
    EXPECT_EQ(game.coins, 49);
    EXPECT_FALSE(fish->hasPowerup(Player::SPEED_BOOST));
    tap(KEY_ESC);

    // Nor are a second speed boost or a second endless supply of bubbles.
    fish->ridingFriend = false;
    fish->activatePowerup(Player::SPEED_BOOST, 5.0f);
    fish->activatePowerup(Player::INFINITE_BUBBLES, 5.0f);
    buy(PowerupShopController::SPEED_BOOST);
    EXPECT_TRUE(shopOpen());
    tap(KEY_LEFT);
    tap(KEY_LEFT);
    tap(KEY_ENTER);
    EXPECT_TRUE(shopOpen());
    EXPECT_EQ(game.coins, 49);
    EXPECT_EQ(fish->powerups.size(), 2u);
}

TEST_F(PowerupShopTest, UpgradeRaisesTheLimitToTenRefillsAndSavesThePaidProfile)
{
    game.currentProfile = "Mira";
    game.coins = 120;
    game.bubbleLimit = 9;
    fish->bubbles = 2;
    buy(PowerupShopController::UPGRADE);
    EXPECT_FALSE(shopOpen());
    EXPECT_EQ(game.bubbleLimit, 10);
    EXPECT_EQ(fish->bubbles, 10);
    EXPECT_EQ(game.coins, 70);
    ProgressFile saved;
    ASSERT_EQ(saved.load(game.progressPath()), ProgressFile::Result::Loaded);
    EXPECT_EQ(saved.bubbleLimit, 10);
    EXPECT_EQ(saved.coins, 70);

    buy(PowerupShopController::UPGRADE);
    EXPECT_TRUE(shopOpen());
    EXPECT_EQ(game.bubbleLimit, 10);
    EXPECT_EQ(game.coins, 70);
}

TEST_F(PowerupShopTest, SlowMotionBoughtTwiceRunsTwoTimers)
{
    game.coins = 40;
    buy(PowerupShopController::SLOW_MOTION);
    buy(PowerupShopController::SLOW_MOTION);
    EXPECT_EQ(game.coins, 0);
    ASSERT_EQ(fish->powerups.size(), 2u);
    for (const Player::Powerup& entry : fish->powerups) {
        EXPECT_EQ(entry.type, Player::SLOW_MOTION);
        EXPECT_EQ(entry.secondsLeft, 20.0f);
    }
    EXPECT_EQ(game.timeScale, 0.5f);
}

TEST_F(PowerupShopTest, SpecialTrapsEveryVisibleCreatureThatBubblesCanHold)
{
    std::vector<std::unique_ptr<Creature>> owned;
    for (int k = 0; k < 3; ++k) {
        owned.emplace_back(new Creature());
        game.creatures.push_back(owned.back().get());
    }
    owned[1]->visible = false;
    owned[2]->bubbleProof = true;
    owned[0]->trap(2.0f); // already in a bubble: it gets the full time again
    game.creatures.push_back(nullptr);

    buy(PowerupShopController::SPECIAL);
    EXPECT_FALSE(shopOpen());
    EXPECT_EQ(game.coins, 10);
    EXPECT_EQ(owned[0]->trapTime, 10.0f);
    EXPECT_EQ(owned[1]->trapTime, 0.0f);
    EXPECT_EQ(owned[2]->trapTime, 0.0f);
    game.creatures.clear();
}

TEST_F(PowerupShopTest, LeavingHoldsTheFreezeBrieflyAndBringsTheWaterBackUnlessDry)
{
    game.waterEffect = true;
    game.pushState("powerupShop");
    tap(KEY_F5);
    EXPECT_FALSE(shopOpen());
    EXPECT_TRUE(game.frozen);
    EXPECT_EQ(game.freezeTimer, 0.1f);
    EXPECT_TRUE(game.screen->waterEffect);

    game.freezeTimer = 0.0f;
    fish->setOutOfWater(true);
    game.pushState("powerupShop");
    tap(KEY_ESC);
    EXPECT_EQ(game.freezeTimer, 0.1f);
    EXPECT_FALSE(game.screen->waterEffect);
    // Only the shop closed: the level is still there.
    ASSERT_EQ(game.stateStack.size(), 1u);
    EXPECT_EQ(game.stateStack.back()->name, "inGame");
    EXPECT_TRUE(shop.bindings.empty());
}

TEST_F(PowerupShopTest, WithoutAFishOnlyWhatNeedsNoFishIsSold)
{
    game.popAllStates(); // the fish goes with its level
    ASSERT_EQ(game.player, nullptr);
    game.pushState("inGame");
    game.coins = 100;
    buy(PowerupShopController::INFINITE);
    EXPECT_TRUE(shopOpen());
    tap(KEY_RIGHT);
    tap(KEY_ENTER);
    EXPECT_FALSE(shopOpen());
    EXPECT_EQ(game.coins, 85);
    buy(PowerupShopController::SPEED_BOOST);
    EXPECT_TRUE(shopOpen());
    tap(KEY_ESC);
    buy(PowerupShopController::UPGRADE);
    EXPECT_FALSE(shopOpen());
    EXPECT_EQ(game.bubbleLimit, 4);
    EXPECT_EQ(game.coins, 35);
    buy(PowerupShopController::SLOW_MOTION);
    EXPECT_TRUE(shopOpen());
    EXPECT_EQ(game.coins, 35);
    EXPECT_EQ(game.timeScale, 1.0f);
}

} // namespace
