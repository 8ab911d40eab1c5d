#include "game/app/LogoController.h"
#include "engine/core/DebugLog.h"
#include "engine/core/Engine.h"
#include "engine/core/GameState.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "support/RecordingAudioDevice.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr float STEP = 0.01f;

// Just enough of the game's handler for the logo: the two jump forms.
class LogoEngine : public Engine {
public:
    void run() override { }
    void onAction(const std::string& action, bool pressed) override
    {
        seen.push_back(action + (pressed ? " down" : " up"));
        if (action.rfind("JUMPSTATE_FALSE:", 0) == 0 && !pressed) {
            jumpState(action.substr(16));
        } else if (action.rfind("JUMPSTATE:", 0) == 0 && pressed) {
            jumpState(action.substr(10));
        }
    }
    std::string top() const { return stateStack.empty() ? "" : stateStack.back()->name; }

    std::vector<std::string> seen;
};

class LogoControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int code = 0; code < KEY_MAX; ++code) {
            key[code] = 0;
        }
        DebugLog::setFatalMode(false);
        engine = std::make_unique<LogoEngine>();
        auto device = std::make_unique<RecordingAudioDevice>();
        calls = device->calls;
        engine->sound = new SoundManager(std::move(device));
        logo = std::make_unique<LogoController>(engine.get());
        engine->registerController(logo.get());
    }

    void TearDown() override
    {
        engine->popAllStates();
        engine.reset();
        for (int code = 0; code < KEY_MAX; ++code) {
            key[code] = 0;
        }
    }

    void frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            engine->update(STEP);
        }
    }

    ScratchDir scratch;
    std::unique_ptr<LogoEngine> engine;
    std::unique_ptr<LogoController> logo;
    std::shared_ptr<std::vector<std::string>> calls;
};

TEST_F(LogoControllerTest, EnteringShowsTheLogoFadingInOutOfBlackWithTheJingle)
{
    // A screen this time, so the fade really runs (half a second).
    engine->screen = new Screen(800, 600, false, true);
    clear_to_color(engine->screen->snapshot, makecol(255, 255, 255));
    engine->jumpState("logo");

    ASSERT_NE(logo->logo, nullptr);
    EXPECT_EQ(logo->logo->x, 400.0f);
    EXPECT_EQ(logo->logo->y, 300.0f);
    EXPECT_EQ(logo->logo->alignment, 1);
    ASSERT_EQ(engine->screen->layers[0].sprites.size(), 1u);
    EXPECT_EQ(engine->screen->layers[0].sprites[0], logo->logo);
    EXPECT_EQ(logo->timeLeft, 5.0f);
    // The fade started from a black frame, not from what the buffer held.
    EXPECT_EQ(getpixel(engine->screen->snapshot, 400, 300), 0);

    EXPECT_EQ(engine->getState("logo")->stateActions, std::vector<std::string> { "JUMPSTATE_FALSE:title" });
    EXPECT_EQ(engine->bindings["JUMPSTATE_FALSE:title"], std::vector<int> { ActionMap::ANY_KEY });

    // The jingle plays once through.
    std::vector<std::string> streams = RecordingAudioDevice::named(*calls, "createStream");
    ASSERT_EQ(streams.size(), 1u);
    EXPECT_EQ(streams[0], "createStream mus/kvl.ogg");
    std::vector<std::string> plays = RecordingAudioDevice::named(*calls, "playStream");
    ASSERT_EQ(plays.size(), 1u);
    EXPECT_EQ(plays[0].back(), '0');
}

TEST_F(LogoControllerTest, TheTimerAsksForTheTitleExactlyOnceAfterFiveSeconds)
{
    engine->jumpState("logo");

    for (int i = 0; i < 499; ++i) {
        logo->update(STEP);
    }
    EXPECT_TRUE(engine->actionQueue.empty());
    logo->update(0.02f);
    EXPECT_EQ(engine->actionQueue, std::deque<std::string> { "JUMPSTATE:title" });
    EXPECT_EQ(logo->timeLeft, 0.0f);
    logo->update(1.0f);
    EXPECT_EQ(engine->actionQueue.size(), 1u);

    // Through the engine: the jump happens in the frame that posted it.
    engine->actionQueue.clear();
    engine->jumpState("logo");
    frames(499);
    EXPECT_EQ(engine->top(), "logo");
    frames(2);
    EXPECT_EQ(engine->top(), "title");
}

TEST_F(LogoControllerTest, AHeldKeyKeepsTheLogoUntilEveryKeyIsUp)
{
    engine->jumpState("logo");
    frames(1);

    key[KEY_A] = 1;
    frames(1);
    key[KEY_B] = 1;
    frames(100);
    key[KEY_A] = 0;
    frames(1);
    EXPECT_EQ(engine->top(), "logo");

    key[KEY_B] = 0;
    frames(1);
    EXPECT_EQ(engine->top(), "title");
    // The logo's key went with its state: another key does nothing more.
    EXPECT_TRUE(engine->bindings.find("JUMPSTATE_FALSE:title") == engine->bindings.end());
    key[KEY_C] = 1;
    frames(600);
    EXPECT_EQ(engine->top(), "title");
    EXPECT_EQ(std::count(engine->seen.begin(), engine->seen.end(), "JUMPSTATE:title down"), 0);
}

} // namespace
