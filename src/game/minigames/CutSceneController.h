#pragma once

#include "engine/core/StateController.h"

#include <string>

class AnimatedSprite;
class Engine;
class TextSprite;

// The opening story: the professor and Dorir slide into a framed picture and
// talk through sixteen captions, one per key release; then the world map.
class CutSceneController : public StateController {
public:
    static constexpr int LAST_STEP = 16;
    static constexpr float START_SECONDS = 2.0f;
    static constexpr float STEP_GAP_SECONDS = 0.5f;
    static constexpr float ENTRY_FADE_SECONDS = 0.5f;
    static constexpr float STEP_FADE_SECONDS = 0.2f;

    // Without an engine given, the one running engine is used.
    explicit CutSceneController(Engine* owner = nullptr);

    void enter() override;
    void leave() override;
    void update(float dt) override;
    void onAction(const std::string& action, bool pressed) override;

    // The two caption lines of a dialogue step (1 to 16); empty outside.
    static std::string lineOne(int step);
    static std::string lineTwo(int step);

    float startTimer = 0.0f;
    int step = 0;

    // Owned by the state once entered; null before and after.
    AnimatedSprite* backdrop = nullptr;
    AnimatedSprite* scene = nullptr;
    AnimatedSprite* professor = nullptr;
    AnimatedSprite* hero = nullptr;
    TextSprite* captionOne = nullptr;
    TextSprite* captionTwo = nullptr;

protected:
    // The blocking cross-fade from the captured picture to the new scene.
    virtual void fadeIn(float seconds);

private:
    Engine* engine() const;
    void captureScreen();
    void screenSize(int& width, int& height) const;

    Engine* fixedEngine;
};
