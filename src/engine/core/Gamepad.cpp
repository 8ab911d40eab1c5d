#include "engine/core/Gamepad.h"

#include <allegro.h>

namespace {

// Button numbers of a common pad: A, B, X, Y, then Back and Start.
constexpr int BUTTON_A = 0;
constexpr int BUTTON_B = 1;
constexpr int BUTTON_X = 2;
constexpr int BUTTON_BACK = 6;
constexpr int BUTTON_START = 7;

enum Direction { LEFT, RIGHT, UP, DOWN };

// Any stick: on most pads the d-pad is a second stick (a hat) beside the
// left one.
bool pushed(Direction direction)
{
    const JOYSTICK_INFO& pad = joy[0];
    for (int s = 0; s < pad.num_sticks; ++s) {
        const JOYSTICK_STICK_INFO& stick = pad.stick[s];
        int axis = direction == LEFT || direction == RIGHT ? 0 : 1;
        if (stick.num_axis <= axis) {
            continue;
        }
        const JOYSTICK_AXIS_INFO& info = stick.axis[axis];
        if ((direction == LEFT || direction == UP) ? info.d1 : info.d2) {
            return true;
        }
    }
    return false;
}

bool button(int number)
{
    return number < joy[0].num_buttons && joy[0].button[number].b != 0;
}

} // namespace

bool Gamepad::install()
{
    return install_joystick(JOY_TYPE_AUTODETECT) == 0 && num_joysticks > 0;
}

void Gamepad::update()
{
    if (num_joysticks <= 0) {
        return;
    }
    poll_joystick();
    mirror();
}

void Gamepad::mirror()
{
    if (num_joysticks <= 0) {
        return;
    }
    const bool fire = button(BUTTON_A) || button(BUTTON_X);
    const Mirror mirrors[] = {
        { KEY_LEFT, pushed(LEFT) },
        { KEY_RIGHT, pushed(RIGHT) },
        { KEY_UP, pushed(UP) },
        { KEY_DOWN, pushed(DOWN) },
        { KEY_SPACE, fire },
        // A also picks menu lines, which answer Enter.
        { KEY_ENTER, button(BUTTON_A) },
        { KEY_ESC, button(BUTTON_B) || button(BUTTON_BACK) || button(BUTTON_START) },
    };
    const size_t count = sizeof mirrors / sizeof mirrors[0];
    held.resize(count, false);
    for (size_t i = 0; i < count; ++i) {
        if (mirrors[i].down == held[i]) {
            continue;
        }
        held[i] = mirrors[i].down;
        key[mirrors[i].key] = mirrors[i].down ? 1 : 0;
    }
}
