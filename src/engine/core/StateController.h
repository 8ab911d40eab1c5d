#pragma once

#include "engine/core/ActionMap.h"

#include <string>

// Behaviour of one named game state: told when the state is entered and left,
// updated every frame while it is on the stack.
class StateController : public ActionMap {
public:
    explicit StateController(const std::string& stateName)
        : name(stateName)
    {
    }
    ~StateController() override = default;
    void onAction(const std::string&, bool) override { }

    virtual void enter() { }
    virtual void leave() { }
    virtual void update(float dt) { ActionMap::update(dt); }

    std::string name;
};
