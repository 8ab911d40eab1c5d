#pragma once

#include "engine/core/StateController.h"

#include <set>
#include <string>

class Engine;

// The professor's shop over a running level. For now it only closes again.
class PowerupShopController : public StateController {
public:
    // Without an engine given, the one running engine is used.
    explicit PowerupShopController(Engine* owner = nullptr);

    void enter() override;
    void leave() override;
    void onAction(const std::string& action, bool pressed) override;

private:
    Engine* engine() const;

    Engine* fixedEngine;
    // A key that was already down when the shop opened does not close it.
    std::set<std::string> armed;
};
