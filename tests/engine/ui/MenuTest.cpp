#include "engine/ui/Menu.h"
#include "engine/media/SoundManager.h"
#include "engine/ui/MenuEntry.h"
#include "support/LogLines.h"
#include "support/RecordingAudioDevice.h"
#include "support/ScratchDir.h"

#include "MenuInputTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

class MenuTest : public MenuInputTest {
protected:
    // A menu whose callback records every action it is handed.
    void watch(Menu& menu)
    {
        menu.callback = [this](const std::string& action) { received.push_back(action); };
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

    tap(menu, { KEY_ENTER });
    EXPECT_TRUE(menu.entries[0]->pressed);
    tap(menu, { KEY_DOWN });
    EXPECT_EQ(menu.selected, 1);
    EXPECT_FALSE(menu.entries[0]->pressed);
    tap(menu, { KEY_DOWN });
    EXPECT_EQ(menu.selected, 2);
    tap(menu, { KEY_DOWN });
    EXPECT_EQ(menu.selected, 0);
    tap(menu, { KEY_UP });
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
    tap(menu, { KEY_DOWN });
    EXPECT_EQ(menu.selected, 2);

    // From the line before a disabled last line, "down" rests on it.
    last->enabled = false;
    tap(menu, { KEY_DOWN });
    EXPECT_EQ(menu.selected, 3);
    // An invisible line does nothing when activated.
    tap(menu, { KEY_ENTER });
    EXPECT_TRUE(received.empty());

    // "up" skips the disabled line and stops at index 0 even when disabled.
    tap(menu, { KEY_UP });
    EXPECT_EQ(menu.selected, 2);
    first->enabled = false;
    tap(menu, { KEY_UP });
    EXPECT_EQ(menu.selected, 0);
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

    // "LINKTO:" alone is too short to name a page.
    menu.doAction("LINKTO:");
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], "LINKTO:");
    EXPECT_TRUE(menu.pendingLink.empty());
}

TEST_F(MenuTest, ActivatingOnReleaseWaitsForTheKeyToComeUp)
{
    // Enter still held from the previous screen is no activation.
    key[KEY_ENTER] = 1;
    Menu menu(false);
    watch(menu);
    menu.addAction("Main", "Play!", "start");
    menu.linkTo("Main");

    menu.update(STEP);
    key[KEY_ENTER] = 0;
    menu.update(STEP);
    EXPECT_TRUE(received.empty());

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
    tap(menu, { KEY_DOWN });
    tap(menu, { KEY_UP });
    tap(menu, { KEY_ENTER });

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
    tap(menu, { KEY_DOWN });
    EXPECT_EQ(plays(move), 1);

    tap(menu, { KEY_ENTER });
    tap(menu, { KEY_ENTER });
    EXPECT_EQ(plays(hit), 1);
    sound->update(0.5f);
    tap(menu, { KEY_ENTER });
    EXPECT_EQ(plays(hit), 2);

    sound.reset();
    // Without a sound manager the menu stays silent and works.
    tap(menu, { KEY_DOWN });
    EXPECT_EQ(menu.selected, 0);
}

} // namespace
