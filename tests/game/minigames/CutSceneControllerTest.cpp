#include "game/minigames/CutSceneController.h"
#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/media/Screen.h"
#include "engine/ui/TextSprite.h"
#include "game/app/Game.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Records the cross-fades instead of blocking on the wall clock.
class QuietCutScene : public CutSceneController {
public:
    std::vector<float> fades;

protected:
    void fadeIn(float seconds) override { fades.push_back(seconds); }
};

void releaseAllKeys()
{
    for (int k = 0; k < KEY_MAX; ++k) {
        key[k] = 0;
    }
}

class CutSceneTest : public ::testing::Test {
protected:
    static constexpr float DT = 0.01f;

    void SetUp() override
    {
        DebugLog::setFatalMode(false);
        releaseAllKeys();
        game.screen = new Screen(800, 600, false, true);
        game.screen->layers.resize(5);
        game.registerController(&story);
        game.jumpState("cutScene");
    }
    void TearDown() override
    {
        releaseAllKeys();
        game.popAllStates();
    }

    // Runs whole frames of the game for the given time.
    void run(float seconds)
    {
        int frames = static_cast<int>(seconds / DT + 0.5f);
        for (int i = 0; i < frames; ++i) {
            game.update(DT);
        }
    }
    // A key down for one frame, then up for one.
    void tap()
    {
        key[KEY_SPACE] = 1;
        game.update(DT);
        key[KEY_SPACE] = 0;
        game.update(DT);
    }
    std::string topState() const { return game.stateStack.empty() ? "" : game.stateStack.back()->name; }
    bool onLayer(Sprite* sprite, int layer) const
    {
        const auto& list = game.screen->layers[static_cast<size_t>(layer)].sprites;
        return std::find(list.begin(), list.end(), sprite) != list.end();
    }

    ScratchDir scratch;
    Game game;
    QuietCutScene story;
};

TEST_F(CutSceneTest, EnteringBuildsTheOpeningPicture)
{
    ASSERT_NE(story.captionOne, nullptr);
    EXPECT_EQ(story.captionOne->text, "Once upon a time, deep under the sea...");
    EXPECT_EQ(story.captionTwo->text, "");
    EXPECT_FALSE(story.backdrop->visible);
    EXPECT_FALSE(story.scene->visible);
    EXPECT_EQ(story.backdrop->y, 300.0f - 160.0f);
    EXPECT_EQ(story.backdrop->clipLeft, -320);
    EXPECT_EQ(story.backdrop->clipBottom, 280);
    EXPECT_EQ(story.professor->x, 900.0f);
    EXPECT_EQ(story.hero->x, -100.0f);
    EXPECT_EQ(story.hero->frame, 2.0f);
    EXPECT_TRUE(onLayer(story.backdrop, 0));
    EXPECT_TRUE(onLayer(story.scene, 1));
    EXPECT_TRUE(onLayer(story.professor, 2));
    EXPECT_TRUE(onLayer(story.hero, 2));
    EXPECT_TRUE(onLayer(story.captionOne, 1));
    EXPECT_EQ(game.getState("cutScene")->sprites.size(), 6u);
    EXPECT_EQ(story.fades, std::vector<float> { 0.5f });
    EXPECT_EQ(story.bindings["next"], std::vector<int> { ActionMap::ANY_KEY });
}

TEST_F(CutSceneTest, TheFirstLineComesByItselfAfterTwoSecondsAndKeysBeforeAreIgnored)
{
    tap();
    run(1.5f);
    tap();
    EXPECT_EQ(story.step, 0);
    run(1.97f - 4 * DT - 1.5f);
    EXPECT_EQ(story.step, 0);
    run(0.05f);
    EXPECT_EQ(story.step, 1);
    EXPECT_EQ(story.captionOne->text, "PROFESSOR: Dorir, we have a problem...");
    EXPECT_EQ(story.captionOne->y, 440.0f);
    EXPECT_EQ(story.captionTwo->y, 460.0f);
    EXPECT_TRUE(story.backdrop->visible);
    EXPECT_TRUE(story.scene->visible);
    EXPECT_TRUE(story.professor->moving);
    EXPECT_FALSE(story.hero->moving);

    // Without a key nothing more happens.
    run(5.0f);
    EXPECT_EQ(story.step, 1);
    EXPECT_EQ(story.professor->x, 600.0f);
}

TEST_F(CutSceneTest, StepsComeAtMostEveryHalfSecondAndOnReleaseOnly)
{
    run(2.05f);
    ASSERT_EQ(story.step, 1);
    run(0.5f);

    key[KEY_ENTER] = 1;
    run(0.3f);
    EXPECT_EQ(story.step, 1); // held, not yet released
    key[KEY_ENTER] = 0;
    game.update(DT);
    EXPECT_EQ(story.step, 2);
    EXPECT_EQ(story.captionOne->text, "DORIR: What is it Professor?");
    EXPECT_TRUE(story.hero->moving);

    // A release 0.3 s after the step is too soon, and is lost.
    run(0.25f);
    tap();
    EXPECT_EQ(story.step, 2);
    run(0.3f);
    tap();
    EXPECT_EQ(story.step, 3);
    EXPECT_EQ(story.captionOne->text, "PROF: A shark has run off with our");
    EXPECT_EQ(story.captionTwo->text, "family treasure!");
    run(0.6f);
    tap();
    EXPECT_EQ(story.step, 4);
    EXPECT_EQ(story.captionTwo->text, ""); // a one-line step empties line two
}

TEST_F(CutSceneTest, SixteenLinesThenTheMap)
{
    run(2.05f);
    std::vector<std::string> seen { story.captionOne->text };
    for (int i = 0; i < 15; ++i) {
        run(0.5f);
        tap();
        seen.push_back(story.captionOne->text);
    }
    EXPECT_EQ(story.step, 16);
    EXPECT_EQ(seen.back(), "PROF: Good luck Dorir!");
    EXPECT_EQ(seen[13], "PROF: If you need help at any time,");
    EXPECT_EQ(CutSceneController::lineTwo(14), "press F1 to contact me!");
    EXPECT_EQ(CutSceneController::lineTwo(11), "able to get past whatever is out there.");
    EXPECT_EQ(topState(), "cutScene");
    // One 0.5 s fade on entry, 0.2 s after each of the sixteen steps.
    EXPECT_EQ(story.fades.size(), 17u);
    EXPECT_EQ(story.fades.back(), 0.2f);

    run(0.5f);
    tap();
    EXPECT_EQ(topState(), "levelSelect");
    EXPECT_EQ(story.captionOne, nullptr);
    EXPECT_TRUE(story.bindings.empty());
}

TEST_F(CutSceneTest, EnteringAgainStartsTheStoryOver)
{
    run(2.05f);
    run(0.5f);
    tap();
    ASSERT_EQ(story.step, 2);
    game.jumpState("cutScene");
    EXPECT_EQ(story.step, 0);
    EXPECT_EQ(story.startTimer, 2.0f);
    EXPECT_EQ(story.captionOne->text, "Once upon a time, deep under the sea...");
    EXPECT_EQ(story.hero->x, -100.0f);
}

} // namespace
