#include "game/app/HelpScreen.h"

#include "engine/core/ActionMap.h"
#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/media/Screen.h"
#include "engine/ui/TextSprite.h"
#include "game/app/Game.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <memory>

namespace {

using Lines = std::vector<std::string>;

TEST(HelpText, FirstMatchingRowWins)
{
    const struct {
        int level;
        Lines lines;
    } rows[] = {
        { 14, { "Hang on tight!", "", "", "" } },
        { 19, { "The swordfish has challenged", "you to a duel!", "Press Space to attack.", "" } },
        { 29, { "Use your bubbles to deflect", "the leviathan's attacks!", "", "" } },
        { 3,
            { "Collect 12 coins to win.", "Use the coins to buy power-ups", "at the power-up shop. (TAB)",
                "" } },
        { 15, { "Beware of the pirate fish!", "Rearrange the crates to ", "proceed.", "" } },
        { 35, { "You're a fish out of water!", "Press Up to jump.", "", "" } },
        { 1,
            { "To use your Bubbles,", "press Space!", "Bubbles will trap your",
                "enemies for a short time." } },
    };
    for (const auto& row : rows) {
        EXPECT_EQ(HelpScreen::linesFor(row.level, 12, ActionMap::keyName(KEY_SPACE)), row.lines) << row.level;
    }
    const std::pair<int, const char*> firstLines[] = { { 0, "Collect all the Treasure Chests" },
        { 1000, "Track the shell with the" }, { 1001, "Disarm the bombs by trapping" },
        { 1002, "Follow the dancing fish." }, { 10, "Beware of the pirate fish!" },
        { 30, "You're a fish out of water!" }, { 1003, "To use your Bubbles," } };
    for (const auto& [level, first] : firstLines) {
        EXPECT_EQ(HelpScreen::linesFor(level, 0, "Space")[0], first) << level;
    }
    EXPECT_EQ(HelpScreen::linesFor(8, 0, ActionMap::keyName(KEY_Q))[1], "press Q!");
}

TEST(HelpScreen, PanelAndLinesOverAFrozenLevel)
{
    ScratchDir scratch;
    Game game;
    DebugLog::setFatalMode(false);
    game.screen = new Screen(800, 600, false, true);
    game.screen->layers.resize(5);
    Screen& screen = *game.screen;
    screen.waterEffect = true;
    clear_to_color(screen.backBuffer, makecol(10, 20, 30));
    game.currentLevel = 19;
    game.stateStack.push_back(new GameState(&game, game.screen, "helpText"));

    HelpScreen::build(game);

    EXPECT_EQ(getpixel(screen.snapshot, 5, 5), makecol(10, 20, 30));
    EXPECT_TRUE(game.frozen);
    EXPECT_FALSE(screen.waterEffect);
    EXPECT_EQ(game.stateStack.back()->stateActions, Lines { "endHelp" });
    EXPECT_EQ(game.bindings["endHelp"], std::vector<int> { ActionMap::ANY_KEY });

    const std::vector<Sprite*>& owned = game.stateStack.back()->sprites;
    ASSERT_EQ(owned.size(), 5u);
    EXPECT_EQ(owned[0]->x + owned[0]->y, 700.0f);
    for (int k = 0; k < 4; ++k) {
        auto* line = dynamic_cast<TextSprite*>(owned[k + 1]);
        ASSERT_NE(line, nullptr);
        EXPECT_EQ(line->x, 100.0f);
        EXPECT_EQ(line->y, 225.0f + 24 * k);
        EXPECT_EQ(line->depthBias, 600);
        EXPECT_EQ(line->text, HelpScreen::linesFor(19, 0, "Space")[k]);
    }
    EXPECT_EQ(screen.layers[4].sprites.size(), 5u);
}

} // namespace
