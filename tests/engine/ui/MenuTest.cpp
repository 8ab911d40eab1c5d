#include "engine/ui/Menu.h"
#include "engine/media/SoundManager.h"
#include "engine/ui/MenuEntry.h"
#include "support/LogLines.h"
#include "support/RecordingAudioDevice.h"
#include "support/ScratchDir.h"

#include "MenuInput.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr float STEP = 0.01f;

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override { resetMenuInput(); }
    void TearDown() override { resetMenuInput(); }

    // A menu whose callback records every action it is handed.
    void watch(Menu& menu)
    {
        menu.callback = [this](const std::string& action) { received.push_back(action); };
    }

    static void tap(Menu& menu, int code)
    {
        key[code] = 1;
        menu.update(STEP);
        key[code] = 0;
        menu.update(STEP);
    }

    std::vector<std::string> received;
};

TEST_F(MenuTest, UpAndDownWrapRoundThePage)
{
    Menu menu;
    menu.addAction("Main", "Play!", "start");
    menu.addAction("Main", "Options", "LINKTO:Options");
    menu.addAction("Main", "Quit", "quit");
    menu.linkTo("Main");
    ASSERT_EQ(menu.entries.size(), 3u);
    EXPECT_EQ(menu.selected, 0);
    EXPECT_EQ(menu.children.size(), 3u);

    tap(menu, KEY_DOWN);
    EXPECT_EQ(menu.selected, 1);
    tap(menu, KEY_DOWN);
    EXPECT_EQ(menu.selected, 2);
    tap(menu, KEY_DOWN);
    EXPECT_EQ(menu.selected, 0);
    tap(menu, KEY_UP);
    EXPECT_EQ(menu.selected, 2);

    // Only the selected line keeps the highlight.
    EXPECT_TRUE(menu.entries[2]->highlighted);
    EXPECT_FALSE(menu.entries[0]->highlighted);
    EXPECT_FALSE(menu.entries[1]->highlighted);
}

TEST_F(MenuTest, SearchSkipsDisabledLinesButStopsAtTheEnds)
{
    Menu menu;
    MenuEntry* first = menu.addAction("Main", "One", "one");
    MenuEntry* middle = menu.addAction("Main", "Two", "two");
    menu.addAction("Main", "Three", "three");
    MenuEntry* last = menu.addAction("Main", "Four", "four");
    menu.linkTo("Main");
    watch(menu);

    middle->enabled = false;
    tap(menu, KEY_DOWN);
    EXPECT_EQ(menu.selected, 2);

    // From the line before a disabled last line, "down" rests on it.
    last->enabled = false;
    tap(menu, KEY_DOWN);
    EXPECT_EQ(menu.selected, 3);
    // An invisible line does nothing when activated.
    tap(menu, KEY_ENTER);
    EXPECT_TRUE(received.empty());

    // "up" skips the disabled line and stops at index 0 even when disabled.
    tap(menu, KEY_UP);
    EXPECT_EQ(menu.selected, 2);
    first->enabled = false;
    tap(menu, KEY_UP);
    EXPECT_EQ(menu.selected, 0);
}

TEST_F(MenuTest, MovingClearsThePressedStateOfTheLineLeft)
{
    Menu menu;
    menu.addAction("Main", "One", "one");
    menu.addAction("Main", "Two", "two");
    menu.linkTo("Main");
    tap(menu, KEY_ENTER);
    EXPECT_TRUE(menu.entries[0]->pressed);
    tap(menu, KEY_DOWN);
    EXPECT_FALSE(menu.entries[0]->pressed);
}

TEST_F(MenuTest, LinkSwitchesPagesAtTheNextUpdate)
{
    Menu menu;
    watch(menu);
    menu.addAction("Main", "Options", "LINKTO:Options");
    menu.addAction("Options", "Music", "music");
    menu.addAction("Options", "Back", "LINKTO:Main");
    menu.linkTo("Main");

    key[KEY_ENTER] = 1;
    menu.update(STEP);
    // Handled during the key dispatch: still on the old page.
    EXPECT_EQ(menu.pendingLink, "Options");
    ASSERT_EQ(menu.entries.size(), 1u);
    EXPECT_EQ(menu.entries[0]->text, "Options");

    key[KEY_ENTER] = 0;
    menu.update(STEP);
    EXPECT_TRUE(menu.pendingLink.empty());
    ASSERT_EQ(menu.entries.size(), 2u);
    EXPECT_EQ(menu.entries[1]->text, "Back");
    EXPECT_EQ(menu.selected, 0);
    EXPECT_EQ(menu.children.size(), 2u);
    EXPECT_TRUE(received.empty());
}

TEST_F(MenuTest, ABareLinkPrefixGoesToTheCallback)
{
    Menu menu;
    watch(menu);
    menu.doAction("LINKTO:");
    menu.doAction("LINKTO:X");
    menu.doAction("JUMPSTATE:title");
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[0], "LINKTO:");
    EXPECT_EQ(received[1], "JUMPSTATE:title");
    EXPECT_EQ(menu.pendingLink, "X");
}

TEST_F(MenuTest, ActivatingOnReleaseWaitsForTheKeyToComeUp)
{
    Menu menu(false);
    watch(menu);
    menu.addAction("Main", "Play!", "start");
    menu.linkTo("Main");

    key[KEY_SPACE] = 1;
    for (int i = 0; i < 10; ++i) {
        menu.update(STEP);
    }
    EXPECT_TRUE(received.empty());
    key[KEY_SPACE] = 0;
    menu.update(STEP);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], "start");
}

TEST_F(MenuTest, AKeyHeldFromThePreviousScreenDoesNotActivateOnRelease)
{
    key[KEY_ENTER] = 1;
    Menu menu(false);
    watch(menu);
    menu.addAction("Main", "Play!", "start");
    menu.linkTo("Main");
    menu.update(STEP);
    key[KEY_ENTER] = 0;
    menu.update(STEP);
    EXPECT_TRUE(received.empty());

    tap(menu, KEY_ENTER);
    EXPECT_EQ(received.size(), 1u);
}

TEST_F(MenuTest, LockedNavigationIgnoresTheKeys)
{
    Menu menu;
    watch(menu);
    menu.addAction("Main", "One", "one");
    menu.addAction("Main", "Two", "two");
    menu.linkTo("Main");
    menu.navigationLocked = true;
    tap(menu, KEY_DOWN);
    tap(menu, KEY_ENTER);
    EXPECT_EQ(menu.selected, 0);
    EXPECT_TRUE(received.empty());
}

TEST_F(MenuTest, HighlightGlowSettlesAtItsTargets)
{
    Menu menu;
    menu.addAction("Main", "One", "one");
    menu.addAction("Main", "Two", "two");
    menu.linkTo("Main");
    // Entries start highlighted at 100; the first pass dims all but one.
    for (int i = 0; i < 30; ++i) {
        menu.update(STEP);
    }
    EXPECT_FLOAT_EQ(menu.entries[0]->glow, 148.0f);
    EXPECT_FLOAT_EQ(menu.entries[1]->glow, 0.0f);
}

TEST_F(MenuTest, MouseHoverSelectsAndAClickActivates)
{
    Menu menu;
    watch(menu);
    menu.x = 100.0f;
    menu.y = 50.0f;
    menu.addAction("Main", "Alpha", "alpha");
    MenuEntry* beta = menu.addAction("Main", "Beta", "beta");
    menu.linkTo("Main");
    int lineHeight = beta->lineHeight();
    ASSERT_GT(lineHeight, 0);

    mouse_x = 102;
    mouse_y = 50 + lineHeight + 1;
    menu.update(STEP); // notices the pointer moved
    menu.update(STEP); // the entry under it takes the highlight
    EXPECT_EQ(menu.selected, 1);
    // Entries are moved back after their update.
    EXPECT_FLOAT_EQ(beta->x, 0.0f);

    mouse_b = 1;
    menu.update(STEP);
    EXPECT_TRUE(beta->mouseDown);
    EXPECT_TRUE(received.empty());
    mouse_b = 0;
    menu.update(STEP);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], "beta");
    EXPECT_FALSE(beta->pressed);

    // Letting go away from the line cancels the click.
    mouse_b = 1;
    menu.update(STEP);
    mouse_x = 1000;
    mouse_b = 0;
    menu.update(STEP);
    EXPECT_EQ(received.size(), 1u);
    EXPECT_FALSE(beta->mouseDown);
}

TEST_F(MenuTest, TheMouseUsesHitWidthAndIgnoresLockedEntries)
{
    Menu menu;
    watch(menu);
    menu.addAction("Main", "A", "a");
    menu.addAction("Main", "B", "b");
    menu.linkTo("Main");
    int lineHeight = menu.entries[0]->lineHeight();

    // Far right of the short label "B", but inside a wide hit width.
    mouse_x = 150;
    mouse_y = lineHeight + 1;
    menu.entriesLocked = true;
    menu.update(STEP);
    menu.hitWidth = 200;
    menu.update(STEP);
    EXPECT_EQ(menu.selected, 0);
    menu.entriesLocked = false;
    mouse_x = 151;
    menu.update(STEP);
    menu.update(STEP);
    EXPECT_EQ(menu.selected, 1);
}

TEST_F(MenuTest, ErrorsAreReportedAndLeaveAnEmptyMenu)
{
    startFreshLog();
    Menu menu;
    menu.addAction("Main", "One", "one");
    menu.linkTo("Main");
    menu.linkTo("Nowhere");
    EXPECT_TRUE(menu.entries.empty());
    EXPECT_TRUE(menu.children.empty());
    // Keys on an empty page are harmless.
    tap(menu, KEY_DOWN);
    tap(menu, KEY_UP);
    tap(menu, KEY_ENTER);

    MenuEntry lonely;
    lonely.text = "Lonely";
    lonely.update(STEP);

    EXPECT_TRUE(logHas("Tried to link to non-existant menu [Nowhere]"));
    EXPECT_TRUE(logHas("MenuEntry [Lonely] doesn't have a menu pointer"));
}

TEST_F(MenuTest, MovesSoundExceptOnArrivalAndActivationSoundIsThrottled)
{
    ScratchDir scratch;
    std::filesystem::create_directory("sfx");
    std::ofstream("sfx/bubble.ogg") << "x";
    std::ofstream("sfx/bubblehit.ogg") << "x";
    auto device = std::make_unique<RecordingAudioDevice>();
    auto calls = device->calls;
    auto sound = std::make_unique<SoundManager>(std::move(device));
    sound->loadSamples("sfx/", ".ogg");
    unsigned move = sound->samples.at("sfx/bubble.ogg");
    unsigned hit = sound->samples.at("sfx/bubblehit.ogg");
    auto plays = [&](unsigned sample) {
        int count = 0;
        for (const std::string& call : RecordingAudioDevice::named(*calls, "playSample")) {
            count += call.rfind("playSample " + std::to_string(sample) + " ", 0) == 0 ? 1 : 0;
        }
        return count;
    };

    Menu menu;
    menu.moveSound = "bubble";
    menu.activateSound = "bubblehit";
    menu.addAction("Main", "One", "one");
    menu.addAction("Main", "Two", "two");
    menu.linkTo("Main");
    EXPECT_EQ(plays(move), 0);
    tap(menu, KEY_DOWN);
    EXPECT_EQ(plays(move), 1);

    tap(menu, KEY_ENTER);
    tap(menu, KEY_ENTER);
    EXPECT_EQ(plays(hit), 1);
    sound->update(0.5f);
    tap(menu, KEY_ENTER);
    EXPECT_EQ(plays(hit), 2);

    sound.reset();
    // Without a sound manager the menu stays silent and works.
    tap(menu, KEY_DOWN);
    EXPECT_EQ(menu.selected, 0);
}

TEST_F(MenuTest, EntriesAreLaidOutOneLineApart)
{
    Menu menu;
    menu.alignment = 1;
    menu.lineSpacing = 2;
    MenuEntry* a = menu.addAction("Main", "One", "one");
    MenuEntry* b = menu.addAction("Main", "Two", "two");
    MenuEntry* other = menu.addAction("Other", "Three", "three");
    EXPECT_FLOAT_EQ(a->y, 0.0f);
    EXPECT_FLOAT_EQ(b->y, static_cast<float>(a->lineHeight() + 2));
    EXPECT_FLOAT_EQ(other->y, 0.0f);
    EXPECT_EQ(b->alignment, 1);
    EXPECT_EQ(b->menu, &menu);
}

} // namespace
