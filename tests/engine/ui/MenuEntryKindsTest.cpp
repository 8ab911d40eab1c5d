#include "engine/core/ActionMap.h"
#include "engine/ui/Menu.h"
#include "engine/ui/MenuKeyBinding.h"
#include "engine/ui/MenuSlider.h"
#include "engine/ui/MenuTextField.h"
#include "engine/ui/MenuToggle.h"

#include "MenuInputTest.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Listener : public ActionMap {
public:
    void onAction(const std::string&, bool) override { }
};

class MenuEntryKindsTest : public MenuInputTest { };

TEST_F(MenuEntryKindsTest, ToggleKeepsItsLabelFormThroughManyFlips)
{
    bool fullscreen = true;
    int changes = 0;
    Menu menu;
    MenuToggle* toggle
        = menu.addToggle("Options", "Fullscreen", "", &fullscreen, "On", "Off", [&] { ++changes; });
    menu.linkTo("Options");
    EXPECT_EQ(toggle->text, "Fullscreen [On]");

    for (int flip = 1; flip <= 7; ++flip) {
        tap(menu, { KEY_ENTER });
        EXPECT_EQ(fullscreen, flip % 2 == 0);
        EXPECT_EQ(toggle->text, fullscreen ? "Fullscreen [On]" : "Fullscreen [Off]");
    }
    EXPECT_EQ(changes, 7);

    // A value changed elsewhere shows at the next update.
    fullscreen = true;
    menu.update(STEP);
    EXPECT_EQ(toggle->text, "Fullscreen [On]");
}

TEST_F(MenuEntryKindsTest, SliderMovesWithHeldKeysAndStaysInRange)
{
    std::vector<int> reported;
    Menu menu;
    MenuSlider* slider = menu.addSlider("Options", "Music", 250, 255, [&](int v) { reported.push_back(v); });
    menu.linkTo("Options");

    key[KEY_RIGHT] = 1;
    for (int i = 0; i < 100; ++i) {
        menu.update(STEP);
    }
    key[KEY_RIGHT] = 0;
    EXPECT_EQ(slider->value, 255);
    ASSERT_FALSE(reported.empty());
    EXPECT_EQ(reported.back(), 255);

    reported.clear();
    menu.update(STEP);
    EXPECT_TRUE(reported.empty()); // nothing held, nothing reported

    slider->value = 3;
    key[KEY_LEFT] = 1;
    menu.update(STEP);
    EXPECT_EQ(slider->value, 1);
    menu.update(STEP);
    EXPECT_EQ(slider->value, 0);
    EXPECT_EQ(reported.back(), 0);
}

TEST_F(MenuEntryKindsTest, SliderFollowsTheMouseOnItsBar)
{
    Menu menu;
    menu.x = 10.0f;
    menu.y = 20.0f;
    int last = -1;
    MenuSlider* slider = menu.addSlider("Options", "SFX", 40, 255, [&](int v) { last = v; });
    menu.linkTo("Options");

    mouse_b = 1;
    mouse_y = 25;
    mouse_x = 10 + 150;
    menu.update(STEP);
    EXPECT_EQ(slider->value, 127); // halfway along the bar
    EXPECT_EQ(last, 127);
    mouse_x = 10 + 90;
    menu.update(STEP);
    EXPECT_EQ(slider->value, 0);
    mouse_x = 10 + 210;
    menu.update(STEP);
    EXPECT_EQ(slider->value, 255);
    // Above the line's band nothing changes.
    mouse_x = 10 + 150;
    mouse_y = 20 - 5;
    menu.update(STEP);
    EXPECT_EQ(slider->value, 255);
}

TEST_F(MenuEntryKindsTest, TextFieldTypesLettersDigitsAndBlanksUpToItsLength)
{
    std::string name;
    Menu menu(false);
    MenuTextField* field = menu.addTextField("CreateNew", "Name:", &name, 20);
    menu.linkTo("CreateNew");

    // Not editing yet: keys are ignored.
    tap(menu, { KEY_Q });
    EXPECT_EQ(name, "");

    tap(menu, { KEY_ENTER });
    ASSERT_TRUE(field->pressed);
    tap(menu, { KEY_B, KEY_O, KEY_B });
    key_shifts = KB_SHIFT_FLAG;
    tap(menu, { KEY_S });
    key_shifts = 0;
    key[KEY_RSHIFT] = 1;
    tap(menu, { KEY_M });
    key[KEY_RSHIFT] = 0;
    // Space types a blank and keeps the field editing.
    tap(menu, { KEY_SPACE, KEY_0, KEY_9, KEY_5 });
    EXPECT_EQ(name, "bobSM 095");
    EXPECT_TRUE(field->pressed);
    EXPECT_EQ(field->text, "Name: bobSM 095");

    // Keys that are neither letters, digits nor blanks type nothing.
    tap(menu, { KEY_MINUS, KEY_SLASH, KEY_STOP, KEY_TAB });
    EXPECT_EQ(name, "bobSM 095");

    for (int i = 0; i < 15; ++i) {
        tap(menu, { KEY_Z });
    }
    EXPECT_EQ(name.size(), 20u);
    tap(menu, { KEY_SPACE });
    EXPECT_EQ(name.size(), 20u);
    tap(menu, { KEY_BACKSPACE });
    EXPECT_EQ(name, "bobSM 095zzzzzzzzzz");

    // A held key types once.
    key[KEY_A] = 1;
    for (int i = 0; i < 20; ++i) {
        menu.update(STEP);
    }
    key[KEY_A] = 0;
    menu.update(STEP);
    EXPECT_EQ(name, "bobSM 095zzzzzzzzzza");

    // Enter ends the editing; Space activates the menu again.
    tap(menu, { KEY_ENTER });
    EXPECT_FALSE(field->pressed);
    tap(menu, { KEY_C });
    EXPECT_EQ(name.size(), 20u);
    tap(menu, { KEY_SPACE });
    EXPECT_TRUE(field->pressed);
}

TEST_F(MenuEntryKindsTest, KeyBindingTakesTheNextKeyOnceItIsLetGo)
{
    Listener player;
    player.bind("fire", KEY_SPACE);
    Menu menu(false);
    MenuKeyBinding* line = menu.addKeyBinding("KeyConfig", "Action", "fire", &player);
    menu.addAction("KeyConfig", "Back", "saveKeyConfig");
    menu.linkTo("KeyConfig");
    EXPECT_EQ(line->text, "Action [Space]");

    tap(menu, { KEY_ENTER });
    ASSERT_TRUE(line->waiting);
    EXPECT_TRUE(menu.navigationLocked);
    EXPECT_TRUE(menu.entriesLocked);

    // Esc is never taken, and the locked menu does not move.
    tap(menu, { KEY_ESC });
    EXPECT_TRUE(line->waiting);

    key[KEY_X] = 1;
    for (int i = 0; i < 5; ++i) {
        menu.update(STEP);
    }
    EXPECT_TRUE(line->waiting); // held: not finished yet
    key[KEY_X] = 0;
    menu.update(STEP);
    EXPECT_FALSE(line->waiting);
    EXPECT_FALSE(menu.navigationLocked);
    EXPECT_FALSE(menu.entriesLocked);
    EXPECT_EQ(player.bindings["fire"], std::vector<int>({ KEY_X }));
    EXPECT_EQ(menu.bindings["activate"], std::vector<int>({ KEY_ENTER, KEY_SPACE }));
    EXPECT_EQ(line->text, "Action [X]");

    // The menu works normally again.
    tap(menu, { KEY_DOWN });
    EXPECT_EQ(menu.selected, 1);
}

TEST_F(MenuEntryKindsTest, KeyBindingDoesNotTakeTheKeyThatStartedTheWait)
{
    Listener player;
    player.bind("up", KEY_UP);
    Menu menu(true);
    MenuKeyBinding* line = menu.addKeyBinding("KeyConfig", "Up", "up", &player);
    menu.linkTo("KeyConfig");

    key[KEY_ENTER] = 1;
    menu.update(STEP);
    ASSERT_TRUE(line->waiting);
    menu.update(STEP);
    key[KEY_ENTER] = 0;
    menu.update(STEP);
    EXPECT_TRUE(line->waiting);

    // Pressed again during the wait, Enter itself may be bound.
    tap(menu, { KEY_ENTER });
    EXPECT_FALSE(line->waiting);
    EXPECT_EQ(player.bindings["up"], std::vector<int>({ KEY_ENTER }));
    EXPECT_EQ(line->text, "Up [Enter]");
}

} // namespace
