#pragma once

#include "engine/core/StateController.h"

class AnimatedSprite;
class Engine;

// The maker's logo at start-up while the jingle plays. It gives way to the
// title after five seconds, or once a key has been pressed and every key is
// up again.
class LogoController : public StateController {
public:
    // Without an engine the one running engine is used.
    explicit LogoController(Engine* owner = nullptr);

    void enter() override;
    void leave() override;
    void update(float dt) override;

    static constexpr float SHOW_SECONDS = 5.0f;
    static constexpr float FADE_SECONDS = 0.5f;

    // Seconds until the title; 0 once the jump has been asked for.
    float timeLeft = 0.0f;
    // Owned by the state; null while the state is not shown.
    AnimatedSprite* logo = nullptr;

private:
    Engine* engine() const;

    Engine* fixedEngine;
};
