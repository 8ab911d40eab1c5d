#include "game/app/HelpScreen.h"

#include "engine/core/ActionMap.h"
#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/Screen.h"
#include "engine/ui/TextSprite.h"
#include "game/app/Game.h"
#include "game/play/Player.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

Lines linesFor(int level)
{
    return HelpScreen::linesFor(level, 12, "Space");
}

TEST(HelpText, SpecialLevelsComeBeforeTheirWorld)
{
    EXPECT_EQ(linesFor(14), (Lines { "Hang on tight!", "", "", "" }));
    EXPECT_EQ(linesFor(17), (Lines { "Run!!", "", "", "" }));
    EXPECT_EQ(linesFor(19),
        (Lines { "The swordfish has challenged", "you to a duel!", "Press Space to attack.", "" }));
    EXPECT_EQ(linesFor(29), (Lines { "Use your bubbles to deflect", "the leviathan's attacks!", "", "" }));
    EXPECT_EQ(linesFor(3),
        (Lines { "Collect 12 coins to win.", "Use the coins to buy power-ups", "at the power-up shop. (TAB)",
            "" }));
    EXPECT_EQ(linesFor(44)[0], "Collect 12 coins to win.");
    EXPECT_EQ(linesFor(0)[3], "Press F1 to get help in-game.");
    EXPECT_EQ(linesFor(9)[0], "Use the squid's ink blobs");
    EXPECT_EQ(linesFor(39)[0], "Dodge the Big Boss Bird's");
    EXPECT_EQ(linesFor(49)[0], "You've reached the final boss!");
}

TEST(HelpText, WorldsAndMiniGames)
{
    EXPECT_EQ(linesFor(1000)[1], "treasure to win 5 coins.");
    EXPECT_EQ(linesFor(1001)[3], "15 coins. Hurry!");
    EXPECT_EQ(linesFor(1002)[3], "Keep it up to win 25 coins!");
    for (int level : { 10, 15, 18 }) {
        EXPECT_EQ(linesFor(level),
            (Lines { "Beware of the pirate fish!", "Rearrange the crates to ", "proceed.", "" }));
    }
    EXPECT_EQ(linesFor(20)[0], "Watch out for the sentinel");
    EXPECT_EQ(linesFor(30), (Lines { "You're a fish out of water!", "Press Up to jump.", "", "" }));
    EXPECT_EQ(linesFor(35)[1], "Press Up to jump.");
    EXPECT_EQ(linesFor(40), (Lines { "You've made it to the", "Shark's lair.", "Good luck!", "" }));
}

TEST(HelpText, EveryOtherLevelExplainsTheBubbleKey)
{
    const Lines bubbles { "To use your Bubbles,", "press Space!", "Bubbles will trap your",
        "enemies for a short time." };
    for (int level : { 1, 8, 50, 1003, -1 }) {
        EXPECT_EQ(linesFor(level), bubbles) << "level " << level;
    }
    EXPECT_EQ(HelpScreen::linesFor(1, 0, ActionMap::keyName(KEY_Q))[1], "press Q!");
}

class HelpScreenTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        game = std::make_unique<Game>();
        DebugLog::setFatalMode(false);
        game->screen = new Screen(800, 600, false, true);
        game->screen->layers.resize(5);
        DatafileManager::setDirectory("dat/");
    }

    ScratchDir scratch;
    std::unique_ptr<Game> game;
};

TEST_F(HelpScreenTest, FireKeyComesFromTheFishBindings)
{
    EXPECT_EQ(HelpScreen::fireKeyName(*game), "Space");
    Player fish;
    game->player = &fish;
    fish.bindings["fire"] = { KEY_X, KEY_SPACE };
    EXPECT_EQ(HelpScreen::fireKeyName(*game), "X");
    fish.bindings.erase("fire");
    EXPECT_EQ(HelpScreen::fireKeyName(*game), "the fire key");
    game->player = nullptr;
}

TEST_F(HelpScreenTest, PanelAndLinesOverAFrozenLevel)
{
    Screen& screen = *game->screen;
    screen.waterEffect = true;
    clear_to_color(screen.backBuffer, makecol(10, 20, 30));
    game->currentLevel = 19;
    game->stateStack.push_back(new GameState(game.get(), game->screen, "helpText"));

    HelpScreen::build(*game);

    EXPECT_EQ(getpixel(screen.snapshot, 5, 5), makecol(10, 20, 30));
    EXPECT_TRUE(game->frozen);
    EXPECT_FALSE(screen.waterEffect);
    EXPECT_EQ(game->bindings["endHelp"], std::vector<int> { ActionMap::ANY_KEY });
    EXPECT_EQ(game->stateStack.back()->stateActions, std::vector<std::string> { "endHelp" });

    const std::vector<Sprite*>& owned = game->stateStack.back()->sprites;
    ASSERT_EQ(owned.size(), 5u);
    EXPECT_EQ(owned[0]->alignment, 1);
    EXPECT_EQ(owned[0]->x, 400.0f);
    EXPECT_EQ(owned[0]->y, 300.0f);
    const int rows[] = { 225, 249, 273, 297 };
    for (int k = 0; k < 4; ++k) {
        auto* line = dynamic_cast<TextSprite*>(owned[k + 1]);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->x, 100.0f);
        EXPECT_EQ(line->y, static_cast<float>(rows[k]));
        EXPECT_EQ(line->depthBias, 600);
        EXPECT_EQ(line->text, HelpScreen::linesFor(19, 0, "Space")[k]);
    }
    for (Sprite* sprite : owned) {
        const auto& layer = screen.layers[4].sprites;
        EXPECT_NE(std::find(layer.begin(), layer.end(), sprite), layer.end());
    }
}

} // namespace
