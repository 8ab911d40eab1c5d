#include "TestEngine.h"

#include "engine/media/Screen.h"

#include <gtest/gtest.h>

namespace {

using namespace coretest;

class EngineLoopTest : public ::testing::Test {
protected:
    void SetUp() override { releaseAllInput(); }
    void TearDown() override { releaseAllInput(); }
    TestEngine engine;
};

TEST_F(EngineLoopTest, FrameTimeComesFromTicksAndIsCapped)
{
    engine.pushState("play");
    engine.frame(3);
    EXPECT_FLOAT_EQ(engine.lastDt, 0.03f);
    engine.frame(12);
    EXPECT_FLOAT_EQ(engine.lastDt, 0.06666667f);
    engine.timeScale = 0.5f;
    engine.frame(5);
    EXPECT_FLOAT_EQ(engine.lastDt, 0.025f);
    // A slowed-down long frame is capped first, then scaled.
    engine.frame(100);
    EXPECT_FLOAT_EQ(engine.lastDt, 0.033333335f);
}

TEST_F(EngineLoopTest, FrameWithoutTickIsStillUpdatedAndCounted)
{
    engine.pushState("play");
    engine.frame(4);
    float rate = engine.instantFps;
    EXPECT_FLOAT_EQ(rate, 25.0f);
    engine.events.clear();
    engine.frame(0);
    EXPECT_FLOAT_EQ(engine.lastDt, 0.0f);
    EXPECT_EQ(engine.events, std::vector<std::string> { "update play" });
    EXPECT_EQ(engine.framesThisSecond, 2);
    EXPECT_FLOAT_EQ(engine.instantFps, rate);
}

TEST_F(EngineLoopTest, FpsIsSampledOnlyWhenMoreThanASecondPassed)
{
    engine.frame(2);
    engine.frame(2);
    engine.fpsAccumulator = 1.0f; // exactly one second so far
    engine.frame(0);
    EXPECT_EQ(engine.fps, 0);
    EXPECT_EQ(engine.framesThisSecond, 3);
    engine.frame(1);
    EXPECT_EQ(engine.fps, 4);
    EXPECT_EQ(engine.framesThisSecond, 0);
    EXPECT_FLOAT_EQ(engine.fpsAccumulator, 0.0f);

    // 1.2 s of 20 ms frames: one sample of about fifty frames.
    for (int i = 0; i < 60; ++i) {
        engine.frame(2);
    }
    EXPECT_GE(engine.fps, 50);
    EXPECT_LE(engine.fps, 51);
    EXPECT_EQ(engine.fps + engine.framesThisSecond, 60);
}

TEST_F(EngineLoopTest, ResetTimerDropsTicksThatArrivedDuringTheFrame)
{
    engine.updateHook = [this](const std::string&) {
        Engine::tickCount = 7;
        engine.resetTimer = true;
    };
    engine.pushState("play");
    engine.frame(1);
    EXPECT_EQ(Engine::tickCount.load(), 0);
    EXPECT_FALSE(engine.resetTimer);
}

TEST_F(EngineLoopTest, StatesUpdateBottomUpAndNewOnesWaitForTheNextFrame)
{
    RecordingController menu("menu", engine.events);
    engine.registerController(&menu);
    engine.pushState("play");
    engine.pushState("menu");
    bool pushed = false;
    engine.updateHook = [&](const std::string& name) {
        if (name == "play" && !pushed) {
            pushed = true;
            engine.pushState("help");
        }
    };
    engine.events.clear();
    engine.frame(1);
    EXPECT_EQ(
        engine.events, (std::vector<std::string> { "update play", "stateEntered help", "controller menu" }));
    engine.events.clear();
    engine.frame(1);
    EXPECT_EQ(engine.events, (std::vector<std::string> { "update play", "controller menu", "update help" }));
}

TEST_F(EngineLoopTest, StatePoppedDuringTheUpdatePassIsSkipped)
{
    engine.pushState("play");
    engine.pushState("help");
    engine.updateHook = [&](const std::string& name) {
        if (name == "play") {
            engine.popState();
            // A new record in the same frame is not updated either, even if
            // it lands at the popped record's address.
            engine.pushState("help");
        }
    };
    engine.events.clear();
    engine.frame(1);
    EXPECT_EQ(engine.events,
        (std::vector<std::string> { "update play", "stateLeaving help", "stateEntered help" }));
}

TEST_F(EngineLoopTest, PostedActionsArriveAsPressesInTheSameFrame)
{
    engine.pushState("play");
    engine.onActionHook = [&](const std::string& action, bool) {
        if (action == "JUMPSTATE:title") {
            engine.postAction("second");
        }
    };
    engine.updateHook = [&](const std::string&) {
        if (engine.actionQueue.empty() && engine.framesThisSecond == 0) {
            EXPECT_EQ(engine.postAction("JUMPSTATE:title"), 1);
        }
    };
    engine.events.clear();
    engine.frame(1);
    EXPECT_EQ(
        engine.events, (std::vector<std::string> { "update play", "JUMPSTATE:title:down", "second:down" }));
    EXPECT_TRUE(engine.actionQueue.empty());
}

TEST_F(EngineLoopTest, EngineBindingsReachOnActionBeforeStatesUpdate)
{
    engine.pushState("play");
    engine.bind("fire", KEY_SPACE);
    key[KEY_SPACE] = 1;
    engine.events.clear();
    engine.frame(1);
    EXPECT_EQ(engine.events, (std::vector<std::string> { "fire:down", "update play" }));
}

} // namespace

namespace {

using namespace coretest;

int paintedPixels(BITMAP* bitmap)
{
    int count = 0;
    for (int y = 0; y < bitmap->h; ++y) {
        for (int x = 0; x < bitmap->w; ++x) {
            count += getpixel(bitmap, x, y) != 0 ? 1 : 0;
        }
    }
    return count;
}

TEST(EngineDrawing, TextAlignmentsAndNullFonts)
{
    TestEngine engine;
    BITMAP* target = create_bitmap(200, 20);
    ASSERT_NE(target, nullptr);
    const int white = makecol(255, 255, 255);
    for (int align : { 0, 1, 3 }) {
        clear_to_color(target, 0);
        engine.drawText(target, "Tide", 100, 2, white, align);
        EXPECT_GT(paintedPixels(target), 0) << align;
    }
    clear_to_color(target, 0);
    engine.drawText(target, "Tide", 100, 2, white, 2);
    engine.drawText(target, font, "Tide", 300, 2, white); // off the bitmap: clipped
    EXPECT_EQ(paintedPixels(target), 0);
    EXPECT_EQ(engine.textHeight(nullptr), 0);
    EXPECT_EQ(engine.textLength("Tide", nullptr), 0);
    EXPECT_EQ(engine.textLength("Tide", font), text_length(font, "Tide"));
    destroy_bitmap(target);
}

TEST(EngineDrawing, FadeOfNoLengthDrawsTheSceneOnceAndDropsTheWait)
{
    TestEngine engine;
    engine.screen = new Screen(640, 480, false, true);
    clear_to_color(engine.screen->backBuffer, makecol(255, 0, 0));
    engine.fadeIn(0.0f);
    EXPECT_TRUE(engine.resetTimer);
    EXPECT_EQ(getpixel(engine.screen->backBuffer, 10, 10), 0); // cleared and redrawn
    engine.frame(3);
    EXPECT_FALSE(engine.resetTimer);
}

} // namespace
