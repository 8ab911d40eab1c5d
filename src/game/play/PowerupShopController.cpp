#include "game/play/PowerupShopController.h"

#include "engine/core/Engine.h"
#include "engine/core/GameState.h"

#include <allegro.h>

PowerupShopController::PowerupShopController(Engine* owner)
    : StateController("powerupShop")
    , fixedEngine(owner)
{
}

Engine* PowerupShopController::engine() const
{
    return fixedEngine != nullptr ? fixedEngine : Engine::instance();
}

void PowerupShopController::enter()
{
    clearBindings();
    armed.clear();
    bind("endPowerupShop", KEY_ESC);
    bind("endPowerupShop", KEY_TAB);
    bind("endPowerupShop", KEY_F5);
}

void PowerupShopController::leave()
{
    clearBindings();
    armed.clear();
}

void PowerupShopController::onAction(const std::string& action, bool pressed)
{
    if (action != "endPowerupShop") {
        return;
    }
    if (pressed) {
        armed.insert(action);
        return;
    }
    if (armed.erase(action) == 0) {
        return;
    }
    Engine* owner = engine();
    // Only ever closes the shop itself, never the level beneath it.
    if (owner != nullptr && !owner->stateStack.empty() && owner->stateStack.back()->name == name) {
        owner->popState();
    }
}
