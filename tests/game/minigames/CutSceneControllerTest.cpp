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

namespace {

// Counts the cross-fades instead of blocking on the wall clock.
class QuietCutScene : public CutSceneController {
public:
    int fades = 0;

protected:
    void fadeIn(float) override { ++fades; }
};

class CutSceneTest : public ::testing::Test {
protected:
    static constexpr float DT = 0.01f;

    void SetUp() override
    {
        DebugLog::setFatalMode(false);
        key[KEY_SPACE] = 0;
        game.screen = new Screen(800, 600, false, true);
        game.screen->layers.resize(5);
        game.registerController(&story);
        game.jumpState("cutScene");
    }
    void TearDown() override { game.popAllStates(); }

    void run(float seconds)
    {
        for (int i = static_cast<int>(seconds / DT + 0.5f); i > 0; --i) {
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
    std::string topState() const { return game.stateStack.back()->name; }

    ScratchDir scratch;
    Game game;
    QuietCutScene story;
};

TEST_F(CutSceneTest, TheFirstLineComesByItselfAfterTwoSecondsAndEarlyKeysAreIgnored)
{
    EXPECT_EQ(game.getState("cutScene")->sprites.size(), 6u);
    EXPECT_EQ(story.captionOne->text, "Once upon a time, deep under the sea...");
    tap();
    run(1.5f);
    tap();
    run(1.97f - 1.54f);
    EXPECT_EQ(story.step, 0);
    run(0.05f);
    EXPECT_EQ(story.step, 1);
    EXPECT_EQ(story.captionOne->text, "PROFESSOR: Dorir, we have a problem...");
    EXPECT_TRUE(story.backdrop->visible && story.scene->visible);

    run(5.0f); // without a key nothing more happens
    EXPECT_EQ(story.step, 1);
    EXPECT_EQ(story.professor->x, 600.0f);
}

TEST_F(CutSceneTest, StepsComeOnReleaseAtMostEveryHalfSecondThenTheMap)
{
    run(2.05f);
    key[KEY_ENTER] = 1;
    run(1.0f);
    EXPECT_EQ(story.step, 1); // held, not yet released
    key[KEY_ENTER] = 0;
    game.update(DT);
    EXPECT_EQ(story.step, 2);
    EXPECT_TRUE(story.hero->moving);
    run(0.3f);
    tap(); // too soon after the step: lost
    EXPECT_EQ(story.step, 2);

    for (int i = 0; i < 14; ++i) {
        run(0.5f);
        tap();
        if (story.step == 3) {
            EXPECT_EQ(story.captionTwo->text, "family treasure!");
        }
    }
    EXPECT_EQ(story.step, 16);
    EXPECT_EQ(story.captionOne->text, "PROF: Good luck Dorir!");
    EXPECT_EQ(story.captionTwo->text, "");
    EXPECT_EQ(story.fades, 17); // on entry and after each step
    EXPECT_EQ(topState(), "cutScene");
    run(0.5f);
    tap();
    EXPECT_EQ(topState(), "levelSelect");

    game.jumpState("cutScene"); // a new viewing starts over
    EXPECT_EQ(story.step, 0);
    EXPECT_EQ(story.startTimer, 2.0f);
    EXPECT_EQ(story.hero->x, -100.0f);
}

} // namespace
