#include "game/app/EndScreens.h"

#include "engine/core/ActionMap.h"
#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "engine/ui/TextSprite.h"
#include "game/app/Game.h"
#include "support/RecordingAudioDevice.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>

namespace {

using Names = std::vector<std::string>;

class EndScreensTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        game = std::make_unique<Game>();
        DebugLog::setFatalMode(false);
        game->screen = new Screen(800, 600, false, true);
        game->screen->layers.resize(5);
        game->sound = new SoundManager(std::make_unique<RecordingAudioDevice>());
    }

    // The screen's record, as the stack holds it when the game builds it.
    GameState& enter(const std::string& name)
    {
        game->stateStack.push_back(new GameState(game.get(), game->screen, name));
        return *game->stateStack.back();
    }

    ScratchDir scratch;
    std::unique_ptr<Game> game;
};

TEST_F(EndScreensTest, CreditsScrollAsOneBlockAndAKeyLeaves)
{
    std::ofstream("credits.txt") << "Tidewander\r\nMade under the sea\n\nThanks\n";
    game->noClear = true;
    GameState& state = enter("credits");
    EndScreens::buildCredits(*game);

    EXPECT_FALSE(game->noClear);
    EXPECT_EQ(state.stateActions, Names { "JUMPSTATE_FALSE:title" });
    ASSERT_EQ(state.sprites.size(), 4u);
    auto* first = dynamic_cast<TextSprite*>(state.sprites[0]);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text, "Tidewander");
    const float lineHeight = static_cast<float>(text_height(font));
    EXPECT_EQ(first->y, 600.0f + 2 * lineHeight);
    for (int step = 0; step < 40; ++step) {
        game->screen->update(0.25f);
        for (size_t i = 1; i < state.sprites.size(); ++i) {
            ASSERT_FLOAT_EQ(state.sprites[i]->y - state.sprites[i - 1]->y, lineHeight) << "step " << step;
        }
    }
    EXPECT_LT(first->y, 600.0f + 2 * lineHeight - 400.0f);
}

TEST_F(EndScreensTest, CreditsWithoutTextStillAnswerTheKey)
{
    for (bool fileThere : { false, true }) {
        if (fileThere) {
            std::ofstream("credits.txt").close();
        }
        GameState& state = enter("credits");
        EndScreens::buildCredits(*game);
        EXPECT_TRUE(state.sprites.empty());
        EXPECT_EQ(state.stateActions, Names { "JUMPSTATE_FALSE:title" });
        game->popState();
    }
}

TEST_F(EndScreensTest, AwardFadesInAndIgnoresKeysWhileLocked)
{
    game->pushState("inGame");
    GameState& state = enter("100%");
    EndScreens::buildHundredPercent(*game);

    ASSERT_EQ(state.sprites.size(), 1u);
    EXPECT_EQ(state.stateActions, Names { "endLevel" });

    // A key let go in the first second and a half keeps the award up.
    game->updateState("100%", 1.4f);
    game->onAction("endLevel", false);
    EXPECT_TRUE(game->isOnStack("100%"));
    game->updateState("100%", 0.2f);
    game->onAction("endLevel", false);
    EXPECT_FALSE(game->isOnStack("100%"));
}

TEST_F(EndScreensTest, EndOfGameShowsTheAwardOnlyForAPerfectGame)
{
    for (int level = 0; level < 50; ++level) {
        game->levelPercent[level] = 100;
    }
    game->levelPercent[73] = 20; // beyond the story: does not count
    GameState& state = enter("eog");
    EndScreens::buildEndOfGame(*game);

    EXPECT_EQ(game->sound->currentMusic, "mus/eog.ogg");
    EXPECT_FLOAT_EQ(game->inputLock, 4.0f);
    EXPECT_EQ(state.stateActions, Names { "JUMPSTATE_FALSE:credits" });
    ASSERT_EQ(state.sprites.size(), 4u);
    const struct {
        int layer;
        float frame, y;
    } expected[] = { { 0, 0, 300 }, { 1, 0, 300 }, { 2, 1, 120 }, { 2, 2, 480 } };
    for (int i = 0; i < 4; ++i) {
        auto* picture = dynamic_cast<AnimatedSprite*>(state.sprites[i]);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->frame, expected[i].frame) << i;
        EXPECT_EQ(picture->y, expected[i].y) << i;
        const auto& layer = picture->screen->layers[expected[i].layer].sprites;
        EXPECT_NE(std::find(layer.begin(), layer.end(), picture), layer.end()) << i;
    }
    game->levelPercent[49] = 99;
    EXPECT_FALSE(EndScreens::allLevelsPerfect(game->levelPercent));
}

} // namespace
