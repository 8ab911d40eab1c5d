#include "game/app/LogoController.h"

#include "engine/core/Engine.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"

#include <allegro.h>

LogoController::LogoController(Engine* owner)
    : StateController("logo")
    , fixedEngine(owner)
{
}

Engine* LogoController::engine() const
{
    return fixedEngine != nullptr ? fixedEngine : Engine::instance();
}

void LogoController::enter()
{
    Engine* owner = engine();
    if (owner == nullptr) {
        return;
    }
    if (owner->sound != nullptr) {
        owner->sound->playMusic("mus/kvl.ogg", false);
    }

    // A fresh black frame: the logo fades in out of black, not out of
    // whatever the new window's memory held.
    Screen* screen = owner->screen;
    if (screen != nullptr && screen->backBuffer != nullptr) {
        clear_to_color(screen->backBuffer, 0);
        screen->captureFrame();
    }

    timeLeft = SHOW_SECONDS;

    logo = new AnimatedSprite();
    logo->datafile.load("logo.dat");
    logo->alignment = 1;
    if (screen != nullptr) {
        logo->setPosition(screen->width / 2, screen->height / 2);
    }
    if (!owner->addSprite(logo, 0)) {
        delete logo;
        logo = nullptr;
    }

    // Jumps when the keys come up again, so the key that skips the logo
    // does not also press something on the title.
    owner->addStateAction("JUMPSTATE_FALSE:title", ActionMap::ANY_KEY);
    owner->fadeIn(FADE_SECONDS);
}

void LogoController::leave()
{
    // The state deletes the sprite and unbinds the key.
    logo = nullptr;
    timeLeft = 0.0f;
}

void LogoController::update(float dt)
{
    // The logo itself is stepped by its screen layer.
    StateController::update(dt);
    if (timeLeft == 0.0f) {
        return;
    }
    timeLeft -= dt;
    if (timeLeft <= 0.0f) {
        timeLeft = 0.0f;
        if (Engine* owner = engine()) {
            owner->postAction("JUMPSTATE:title");
        }
    }
}
