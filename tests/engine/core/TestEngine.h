#pragma once

#include "engine/core/Engine.h"
#include "engine/core/GameState.h"
#include "engine/core/StateController.h"
#include "engine/media/Sprite.h"

#include <allegro.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

// Helpers shared by the engine core tests (own namespace: other test files
// link into the same program).
namespace coretest {

// An engine that never opens a window: it records every hook and action it
// sees, and lets a test react to actions.
class TestEngine : public Engine {
public:
    void onAction(const std::string& action, bool pressed) override
    {
        events.push_back(action + (pressed ? ":down" : ":up"));
        if (onActionHook) {
            onActionHook(action, pressed);
        }
    }
    void run() override { }
    void updateState(std::string name, float dt) override
    {
        events.push_back("update " + name);
        lastDt = dt;
        if (updateHook) {
            updateHook(name);
        }
    }
    void stateEntered(const std::string& name) override { events.push_back("stateEntered " + name); }
    void stateLeaving(std::string name) override
    {
        events.push_back("stateLeaving " + name);
        Engine::stateLeaving(name);
    }

    std::vector<std::string> events;
    float lastDt = -1.0f;
    std::function<void(const std::string&, bool)> onActionHook;
    std::function<void(const std::string&)> updateHook;
};

// A controller that writes its hooks into the engine's event list.
class RecordingController : public StateController {
public:
    RecordingController(const std::string& stateName, std::vector<std::string>& eventList)
        : StateController(stateName)
        , events(eventList)
    {
    }
    void enter() override { events.push_back("enter " + name); }
    void leave() override { events.push_back("leave " + name); }
    void update(float dt) override
    {
        events.push_back("controller " + name);
        StateController::update(dt);
    }

    std::vector<std::string>& events;
};

// Counts how many sprites are alive, so a test sees every delete.
class CountedSprite : public Sprite {
public:
    CountedSprite() { ++alive; }
    ~CountedSprite() override { --alive; }
    static inline int alive = 0;
};

// Every key, mouse button and modifier up.
inline void releaseAllInput()
{
    for (int k = 0; k < KEY_MAX; ++k) {
        key[k] = 0;
    }
    mouse_b = 0;
    key_shifts = 0;
}

} // namespace coretest
