#include "game/app/TitleController.h"
#include "engine/core/DebugLog.h"
#include "engine/core/GameState.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "engine/ui/Menu.h"
#include "engine/ui/MenuEntry.h"
#include "engine/ui/MenuKeyBinding.h"
#include "engine/ui/MenuSlider.h"
#include "engine/ui/MenuTextField.h"
#include "engine/ui/MenuToggle.h"
#include "game/app/Game.h"
#include "game/app/ProgressFile.h"
#include "game/play/Player.h"
#include "support/RecordingAudioDevice.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::pair<std::string, std::string>>;

constexpr float STEP = 0.01f;

void releaseAllInput()
{
    for (int code = 0; code < KEY_MAX; ++code) {
        key[code] = 0;
    }
    key_shifts = 0;
    mouse_b = 0;
    mouse_x = 5000;
    mouse_y = 5000;
}

// A game without a window: an 800 x 600 screen in memory with the game's
// five layers, and a sound manager that records what it plays.
class TitleControllerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        releaseAllInput();
        game = std::make_unique<Game>();
        DebugLog::setFatalMode(false);
        game->screen = new Screen(800, 600, false, true);
        game->screen->layers.resize(5);
        auto device = std::make_unique<RecordingAudioDevice>();
        calls = device->calls;
        game->sound = new SoundManager(std::move(device));
        game->sound->samples["sfx/bubble.ogg"] = 7;
        title = std::make_unique<TitleController>(game.get());
        game->registerController(title.get());
    }

    void TearDown() override
    {
        game->popAllStates();
        game.reset();
        releaseAllInput();
    }

    Menu& menu() { return *game->titleMenu; }

    // Every line of a page: its label and its action.
    Lines page(const std::string& name)
    {
        Lines lines;
        for (MenuEntry* entry : menu().pages[name]) {
            lines.emplace_back(entry->text, entry->action);
        }
        return lines;
    }

    MenuEntry* entry(const std::string& pageName, size_t index) { return menu().pages[pageName].at(index); }

    void frames(int count)
    {
        for (int i = 0; i < count; ++i) {
            game->update(STEP);
        }
    }

    // Press and let go of a key, a frame each.
    void tap(int code)
    {
        key[code] = 1;
        frames(1);
        key[code] = 0;
        frames(1);
    }

    // Shows an options line highlighted, as the arrow keys would.
    void highlightOption(int index)
    {
        menu().linkTo("Options");
        menu().select(index);
    }

    int bubblesPlayed()
    {
        return static_cast<int>(RecordingAudioDevice::named(*calls, "playSample 7").size());
    }

    ScratchDir scratch;
    std::unique_ptr<Game> game;
    std::unique_ptr<TitleController> title;
    std::shared_ptr<std::vector<std::string>> calls;
};

TEST_F(TitleControllerTest, EnteringBuildsTheScreenAroundTheMainPage)
{
    game->jumpState("title");

    ASSERT_NE(game->titleMenu, nullptr);
    Menu& built = menu();
    EXPECT_EQ(built.alignment, 1);
    EXPECT_EQ(built.x, 400.0f);
    EXPECT_EQ(built.y, 225.0f);
    EXPECT_FALSE(built.activateOnPress);
    EXPECT_EQ(built.moveSound, "bubble");
    EXPECT_EQ(built.activateSound, "bubblehit");
    ASSERT_EQ(built.entries.size(), 6u);
    EXPECT_TRUE(built.entries[0]->highlighted);
    // The settling step leaves the highlight's glow where its tween ends.
    EXPECT_EQ(built.entries[0]->glow, 148.0f);

    // Logo parts and menu on top, the seabed behind; the fish is only owned.
    const std::vector<Sprite*>& top = game->screen->layers[4].sprites;
    const std::vector<Sprite*>& back = game->screen->layers[0].sprites;
    ASSERT_EQ(top.size(), 3u);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(std::make_pair(top[0]->x, top[0]->y), std::make_pair(250.0f, 120.0f));
    EXPECT_EQ(std::make_pair(top[1]->x, top[1]->y), std::make_pair(500.0f, 500.0f));
    EXPECT_EQ(top[2], &built);
    EXPECT_EQ(std::make_pair(back[0]->x, back[0]->y), std::make_pair(400.0f, 300.0f));
    ASSERT_NE(game->player, nullptr);
    const std::vector<Sprite*>& owned = game->getState("title")->sprites;
    EXPECT_NE(std::find(owned.begin(), owned.end(), game->player), owned.end());
    EXPECT_EQ(RecordingAudioDevice::named(*calls, "createStream"),
        std::vector<std::string> { "createStream mus/title.ogg" });

    // Leaving forgets what the state deletes; coming back keeps the music.
    game->jumpState("logo");
    EXPECT_EQ(game->titleMenu, nullptr);
    EXPECT_EQ(game->player, nullptr);
    game->jumpState("title");
    EXPECT_NE(game->titleMenu, nullptr);
    EXPECT_EQ(RecordingAudioDevice::named(*calls, "createStream").size(), 1u);
}

TEST_F(TitleControllerTest, EveryPageHoldsItsLabelsAndActions)
{
    game->profiles = { "Ann", "Bo Two" };
    game->settings["resx"] = 800.0f;
    game->waterEffect = true;
    game->newProfileName = "Cy";
    game->jumpState("title");

    EXPECT_EQ(page("Main"),
        (Lines { { "Play!", "start" }, { "Options", "LINKTO:Options" }, { "Profiles", "LINKTO:NewProfile" },
            { "MiniGames", "LINKTO:MiniGames" }, { "Credits", "credits" }, { "Quit", "quit" } }));
    EXPECT_EQ(page("MiniGames"),
        (Lines { { "Shell Game", "LEVEL:1000" }, { "Dorir Go Boom", "LEVEL:1001" },
            { "Dance Dance Dorir", "LEVEL:1002" }, { "Dorir Invaders", "LEVEL:1003" },
            { "Back", "LINKTO:Main" } }));
    EXPECT_EQ(page("BadMiniGame"),
        (Lines { { "Mini Game Locked!", "LINKTO:MiniGames" },
            { "Beat More Levels to Unlock", "LINKTO:MiniGames" } }));
    EXPECT_EQ(page("Options"),
        (Lines { { "Music", "" }, { "SFX", "" }, { "Water Effect [On]", "" }, { "Resolution [High]", "" },
            { "Fullscreen [Off]", "" }, { "Key Config", "LINKTO:KeyConfig" },
            { "Back", "exitOptionsMenu" } }));
    EXPECT_EQ(page("KeyConfig"),
        (Lines { { "Up [Up]", "up" }, { "Down [Down]", "down" }, { "Left [Left]", "left" },
            { "Right [Right]", "right" }, { "Action [Space]", "fire" }, { "Reset", "resetKeyConfig" },
            { "Back", "saveKeyConfig" } }));
    EXPECT_EQ(page("NewProfile"),
        (Lines { { "Ann", "SETPROFILE:Ann" }, { "Bo Two", "SETPROFILE:Bo Two" },
            { "Create New", "LINKTO:CreateNew" }, { "Delete...", "LINKTO:DeleteProfile" },
            { "Back", "LINKTO:Main" } }));
    EXPECT_EQ(page("CreateNew"),
        (Lines { { "Name: Cy", "" }, { "Create", "createNewProfile" }, { "Back", "LINKTO:NewProfile" } }));
    EXPECT_EQ(page("DeleteProfile"),
        (Lines { { "Delete: Ann", "DELPROFILE:Ann" }, { "Delete: Bo Two", "DELPROFILE:Bo Two" },
            { "Back", "LINKTO:NewProfile" } }));

    // What the lines edit.
    EXPECT_NE(dynamic_cast<MenuSlider*>(entry("Options", 1)), nullptr);
    EXPECT_EQ(dynamic_cast<MenuToggle*>(entry("Options", 2))->value, &game->waterEffect);
    EXPECT_EQ(dynamic_cast<MenuToggle*>(entry("Options", 3))->value, &game->highResolution);
    EXPECT_EQ(dynamic_cast<MenuToggle*>(entry("Options", 4))->value, &game->fullscreenOption);
    for (size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(dynamic_cast<MenuKeyBinding*>(entry("KeyConfig", i))->listener,
            static_cast<ActionMap*>(game->player));
    }
    auto* name = dynamic_cast<MenuTextField*>(entry("CreateNew", 0));
    EXPECT_EQ(name->target, &game->newProfileName);
    EXPECT_EQ(name->maxLength, 20);
}

TEST_F(TitleControllerTest, WithoutProfilesOnlyTheFixedLinesRemain)
{
    game->profiles.clear();
    game->jumpState("title");

    EXPECT_EQ(page("NewProfile"),
        (Lines { { "Create New", "LINKTO:CreateNew" }, { "Delete...", "LINKTO:DeleteProfile" },
            { "Back", "LINKTO:Main" } }));
    EXPECT_EQ(page("DeleteProfile"), (Lines { { "Back", "LINKTO:NewProfile" } }));
}

TEST_F(TitleControllerTest, TogglesShowTheDisplayInForce)
{
    // A first start: no "resx" yet, and the window is 800 wide.
    game->settings.erase("resx");
    game->settings["fullscreen"] = 1.0f;
    game->highResolution = false;
    game->fullscreenOption = false;
    game->jumpState("title");

    EXPECT_EQ(entry("Options", 3)->text, "Resolution [High]");
    EXPECT_EQ(entry("Options", 4)->text, "Fullscreen [On]");

    game->settings["fullscreen"] = 0.0f;
    game->highResolution = false;
    frames(1);
    EXPECT_TRUE(game->highResolution);
    EXPECT_FALSE(game->fullscreenOption);
    menu().linkTo("Options");
    frames(1);
    EXPECT_EQ(entry("Options", 4)->text, "Fullscreen [Off]");

    // So the first choice of "Resolution" really switches to the low one.
    highlightOption(3);
    tap(KEY_ENTER);
    EXPECT_EQ(game->screen->width, 640);
}

TEST_F(TitleControllerTest, ResolutionSwitchesTheScreenAndRebuildsTheTitleAtMain)
{
    game->settings["resx"] = 800.0f;
    game->settings["resy"] = 600.0f;
    game->jumpState("title");
    frames(1);
    highlightOption(3);
    tap(KEY_ENTER);

    EXPECT_EQ(game->settings["resx"], 640.0f);
    EXPECT_EQ(game->settings["resy"], 480.0f);
    EXPECT_EQ(game->screen->width, 640);
    EXPECT_EQ(game->screen->height, 480);
    // The title came back at the new size, on its first page.
    ASSERT_NE(game->titleMenu, nullptr);
    EXPECT_EQ(menu().x, 320.0f);
    EXPECT_EQ(menu().y, 165.0f);
    EXPECT_EQ(menu().entries[0]->text, "Play!");
    EXPECT_FALSE(game->highResolution);
    EXPECT_EQ(entry("Options", 3)->text, "Resolution [Low]");

    // And back up; the jump is posted, not made inside the menu.
    game->highResolution = true;
    title->changeResolution();
    EXPECT_EQ(game->settings["resx"], 800.0f);
    EXPECT_EQ(game->settings["resy"], 600.0f);
    EXPECT_EQ(game->screen->width, 800);
    EXPECT_EQ(game->actionQueue, std::deque<std::string> { "JUMPSTATE:title" });
}

TEST_F(TitleControllerTest, FullscreenTheDisplayRefusesLeavesTheWindowShown)
{
    // Without a display driver no mode can be set: the toggle must not claim
    // a full screen that never came.
    game->settings["fullscreen"] = 0.0f;
    game->jumpState("title");
    highlightOption(4);
    tap(KEY_ENTER);
    frames(1);

    EXPECT_FALSE(game->screen->fullscreen);
    EXPECT_EQ(game->settings["fullscreen"], 0.0f);
    EXPECT_FALSE(game->fullscreenOption);
    EXPECT_EQ(entry("Options", 4)->text, "Fullscreen [Off]");
}

TEST_F(TitleControllerTest, SlidersSetTheVolumesAndTheEffectsSliderBubblesTwiceASecond)
{
    game->sound->sfxVolume = 0;
    game->sound->musicVolume = 200.0f;
    game->jumpState("title");
    EXPECT_EQ(dynamic_cast<MenuSlider*>(entry("Options", 0))->value, 200);
    EXPECT_EQ(dynamic_cast<MenuSlider*>(entry("Options", 1))->value, 0);

    highlightOption(0);
    key[KEY_LEFT] = 1;
    frames(50);
    key[KEY_LEFT] = 0;
    EXPECT_EQ(game->sound->musicVolume, 100.0f);
    EXPECT_EQ(bubblesPlayed(), 1); // the highlight moving onto the slider

    highlightOption(1);
    calls->clear();
    std::vector<int> playedAt;
    key[KEY_RIGHT] = 1;
    for (int frame = 0; frame < 200; ++frame) {
        int before = bubblesPlayed();
        frames(1);
        if (bubblesPlayed() > before) {
            playedAt.push_back(frame);
        }
    }
    key[KEY_RIGHT] = 0;

    EXPECT_EQ(game->sound->sfxVolume, 255);
    ASSERT_GE(playedAt.size(), 3u);
    EXPECT_LE(playedAt.size(), 4u);
    EXPECT_EQ(playedAt[0], 0);
    for (size_t i = 1; i < playedAt.size(); ++i) {
        EXPECT_GE(playedAt[i] - playedAt[i - 1], 50);
        EXPECT_LE(playedAt[i] - playedAt[i - 1], 51);
    }
    // Each sample is heard at the level just chosen: full volume by now.
    std::vector<std::string> plays = RecordingAudioDevice::named(*calls, "playSample 7");
    EXPECT_EQ(plays.back(), "playSample 7 -1 100 50 0");
}

} // namespace

TEST_F(TitleControllerTest, TheWaterEffectChoiceIsSavedWithTheProfileAtOnce)
{
    game->currentProfile = "Nemo";
    game->waterEffect = true;
    game->jumpState("title");
    highlightOption(2);
    tap(KEY_ENTER);
    EXPECT_FALSE(game->waterEffect);

    // Quitting now must not lose it: the profile's file already says so.
    ProgressFile saved;
    ASSERT_EQ(ProgressFile::Result::Loaded, saved.load(game->progressPath()));
    EXPECT_FALSE(saved.waterEffect);
}
