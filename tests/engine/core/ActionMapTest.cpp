#include "TestEngine.h"

#include "support/ScratchDir.h"
#include "support/TextFiles.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

using namespace coretest;

// An action map on its own, recording the edges it delivers.
class RecordingMap : public ActionMap {
public:
    void onAction(const std::string& action, bool pressed) override
    {
        edges.push_back(action + (pressed ? ":down" : ":up"));
        if (hook) {
            hook(action, pressed);
        }
    }
    std::vector<std::string> edges;
    std::function<void(const std::string&, bool)> hook;
};

using Edges = std::vector<std::string>;

class ActionMapTest : public ::testing::Test {
protected:
    void SetUp() override { releaseAllInput(); }
    void TearDown() override { releaseAllInput(); }
    RecordingMap map;
};

TEST_F(ActionMapTest, KeyHeldWhileBindingGivesOnlyTheRelease)
{
    key[KEY_LEFT] = 1;
    map.bind("left", KEY_LEFT);
    map.update(0.01f);
    EXPECT_TRUE(map.edges.empty());
    EXPECT_TRUE(map.isHeld("left"));
    key[KEY_LEFT] = 0;
    map.update(0.01f);
    EXPECT_EQ(map.edges, Edges { "left:up" });
    EXPECT_FALSE(map.isHeld("left"));
}

TEST_F(ActionMapTest, SharedCodeOnlyReachesTheFirstNameInOrder)
{
    map.bind("zoom", KEY_Z);
    map.bind("attack", KEY_Z);
    map.bind("attack", KEY_X);
    key[KEY_Z] = 1;
    map.update(0.01f);
    key[KEY_Z] = 0;
    key[KEY_X] = 1;
    map.update(0.01f);
    EXPECT_EQ(map.edges, (Edges { "attack:down", "attack:up", "attack:down" }));
    // Both report held through the one shared state.
    key[KEY_Z] = 1;
    map.update(0.01f);
    EXPECT_TRUE(map.isHeld("zoom"));
}

TEST_F(ActionMapTest, AnyKeyPressesOnFirstKeyAndReleasesWhenAllAreUp)
{
    map.bind("start", ActionMap::ANY_KEY);
    key[KEY_A] = 1;
    map.update(0.01f);
    key[KEY_SPACE] = 1;
    map.update(0.01f);
    key[KEY_A] = 0;
    map.update(0.01f);
    EXPECT_EQ(map.edges, Edges { "start:down" });
    key[KEY_SPACE] = 0;
    map.update(0.01f);
    EXPECT_EQ(map.edges, (Edges { "start:down", "start:up" }));
    // Codes past the key range do not count as keys.
    key[ActionMap::KEY_CODES] = 1;
    map.update(0.01f);
    EXPECT_EQ(map.edges.size(), 2u);
}

TEST_F(ActionMapTest, MouseCodesAreButtonMasks)
{
    map.bind("click", -1);
    map.bind("menu", -2);
    map.bind("wheel", -4);
    mouse_b = 2;
    map.update(0.01f);
    mouse_b = 5;
    map.update(0.01f);
    EXPECT_EQ(map.edges, (Edges { "menu:down", "click:down", "menu:up", "wheel:down" }));
    EXPECT_FALSE(ActionMap::isInputDown(-2147483647 - 1));
}

TEST_F(ActionMapTest, JoystickCodesAreQuietWithoutAJoystick)
{
    ASSERT_EQ(num_joysticks, 0);
    map.bindJoystickButton("jump", 0);
    map.bindJoystickDirection("left", 0);
    EXPECT_TRUE(map.bindings.empty());
    map.bind("jump", ActionMap::JOY_BUTTON + 3);
    map.bind("up", ActionMap::JOY_DIRECTION + 2);
    map.bind("nothing", 500);
    map.update(0.01f);
    EXPECT_TRUE(map.edges.empty());
}

TEST_F(ActionMapTest, RemovingBindingsInAHandlerEndsThePass)
{
    map.bind("a", KEY_A);
    map.bind("b", KEY_B);
    map.hook = [&](const std::string& action, bool) {
        if (action == "a") {
            map.unbind("a");
        }
    };
    key[KEY_A] = 1;
    key[KEY_B] = 1;
    map.update(0.01f);
    EXPECT_EQ(map.edges, Edges { "a:down" });
    EXPECT_FALSE(map.bindingsChanged);
    map.update(0.01f);
    EXPECT_EQ(map.edges, (Edges { "a:down", "b:down" }));

    map.hook = [&](const std::string&, bool) { map.clearBindings(); };
    map.bind("c", KEY_C);
    map.bind("d", KEY_D);
    key[KEY_C] = 1;
    key[KEY_D] = 1;
    map.update(0.01f);
    EXPECT_EQ(map.edges.back(), "c:down");
    EXPECT_TRUE(map.bindings.empty());
    EXPECT_TRUE(map.inputStates.empty());
}

TEST_F(ActionMapTest, BindingMoreCodesInAHandlerIsSafe)
{
    map.bind("grow", KEY_G);
    map.hook = [&](const std::string&, bool pressed) {
        if (pressed) {
            for (int i = 0; i < 100; ++i) {
                map.bind("grow", KEY_H);
            }
        }
    };
    key[KEY_G] = 1;
    map.update(0.01f);
    EXPECT_EQ(map.edges, Edges { "grow:down" });
    EXPECT_EQ(map.bindings["grow"].size(), 101u);
}

TEST_F(ActionMapTest, FirstCodeAndKeyNames)
{
    map.bind("up", KEY_UP);
    map.bind("up", KEY_W);
    EXPECT_EQ(map.firstCode("up"), KEY_UP);
    EXPECT_EQ(map.firstCode("down"), -1);
    EXPECT_EQ(ActionMap::keyName(KEY_A), "A");
    EXPECT_EQ(ActionMap::keyName(KEY_Z), "Z");
    EXPECT_EQ(ActionMap::keyName(KEY_BACKSPACE), "Bckspc");
    EXPECT_EQ(ActionMap::keyName(KEY_DOWN), "Down");
    EXPECT_EQ(ActionMap::keyName(KEY_ESC), "59");
    EXPECT_EQ(ActionMap::keyName(9001), "9001");
}

TEST_F(ActionMapTest, BindingsFileHasOneLinePerActionInNameOrder)
{
    ScratchDir dir;
    map.bind("up", KEY_UP);
    map.bind("up", ActionMap::JOY_DIRECTION + 2);
    map.bind("fire", KEY_SPACE);
    map.bind("idle", KEY_I);
    map.bindings["idle"].clear();
    EXPECT_TRUE(map.saveBindings("keys.cfg"));
    EXPECT_EQ(readFile("keys.cfg"), "fire 1 75 \nidle 0 \nup 2 84 8002 \n");

    RecordingMap other;
    other.bind("up", KEY_W);
    other.bind("fire", KEY_F);
    other.bind("fire", KEY_G);
    other.bind("jump", KEY_J);
    other.loadBindings("keys.cfg");
    EXPECT_EQ(other.bindings["up"], (std::vector<int> { 84, 8002 }));
    EXPECT_EQ(other.bindings["fire"], (std::vector<int> { 75 }));
    EXPECT_EQ(other.bindings["jump"], (std::vector<int> { KEY_J }));
    EXPECT_EQ(other.bindings.count("idle"), 0u);
}

TEST_F(ActionMapTest, LoadedCountReplacesTheWholeSequence)
{
    ScratchDir dir;
    writeFile("keys.cfg", "menu 3 84 75 67\nunknown 2 1 2 \n  fire\t1\n\n 9 ");
    map.bind("menu", KEY_M);
    map.bind("fire", KEY_F);
    map.bind("fire", KEY_G);
    map.loadBindings("keys.cfg");
    EXPECT_EQ(map.bindings["menu"], (std::vector<int> { 84, 75, 67 }));
    EXPECT_EQ(map.bindings["fire"], (std::vector<int> { 9 }));
    EXPECT_EQ(map.bindings.count("unknown"), 0u);

    map.loadBindings("missing.cfg"); // nothing to read: nothing changes
    EXPECT_EQ(map.bindings["fire"], (std::vector<int> { 9 }));
}

TEST_F(ActionMapTest, DamagedBindingsFilesStopAtTheBadLine)
{
    ScratchDir dir;
    struct Case {
        const char* text;
        std::vector<int> fire;
    };
    const Case cases[] = {
        { "fire 1 10 \nup -1 \nfire 1 20 \n", { 10 } },
        { "fire 1 10 \nup 65 1 2 3 \nfire 1 20 \n", { 10 } },
        { "up 4000000000 \nfire 1 20 \n", { KEY_F } },
        { "up 2147483647 \nfire 1 20 \n", { KEY_F } },
        { "fire 3 10 20", { KEY_F } },
        { "fire abc 1 \n", { KEY_F } },
        { "fire 2 10 zz \n", { KEY_F } },
        { "\x01\xff\xfe garbage fire 1 30", { KEY_F } },
        { "fire 64 1 2 3\n", { KEY_F } },
    };
    for (const Case& c : cases) {
        RecordingMap keys;
        keys.bind("fire", KEY_F);
        keys.bind("up", KEY_UP);
        writeFile("keys.cfg", c.text);
        keys.loadBindings("keys.cfg");
        EXPECT_EQ(keys.bindings["fire"], c.fire) << c.text;
        EXPECT_EQ(keys.bindings["up"], std::vector<int> { KEY_UP }) << c.text;
    }

    // A full 64 codes is still a sound line.
    std::string line = "fire 64";
    for (int i = 0; i < 64; ++i) {
        line += " " + std::to_string(i);
    }
    writeFile("keys.cfg", line + "\n");
    RecordingMap keys;
    keys.bind("fire", KEY_F);
    keys.loadBindings("keys.cfg");
    EXPECT_EQ(keys.bindings["fire"].size(), 64u);
}

TEST_F(ActionMapTest, LoadedCodesStartOutReleased)
{
    ScratchDir dir;
    writeFile("keys.cfg", "fire 1 75 \n");
    key[KEY_SPACE] = 1;
    map.bind("fire", KEY_F);
    map.loadBindings("keys.cfg");
    map.update(0.01f);
    EXPECT_EQ(map.edges, Edges { "fire:down" });
}

} // namespace
