#include "TestGame.h"
#include "engine/core/GameState.h"
#include "engine/ui/Menu.h"
#include "engine/ui/MenuEntry.h"
#include "game/play/Player.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace apptest {
namespace {

std::vector<std::string> stackNames(Game& game)
{
    std::vector<std::string> names;
    for (GameState* state : game.stateStack) {
        names.push_back(state->name);
    }
    return names;
}

bool onLayer(Game& game, Sprite* sprite, int layer)
{
    const std::vector<Sprite*>& sprites = game.screen->layers[layer].sprites;
    return std::find(sprites.begin(), sprites.end(), sprite) != sprites.end();
}

using Names = std::vector<std::string>;

// A game in level play: a profile, a fish, the in-game menu and its backdrop.
class GameActionsTest : public GameTest {
protected:
    GameActionsTest()
    {
        game.profiles = { "P" };
        game.currentProfile = "P";
        game.jumpState("inGame");
        fish = std::make_unique<Player>();
        game.player = fish.get();
        inGameMenu.addAction("Main", "Continue", "closeInGameMenu");
        inGameMenu.addAction("Main", "Restart", "JUMPSTATE:inGame");
        inGameMenu.addAction("Options", "Back", "inGameMenuExitsOptions");
        inGameMenu.visible = false;
        game.inGameMenu = &inGameMenu;
        backdrop.alpha = 0.0f;
        backdrop.visible = false;
        game.menuBackdrop = &backdrop;
        titleMenu.addAction("Main", "Play!", "start");
        titleMenu.addAction("Options", "Key Config", "LINKTO:KeyConfig");
        titleMenu.addAction("BadMiniGame", "Mini Game Locked!", "LINKTO:MiniGames");
        game.titleMenu = &titleMenu;
    }

    bool titleShows(const std::string& page) { return titleMenu.entries == titleMenu.pages[page]; }

    TestGame game;
    std::unique_ptr<Player> fish;
    Menu inGameMenu;
    Menu titleMenu { false };
    Sprite backdrop;
};

TEST_F(GameActionsTest, OverlaysOpenOnTheReleaseSoPostedTextsUseTheTrueForms)
{
    game.onAction("pushHelpText", true);
    EXPECT_EQ(stackNames(game), (Names { "inGame" }));

    game.onAction("pushHelpText_true", true);
    EXPECT_EQ(stackNames(game), (Names { "inGame", "helpText" }));

    // Not twice, and not the shop over the help.
    game.onAction("pushHelpText_true", true);
    game.onAction("pushPowerupShop_true", true);
    EXPECT_EQ(stackNames(game), (Names { "inGame", "helpText" }));

    game.onAction("endHelp", true);
    EXPECT_EQ(stackNames(game), (Names { "inGame", "helpText" }));
    game.onAction("endHelp", false);
    EXPECT_EQ(stackNames(game), (Names { "inGame" }));

    // Level play has counted the unfreeze down.
    game.freezeTimer = 0.0f;
    game.frozen = false;
    game.onAction("pushPowerupShop", false);
    EXPECT_EQ(stackNames(game), (Names { "inGame", "powerupShop" }));
    game.popState();

    // Not while play is held, the fish is dead, or there is no fish.
    game.frozen = true;
    game.onAction("pushHelpText", false);
    game.frozen = false;
    game.freezeTimer = 0.05f;
    game.onAction("pushPowerupShop", false);
    game.freezeTimer = 0.0f;
    fish->dead = true;
    game.onAction("pushHelpText", false);
    fish->dead = false;
    game.player = nullptr;
    game.onAction("pushPowerupShop", false);
    EXPECT_EQ(stackNames(game), (Names { "inGame" }));
}

TEST_F(GameActionsTest, LeavingTheHelpResumesPlayATenthOfASecondLater)
{
    game.waterEffect = true;
    game.screen->waterEffect = false;
    game.returnTimer = 1.0f;
    game.onAction("pushHelpText", false);
    game.onAction("endHelp", false);
    EXPECT_FLOAT_EQ(game.freezeTimer, 0.1f);
    EXPECT_EQ(game.returnTimer, 0.0f);
    EXPECT_TRUE(game.screen->waterEffect);

    // Out of the water the ripple stays off.
    game.freezeTimer = 0.0f;
    game.screen->waterEffect = false;
    fish->outOfWater = true;
    game.onAction("pushHelpText", false);
    game.onAction("endHelp", false);
    EXPECT_FALSE(game.screen->waterEffect);
}

TEST_F(GameActionsTest, MiniGamesOpenAfterEachTenStoryLevels)
{
    game.highestLevel = 19;
    game.onAction("LEVEL:1001", true);
    EXPECT_TRUE(titleShows("BadMiniGame"));
    EXPECT_EQ(game.currentLevel, 0);

    game.highestLevel = 20;
    game.onAction("LEVEL:1001", true);
    EXPECT_EQ(game.currentLevel, 1001);
    EXPECT_EQ(stackNames(game), (Names { "inGame" }));

    game.highestLevel = 39;
    game.onAction("LEVEL:1003", false);
    EXPECT_EQ(game.currentLevel, 1001);

    // Story levels start on either edge.
    game.onAction("LEVEL:7", false);
    EXPECT_EQ(game.currentLevel, 7);

    // Without a number or a title menu nothing breaks.
    game.titleMenu = nullptr;
    game.onAction("LEVEL:1003", true);
    game.onAction("LEVEL", true);
    EXPECT_EQ(game.currentLevel, 0);
}

TEST_F(GameActionsTest, EachMiniGameIsLockedOneLevelShortOfItsThresholdAndOpensAtIt)
{
    struct MiniGame {
        const char* action;
        int level;
        int opensAt;
    };
    const MiniGame games[] = {
        { "LEVEL:1000", 1000, 10 },
        { "LEVEL:1001", 1001, 20 },
        { "LEVEL:1002", 1002, 30 },
        { "LEVEL:1003", 1003, 40 },
    };
    for (const MiniGame& miniGame : games) {
        game.jumpState("title");
        titleMenu.linkTo("Main");
        game.currentLevel = 3;
        game.highestLevel = miniGame.opensAt - 1;
        game.onAction(miniGame.action, true);
        EXPECT_TRUE(titleShows("BadMiniGame")) << miniGame.action;
        ASSERT_FALSE(titleMenu.entries.empty());
        EXPECT_EQ("Mini Game Locked!", titleMenu.entries.front()->text);
        EXPECT_EQ(3, game.currentLevel) << miniGame.action;
        EXPECT_EQ(stackNames(game), (Names { "title" })) << miniGame.action;

        titleMenu.linkTo("Main");
        game.highestLevel = miniGame.opensAt;
        game.onAction(miniGame.action, true);
        EXPECT_EQ(miniGame.level, game.currentLevel);
        EXPECT_EQ(stackNames(game), (Names { "inGame" })) << miniGame.action;
        EXPECT_FALSE(titleShows("BadMiniGame"));
    }
}

TEST_F(GameActionsTest, TheEndOfALevelLeadsOnOrBackToTheTitle)
{
    game.currentLevel = 4;
    game.onAction("endLevel", true);
    game.pushState("100%");
    game.inputLock = 0.0f;
    game.onAction("endLevel", false);
    EXPECT_EQ(stackNames(game), (Names { "inGame" }));

    game.currentLevel = 1002;
    game.onAction("endLevel", false);
    EXPECT_EQ(stackNames(game), (Names { "title" }));
}

TEST_F(GameActionsTest, JumpsActOnTheirOwnEdge)
{
    game.onAction("JUMPSTATE_FALSE:title", true);
    EXPECT_EQ(stackNames(game), (Names { "inGame" }));
    game.onAction("JUMPSTATE_FALSE:title", false);
    EXPECT_EQ(stackNames(game), (Names { "title" }));

    game.onAction("JUMPSTATE:credits", false);
    EXPECT_EQ(stackNames(game), (Names { "title" }));
    game.onAction("JUMPSTATE:credits", true);
    EXPECT_EQ(stackNames(game), (Names { "credits" }));

    game.onAction("JUMPSTATE:", true);
    EXPECT_EQ(stackNames(game), (Names { "credits" }));

    game.highestLevel = 0;
    game.onAction("start", true);
    EXPECT_EQ(stackNames(game), (Names { "cutScene" }));
    game.highestLevel = 3;
    game.onAction("start", false);
    EXPECT_EQ(stackNames(game), (Names { "cutScene" }));
    game.onAction("start", true);
    EXPECT_EQ(stackNames(game), (Names { "levelSelect" }));

    game.noClear = false;
    game.onAction("credits", true);
    game.onAction("JUMPSTATE_FALSE:title", false);
    EXPECT_TRUE(game.noClear);
}

TEST_F(GameActionsTest, TheEndScreensIgnoreEverythingWhileLocked)
{
    game.jumpState("eog");
    game.inputLock = 4.0f;
    game.onAction("JUMPSTATE_FALSE:credits", false);
    game.onAction("quit", true);
    EXPECT_EQ(stackNames(game), (Names { "eog" }));
    EXPECT_FALSE(game.quit);

    game.updateState("eog", 3.0f);
    EXPECT_FLOAT_EQ(game.inputLock, 1.0f);
    game.updateState("inGame", 3.0f);
    EXPECT_FLOAT_EQ(game.inputLock, 1.0f);
    game.updateState("eog", 3.0f);
    EXPECT_EQ(game.inputLock, 0.0f);
    game.onAction("JUMPSTATE_FALSE:credits", false);
    EXPECT_EQ(stackNames(game), (Names { "credits" }));

    // The award over a level is locked the same way, so a key still held
    // from play does not skip it.
    game.currentLevel = 5;
    game.jumpState("inGame");
    game.pushState("100%");
    game.inputLock = 1.5f;
    game.onAction("endLevel", false);
    EXPECT_EQ(stackNames(game), (Names { "inGame", "100%" }));
    game.updateState("100%", 2.0f);
    game.onAction("endLevel", false);
    EXPECT_EQ(stackNames(game), (Names { "inGame" }));

    // A lock left over with no end screen shown locks nothing.
    game.inputLock = 3.0f;
    game.onAction("JUMPSTATE:title", true);
    EXPECT_EQ(stackNames(game), (Names { "title" }));
}

TEST_F(GameActionsTest, TheInGameMenuFreezesPlayAndGivesTheKeysBack)
{
    game.waterEffect = true;
    game.screen->waterEffect = true;
    ASSERT_FALSE(fish->bindings.empty());

    game.onAction("openInGameMenu", false);
    EXPECT_FALSE(inGameMenu.visible);

    game.onAction("openInGameMenu", true);
    EXPECT_TRUE(game.frozen);
    EXPECT_FALSE(game.screen->waterEffect);
    EXPECT_TRUE(fish->bindings.empty());
    EXPECT_TRUE(backdrop.visible);
    EXPECT_TRUE(backdrop.alphaTween.active);
    EXPECT_EQ(backdrop.alphaTween.target, 255.0f);
    EXPECT_TRUE(inGameMenu.visible);
    EXPECT_EQ(inGameMenu.entries, inGameMenu.pages["Main"]);
    EXPECT_EQ(inGameMenu.selected, 0);
    EXPECT_TRUE(onLayer(game, &inGameMenu, 4));

    game.onAction("closeInGameMenu", true);
    EXPECT_FALSE(game.frozen);
    EXPECT_TRUE(game.screen->waterEffect);
    EXPECT_EQ(fish->firstCode("fire"), KEY_SPACE);
    EXPECT_EQ(backdrop.alphaTween.target, 0.0f);
    EXPECT_FALSE(inGameMenu.visible);
    EXPECT_FALSE(onLayer(game, &inGameMenu, 4));

    // Riding the rocket keeps the ripple off after the menu.
    fish->rocketSmoke = true;
    game.onAction("openInGameMenu", true);
    game.onAction("closeInGameMenu", true);
    EXPECT_FALSE(game.screen->waterEffect);
}

TEST_F(GameActionsTest, TheInGameMenuStaysShutWhenPlayCannotPause)
{
    // The help screen alone keeps it shut, frozen or not.
    game.onAction("pushHelpText", false);
    game.frozen = false;
    game.onAction("openInGameMenu", true);
    EXPECT_FALSE(inGameMenu.visible);
    EXPECT_FALSE(game.frozen);
    game.onAction("endHelp", false);

    EXPECT_FLOAT_EQ(game.freezeTimer, 0.1f);
    game.onAction("openInGameMenu", true);
    EXPECT_FALSE(inGameMenu.visible);
    game.freezeTimer = 0.0f;

    // Dying: the level restarts shortly, so the menu does not open, although
    // play is already held.
    game.returnTimer = 2.0f;
    game.onAction("openInGameMenu", true);
    EXPECT_TRUE(game.frozen);
    EXPECT_FALSE(inGameMenu.visible);
    EXPECT_FALSE(fish->bindings.empty());

    // A level without its menu is not frozen for nothing.
    game.frozen = false;
    game.returnTimer = 0.0f;
    game.inGameMenu = nullptr;
    game.menuBackdrop = nullptr;
    game.onAction("openInGameMenu", true);
    EXPECT_FALSE(game.frozen);
    game.onAction("closeInGameMenu", true);
    game.onAction("inGameMenuOpensHelpText", true);
}

TEST_F(GameActionsTest, OptionsAndKeysAreSavedAndTheMenusTurnBack)
{
    game.settings["resx"] = 640;
    game.onAction("exitOptionsMenu", true);
    EXPECT_EQ(readFile("settings.cfg"), "resx 640\n");
    EXPECT_TRUE(titleShows("Main"));

    fish->unbind("fire");
    fish->bind("fire", KEY_A);
    game.onAction("saveKeyConfig", true);
    EXPECT_NE(readFile("profiles/P.cfg").find("fire 1 1 \n"), std::string::npos);
    EXPECT_TRUE(titleShows("Options"));

    game.onAction("resetKeyConfig", true);
    EXPECT_EQ(fish->firstCode("fire"), KEY_SPACE);
    EXPECT_EQ(readFile("profiles/P.cfg"), "down 1 85 \nfire 1 75 \nleft 1 82 \nright 1 83 \nup 1 84 \n");

    inGameMenu.linkTo("Options");
    game.onAction("inGameMenuExitsOptions", true);
    EXPECT_EQ(inGameMenu.entries, inGameMenu.pages["Main"]);
}

TEST_F(GameActionsTest, QuitWritesTheSettingsAndEndsTheLoop)
{
    game.settings["fullscreen"] = 1;
    game.onAction("quit", false);
    EXPECT_FALSE(game.quit);
    game.onAction("quit", true);
    EXPECT_TRUE(game.quit);
    EXPECT_EQ(readFile("settings.cfg"), "fullscreen 1\n");
}

TEST_F(GameActionsTest, AfterADeathTheLevelStartsAgain)
{
    game.returnTimer = 0.05f;
    game.update(0.03f);
    EXPECT_EQ(stackNames(game), (Names { "inGame" }));
    game.pushState("helpText");
    game.returnTimer = 0.05f;
    game.update(0.03f);
    EXPECT_EQ(stackNames(game), (Names { "inGame", "helpText" }));
    game.update(0.03f);
    EXPECT_EQ(stackNames(game), (Names { "inGame" }));
    EXPECT_EQ(game.returnTimer, 0.0f);
}

TEST_F(GameActionsTest, TheConfirmPromptAnswersWithYNOrEsc)
{
    // The real prompt, with the keys already down.
    class PromptGame : public TestGame {
    public:
        bool ask(const std::string& text) { return Game::confirm(text); }
    };
    PromptGame prompt;
    for (int k = 0; k < KEY_MAX; ++k) {
        key[k] = 0;
    }
    key[KEY_Y] = 1;
    EXPECT_TRUE(prompt.ask("Delete Profile [P]? [Y/N]"));
    key[KEY_Y] = 0;
    key[KEY_N] = 1;
    EXPECT_FALSE(prompt.ask("Delete Profile [P]? [Y/N]"));
    key[KEY_N] = 0;
}

} // namespace
} // namespace apptest
