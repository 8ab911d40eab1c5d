#include "game/app/EndScreens.h"

#include "engine/core/ActionMap.h"
#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/media/DatafileManager.h"
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
#include <vector>

namespace {

class EndScreensTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        game = std::make_unique<Game>();
        DebugLog::setFatalMode(false);
        game->screen = new Screen(800, 600, false, true);
        game->screen->layers.resize(5);
        game->sound = new SoundManager(std::make_unique<RecordingAudioDevice>());
        DatafileManager::setDirectory("dat/");
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
    EXPECT_EQ(game->bindings["JUMPSTATE_FALSE:title"], std::vector<int> { ActionMap::ANY_KEY });
    ASSERT_EQ(state.sprites.size(), 4u);
    auto* first = dynamic_cast<TextSprite*>(state.sprites[0]);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text, "Tidewander");
    EXPECT_EQ(first->alignment, 1);
    const float lineHeight = static_cast<float>(text_height(font));
    EXPECT_EQ(first->y, 600.0f + 2 * lineHeight);

    for (int step = 0; step < 40; ++step) {
        game->screen->update(0.25f);
        for (size_t i = 1; i < state.sprites.size(); ++i) {
            ASSERT_FLOAT_EQ(state.sprites[i]->y - state.sprites[i - 1]->y, lineHeight) << "step " << step;
        }
    }
    EXPECT_LT(first->y, 600.0f + 2 * lineHeight - 400.0f);
    EXPECT_EQ(first->x, 400.0f);
}

TEST_F(EndScreensTest, CreditsWithoutTextStillAnswerTheKey)
{
    GameState& missing = enter("credits");
    EndScreens::buildCredits(*game);
    EXPECT_TRUE(missing.sprites.empty());
    EXPECT_EQ(missing.stateActions, std::vector<std::string> { "JUMPSTATE_FALSE:title" });
    game->popState();

    std::ofstream("credits.txt").close();
    GameState& empty = enter("credits");
    EndScreens::buildCredits(*game);
    EXPECT_TRUE(empty.sprites.empty());
    EXPECT_EQ(empty.stateActions, std::vector<std::string> { "JUMPSTATE_FALSE:title" });
}

TEST_F(EndScreensTest, AwardFadesInAndIgnoresKeysWhileLocked)
{
    game->pushState("inGame");
    GameState& state = enter("100%");
    EndScreens::buildHundredPercent(*game);

    ASSERT_EQ(state.sprites.size(), 1u);
    Sprite* award = state.sprites[0];
    EXPECT_EQ(award->alpha, 0.0f);
    EXPECT_EQ(award->x, 400.0f);
    award->update(0.5f);
    EXPECT_EQ(award->alpha, 255.0f);
    EXPECT_EQ(game->bindings["endLevel"], std::vector<int> { ActionMap::ANY_KEY });
    EXPECT_FLOAT_EQ(game->inputLock, 1.5f);

    // A key let go during the first moments keeps the award up.
    game->onAction("endLevel", false);
    EXPECT_TRUE(game->isOnStack("100%"));
    game->updateState("100%", 1.0f);
    game->onAction("endLevel", false);
    EXPECT_TRUE(game->isOnStack("100%"));
    game->updateState("100%", 1.0f);
    EXPECT_EQ(game->inputLock, 0.0f);
    game->onAction("endLevel", false);
    EXPECT_FALSE(game->isOnStack("100%"));
}

TEST(EndOfGameAward, NeedsEveryStoryLevelAtExactlyHundred)
{
    std::map<int, int> percent;
    for (int level = 0; level < 50; ++level) {
        percent[level] = 100;
    }
    percent[73] = 20; // mini-game and unused slots do not count
    EXPECT_TRUE(EndScreens::allLevelsPerfect(percent));
    percent[49] = 99;
    EXPECT_FALSE(EndScreens::allLevelsPerfect(percent));
    percent.erase(49);
    EXPECT_FALSE(EndScreens::allLevelsPerfect(percent));
}

TEST_F(EndScreensTest, EndOfGameShowsTheAwardOnlyForAPerfectGame)
{
    for (int level = 0; level < 50; ++level) {
        game->levelPercent[level] = 100;
    }
    GameState& state = enter("eog");
    EndScreens::buildEndOfGame(*game);

    EXPECT_EQ(game->sound->currentMusic, "mus/eog.ogg");
    EXPECT_FLOAT_EQ(game->inputLock, 4.0f);
    EXPECT_EQ(state.stateActions, std::vector<std::string> { "JUMPSTATE_FALSE:credits" });
    ASSERT_EQ(state.sprites.size(), 4u);
    struct Expected {
        int layer;
        float frame, y;
    };
    const Expected expected[] = { { 0, 0, 300 }, { 1, 0, 300 }, { 2, 1, 120 }, { 2, 2, 480 } };
    for (int i = 0; i < 4; ++i) {
        auto* picture = dynamic_cast<AnimatedSprite*>(state.sprites[i]);
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->frame, expected[i].frame) << i;
        EXPECT_EQ(picture->y, expected[i].y) << i;
        EXPECT_EQ(picture->x, 400.0f) << i;
        const auto& layer = game->screen->layers[expected[i].layer].sprites;
        EXPECT_NE(std::find(layer.begin(), layer.end(), picture), layer.end()) << i;
    }
}

} // namespace
