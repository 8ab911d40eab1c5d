#pragma once

#include <map>
#include <string>
#include <vector>

// Turns key, mouse and joystick changes into action edges: the action's name
// with pressed = true when a bound input goes down, false when it comes up.
class ActionMap {
public:
    // Input codes beyond Allegro's key codes.
    static constexpr int ANY_KEY = 4059;
    static constexpr int JOY_DIRECTION = 8000; // + 0 left, 1 right, 2 up, 3 down
    static constexpr int JOY_BUTTON = 9000; // + button number
    // Key codes 0 .. KEY_CODES - 1 read Allegro's key[] array.
    static constexpr int KEY_CODES = 119;
    // A bindings file line naming more codes than this is damaged.
    static constexpr int MAX_CODES_PER_ACTION = 64;

    ActionMap() = default;
    virtual ~ActionMap() = default;
    virtual void onAction(const std::string& action, bool pressed) = 0;

    void bind(const std::string& action, int code);
    void bindJoystickButton(const std::string& action, int button);
    void bindJoystickDirection(const std::string& action, int direction);
    void unbind(const std::string& action);
    void clearBindings();
    bool isHeld(const std::string& action) const;
    int firstCode(const std::string& action) const;
    // The dispatch pass: delivers every input edge to onAction.
    void update(float dt);
    // One line per action: name, count, codes. False when nothing was written.
    bool saveBindings(const std::string& path) const;
    // Reads what saveBindings wrote; only actions already bound take codes
    // from the file. Reading stops at the first damaged line.
    void loadBindings(const std::string& path);

    // Whether the input behind a code is down right now.
    static bool isInputDown(int code);
    // Display name of a key code ("A", "Enter", "Left", or the number).
    static std::string keyName(int code);

    std::map<std::string, std::vector<int>> bindings;
    std::map<int, bool> inputStates;
    bool bindingsChanged = false;
};
