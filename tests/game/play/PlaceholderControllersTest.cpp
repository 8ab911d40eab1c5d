#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/core/StateController.h"
#include "game/app/Game.h"
#include "game/play/PowerupShopController.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

namespace {

TEST(PowerupShopTest, EscClosesOnlyTheShopAndOnlyAKeyPressedInIt)
{
    ScratchDir scratch;
    Game game;
    DebugLog::setFatalMode(false);
    PowerupShopController shop;
    game.registerController(&shop);
    game.pushState("inGame");
    key[KEY_ESC] = 1; // held from before the shop opened
    game.pushState("powerupShop");
    key[KEY_ESC] = 0;
    game.update(0.01f);
    EXPECT_EQ(game.stateStack.size(), 2u);

    key[KEY_ESC] = 1;
    game.update(0.01f);
    key[KEY_ESC] = 0;
    game.update(0.01f);
    ASSERT_EQ(game.stateStack.size(), 1u);
    EXPECT_EQ(game.stateStack.back()->name, "inGame");
    EXPECT_TRUE(shop.bindings.empty());
    game.popAllStates();
}

} // namespace
