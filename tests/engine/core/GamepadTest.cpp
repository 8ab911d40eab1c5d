#include "engine/core/Gamepad.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

void releaseKeys()
{
    for (int code = 0; code < KEY_MAX; ++code) {
        key[code] = 0;
    }
}

// A pad with a left stick, a d-pad (a second stick) and eight buttons,
// written straight into Allegro's joystick state.
class GamepadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::memset(&joy[0], 0, sizeof joy[0]);
        joy[0].num_sticks = 2;
        joy[0].stick[0].num_axis = 2;
        joy[0].stick[1].num_axis = 2;
        joy[0].num_buttons = 8;
        num_joysticks = 1;
        releaseKeys();
    }
    void TearDown() override
    {
        num_joysticks = 0;
        std::memset(&joy[0], 0, sizeof joy[0]);
        releaseKeys();
    }
    Gamepad pad;
};

TEST_F(GamepadTest, StickAndDpadPressTheArrows)
{
    joy[0].stick[0].axis[0].d1 = 1; // left stick to the left
    joy[0].stick[1].axis[1].d2 = 1; // d-pad down
    pad.mirror();
    EXPECT_TRUE(key[KEY_LEFT]);
    EXPECT_TRUE(key[KEY_DOWN]);
    EXPECT_FALSE(key[KEY_RIGHT]);
    EXPECT_FALSE(key[KEY_UP]);

    joy[0].stick[0].axis[0].d1 = 0;
    joy[0].stick[1].axis[1].d2 = 0;
    joy[0].stick[0].axis[1].d1 = 1;
    pad.mirror();
    EXPECT_FALSE(key[KEY_LEFT]);
    EXPECT_FALSE(key[KEY_DOWN]);
    EXPECT_TRUE(key[KEY_UP]);
}

TEST_F(GamepadTest, ButtonsFireConfirmAndGoBack)
{
    joy[0].button[0].b = 1; // A
    pad.mirror();
    EXPECT_TRUE(key[KEY_SPACE]);
    EXPECT_TRUE(key[KEY_ENTER]);
    joy[0].button[0].b = 0;
    joy[0].button[2].b = 1; // X fires but does not pick menu lines
    pad.mirror();
    EXPECT_TRUE(key[KEY_SPACE]);
    EXPECT_FALSE(key[KEY_ENTER]);
    joy[0].button[2].b = 0;
    joy[0].button[7].b = 1; // Start
    pad.mirror();
    EXPECT_FALSE(key[KEY_SPACE]);
    EXPECT_TRUE(key[KEY_ESC]);
}

TEST_F(GamepadTest, AnIdlePadLeavesTheKeyboardAlone)
{
    pad.mirror();
    key[KEY_RIGHT] = 1; // the player holds Right on the keyboard
    pad.mirror();
    EXPECT_TRUE(key[KEY_RIGHT]);
    // The pad's own press and release do not stick.
    joy[0].stick[0].axis[0].d2 = 1;
    pad.mirror();
    joy[0].stick[0].axis[0].d2 = 0;
    pad.mirror();
    EXPECT_FALSE(key[KEY_RIGHT]);

    // Without a pad nothing is touched at all.
    num_joysticks = 0;
    key[KEY_LEFT] = 1;
    joy[0].stick[0].axis[0].d1 = 0;
    pad.mirror();
    EXPECT_TRUE(key[KEY_LEFT]);
}

} // namespace
