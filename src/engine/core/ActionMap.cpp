#include "engine/core/ActionMap.h"

#include "engine/core/DebugLog.h"
#include "engine/core/SafeFile.h"

#include <allegro.h>

#include <fstream>

void ActionMap::bind(const std::string& action, int code)
{
    bindings[action].push_back(code);
    // An input already held while it is bound gives no press edge.
    inputStates[code] = isInputDown(code);
}

void ActionMap::bindJoystickButton(const std::string& action, int button)
{
    if (num_joysticks == 0) {
        return;
    }
    bind(action, JOY_BUTTON + button);
}

void ActionMap::bindJoystickDirection(const std::string& action, int direction)
{
    if (num_joysticks == 0) {
        return;
    }
    bind(action, JOY_DIRECTION + direction);
}

void ActionMap::unbind(const std::string& action)
{
    auto found = bindings.find(action);
    if (found == bindings.end()) {
        return;
    }
    if (!found->second.empty()) {
        bindingsChanged = true;
        for (int code : found->second) {
            inputStates.erase(code);
        }
    }
    bindings.erase(found);
}

void ActionMap::clearBindings()
{
    bindings.clear();
    inputStates.clear();
    bindingsChanged = true;
}

bool ActionMap::isHeld(const std::string& action) const
{
    auto found = bindings.find(action);
    if (found == bindings.end()) {
        return false;
    }
    for (int code : found->second) {
        auto state = inputStates.find(code);
        if (state != inputStates.end() && state->second) {
            return true;
        }
    }
    return false;
}

int ActionMap::firstCode(const std::string& action) const
{
    auto found = bindings.find(action);
    if (found == bindings.end() || found->second.empty()) {
        DebugLog::log("no action: " + action);
        return -1;
    }
    return found->second.front();
}

void ActionMap::update(float)
{
    if (num_joysticks > 0) {
        poll_joystick();
    }
    bindingsChanged = false;
    // onAction may bind more codes (growing a sequence under us) or remove
    // bindings (which sets bindingsChanged and ends the pass), so the codes
    // are walked by index and the map node stays valid throughout.
    for (auto action = bindings.begin(); action != bindings.end(); ++action) {
        for (size_t i = 0; i < action->second.size(); ++i) {
            int code = action->second[i];
            bool down = isInputDown(code);
            bool& remembered = inputStates[code];
            if (remembered != down) {
                remembered = down;
                onAction(action->first, down);
                if (bindingsChanged) {
                    bindingsChanged = false;
                    return;
                }
            }
        }
    }
}

bool ActionMap::isInputDown(int code)
{
    if (code >= 0 && code < KEY_CODES) {
        return key[code] != 0;
    }
    if (code == ANY_KEY) {
        for (int k = 0; k < KEY_CODES; ++k) {
            if (key[k] != 0) {
                return true;
            }
        }
        return false;
    }
    if (code < 0) {
        // -1 left, -2 right, -4 middle; unsigned arithmetic so that even the
        // most negative code cannot overflow.
        unsigned mask = 0u - static_cast<unsigned>(code);
        return (static_cast<unsigned>(mouse_b) & mask) != 0;
    }
    if (num_joysticks <= 0) {
        return false;
    }
    if (code >= JOY_DIRECTION && code < JOY_DIRECTION + 4) {
        if (joy[0].num_sticks < 1) {
            return false;
        }
        int direction = code - JOY_DIRECTION;
        int axis = direction < 2 ? 0 : 1;
        if (joy[0].stick[0].num_axis <= axis) {
            return false;
        }
        const JOYSTICK_AXIS_INFO& info = joy[0].stick[0].axis[axis];
        return (direction % 2 == 0 ? info.d1 : info.d2) != 0;
    }
    if (code >= JOY_BUTTON && code < JOY_BUTTON + MAX_JOYSTICK_BUTTONS) {
        int button = code - JOY_BUTTON;
        return button < joy[0].num_buttons && joy[0].button[button].b != 0;
    }
    return false;
}

std::string ActionMap::keyName(int code)
{
    if (code >= KEY_A && code <= KEY_Z) {
        return std::string(1, static_cast<char>(code + 64));
    }
    switch (code) {
    case KEY_BACKSPACE:
        return "Bckspc";
    case KEY_ENTER:
        return "Enter";
    case KEY_SPACE:
        return "Space";
    case KEY_LEFT:
        return "Left";
    case KEY_RIGHT:
        return "Right";
    case KEY_UP:
        return "Up";
    case KEY_DOWN:
        return "Down";
    default:
        return std::to_string(code);
    }
}

bool ActionMap::saveBindings(const std::string& path) const
{
    SafeFile file(path);
    std::ostream& out = file.stream();
    for (const auto& [action, codes] : bindings) {
        out << action << ' ' << codes.size() << ' ';
        for (int code : codes) {
            out << code << ' ';
        }
        out << '\n';
    }
    return file.commit();
}

void ActionMap::loadBindings(const std::string& path)
{
    std::ifstream in(path);
    if (!in) {
        return;
    }
    std::string name;
    while (in >> name) {
        int count = 0;
        if (!(in >> count) || count < 0 || count > MAX_CODES_PER_ACTION) {
            // A damaged count: nothing after it can be trusted.
            return;
        }
        std::vector<int> codes(static_cast<size_t>(count));
        for (int& code : codes) {
            if (!(in >> code)) {
                // Cut short: the action keeps the codes it had.
                return;
            }
        }
        auto found = bindings.find(name);
        if (found != bindings.end()) {
            found->second = codes;
        }
    }
}
