#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/media/Screen.h"
#include "engine/ui/TextSprite.h"
#include "game/app/Game.h"
#include "game/play/InGameController.h"
#include "game/play/PowerupShopController.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {

class PlaceholderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DebugLog::setFatalMode(false);
        game.screen = new Screen(800, 600, false, true);
        game.screen->layers.resize(5);
        game.registerController(&level);
        game.registerController(&shop);
    }
    void TearDown() override
    {
        key[KEY_ESC] = 0;
        game.popAllStates();
    }

    ScratchDir scratch;
    Game game;
    InGameController level;
    PowerupShopController shop;
};

TEST_F(PlaceholderTest, LevelPlayNamesTheLevelOnItsBackground)
{
    game.currentLevel = 23;
    game.jumpState("inGame");
    const auto& top = game.screen->layers[4].sprites;
    ASSERT_EQ(top.size(), 1u);
    EXPECT_EQ(static_cast<TextSprite*>(top[0])->text, "Level 24");
    EXPECT_EQ(game.screen->layers[0].sprites.size(), 1u);
    EXPECT_EQ(InGameController::backgroundFor(23), "bg2.dat");
    EXPECT_EQ(InGameController::backgroundFor(1001), "bg0.dat");
}

TEST_F(PlaceholderTest, EscClosesTheShopOnlyWhenReleasedAndOnlyTheShop)
{
    game.pushState("underneath");
    key[KEY_ESC] = 1; // held from before: its release must not close the shop
    game.pushState("powerupShop");
    key[KEY_ESC] = 0;
    game.update(0.01f);
    ASSERT_EQ(game.stateStack.size(), 2u);

    key[KEY_ESC] = 1;
    game.update(0.01f);
    EXPECT_EQ(game.stateStack.size(), 2u);
    key[KEY_ESC] = 0;
    game.update(0.01f);
    ASSERT_EQ(game.stateStack.size(), 1u);
    EXPECT_EQ(game.stateStack.back()->name, "underneath");
    EXPECT_TRUE(shop.bindings.empty());
}

} // namespace
