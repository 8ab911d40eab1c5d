#include "game/minigames/CutSceneController.h"

#include "engine/core/Engine.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/media/Screen.h"
#include "engine/ui/TextSprite.h"

namespace {

struct Caption {
    const char* one;
    const char* two;
};

// Indexed by step - 1.
constexpr Caption DIALOGUE[CutSceneController::LAST_STEP] = {
    { "PROFESSOR: Dorir, we have a problem...", "" },
    { "DORIR: What is it Professor?", "" },
    { "PROF: A shark has run off with our", "family treasure!" },
    { "PROF: You must follow him and get it back!", "" },
    { "DORIR: What? Why me?", "" },
    { "PROF: I'm afraid my adventuring days", "are far behind me..." },
    { "DORIR: What about VIDEZ and RAY?", "" },
    { "PROF: They'll be around to help you", "when you run into trouble." },
    { "DORIR: But.. I'm just a small fish!", "" },
    { "DORIR: What can I do against", "deadly sea creatures?" },
    { "PROF: With my Power-Ups you should be", "able to get past whatever is out there." },
    { "PROF: Just press TAB to visit my Shop!", "" },
    { "PROF: Use the coins that you find", "on your adventures to buy 'em." },
    { "PROF: If you need help at any time,", "press F1 to contact me!" },
    { "DORIR: Alright. I'll do it!", "" },
    { "PROF: Good luck Dorir!", "" },
};

constexpr const char* OPENING_LINE = "Once upon a time, deep under the sea...";

constexpr float PROFESSOR_SPEED = 200.0f;
constexpr float HERO_SPEED = 300.0f;

AnimatedSprite* makePicture(const char* file, int frame, int alignment, int x, int y, bool visible)
{
    auto* sprite = new AnimatedSprite();
    sprite->datafile.load(file);
    sprite->frame = static_cast<float>(frame);
    sprite->alignment = alignment;
    sprite->setPosition(x, y);
    sprite->visible = visible;
    return sprite;
}

TextSprite* makeCaption(const std::string& text, int x, int y)
{
    auto* caption = new TextSprite();
    caption->text = text;
    caption->alignment = 1;
    caption->setPosition(x, y);
    return caption;
}

// Hands a sprite to the state; one the state refuses is not kept.
template <typename T> T* addToState(Engine* owner, T* sprite, int layer)
{
    if (owner->addSprite(sprite, layer)) {
        return sprite;
    }
    delete sprite;
    return nullptr;
}

} // namespace

CutSceneController::CutSceneController(Engine* owner)
    : StateController("cutScene")
    , fixedEngine(owner)
{
}

Engine* CutSceneController::engine() const
{
    return fixedEngine != nullptr ? fixedEngine : Engine::instance();
}

std::string CutSceneController::lineOne(int dialogueStep)
{
    if (dialogueStep < 1 || dialogueStep > LAST_STEP) {
        return "";
    }
    return DIALOGUE[dialogueStep - 1].one;
}

std::string CutSceneController::lineTwo(int dialogueStep)
{
    if (dialogueStep < 1 || dialogueStep > LAST_STEP) {
        return "";
    }
    return DIALOGUE[dialogueStep - 1].two;
}

void CutSceneController::screenSize(int& width, int& height) const
{
    Engine* owner = engine();
    if (owner != nullptr && owner->screen != nullptr) {
        width = owner->screen->width;
        height = owner->screen->height;
    } else {
        width = 800;
        height = 600;
    }
}

void CutSceneController::captureScreen()
{
    Engine* owner = engine();
    if (owner != nullptr && owner->screen != nullptr) {
        owner->screen->captureFrame();
    }
}

void CutSceneController::fadeIn(float seconds)
{
    if (Engine* owner = engine()) {
        owner->fadeIn(seconds);
    }
}

void CutSceneController::enter()
{
    Engine* owner = engine();
    if (owner == nullptr) {
        return;
    }
    // The story always starts from the beginning.
    startTimer = START_SECONDS;
    step = 0;
    captureScreen();

    int w = 0;
    int h = 0;
    screenSize(w, h);
    int cx = w / 2;
    int cy = h / 2;

    backdrop = makePicture("bg0.dat", 0, 1, cx, cy - 160, false);
    backdrop->setClip(-320, -120, 320, 280);
    backdrop = addToState(owner, backdrop, 0);
    scene = addToState(owner, makePicture("cutscene0.dat", 0, 2, cx + 100, cy + 120, false), 1);
    professor = addToState(owner, makePicture("cutscene0.dat", 1, 2, cx + 500, cy + 120, true), 2);
    hero = addToState(owner, makePicture("cutscene0.dat", 2, 2, cx - 500, cy + 70, true), 2);
    captionOne = addToState(owner, makeCaption(OPENING_LINE, cx, cy), 1);
    // Empty until the dialogue starts; step 1 puts both lines under the picture.
    captionTwo = addToState(owner, makeCaption("", cx, cy + 20), 1);

    clearBindings();
    bind("next", ActionMap::ANY_KEY);
    fadeIn(ENTRY_FADE_SECONDS);
}

void CutSceneController::leave()
{
    // The state deletes the sprites.
    backdrop = scene = professor = hero = nullptr;
    captionOne = captionTwo = nullptr;
    clearBindings();
    startTimer = 0.0f;
}

void CutSceneController::update(float dt)
{
    StateController::update(dt);
    if (startTimer == 0.0f) {
        return;
    }
    startTimer -= dt;
    if (startTimer <= 0.0f) {
        startTimer = 0.0f;
        // Nobody pressed anything: the first line comes by itself.
        if (step == 0) {
            onAction("next", false);
        }
    }
}

void CutSceneController::onAction(const std::string& action, bool pressed)
{
    // Releases only, and never inside the gap after a step, so one key
    // stroke cannot run through several captions.
    if (action != "next" || pressed || startTimer != 0.0f) {
        return;
    }
    Engine* owner = engine();
    if (owner == nullptr) {
        return;
    }
    ++step;
    captureScreen();
    if (captionOne != nullptr) {
        captionOne->text = lineOne(step);
    }
    if (captionTwo != nullptr) {
        captionTwo->text = lineTwo(step);
    }

    int w = 0;
    int h = 0;
    screenSize(w, h);
    if (step == 1) {
        if (captionOne != nullptr) {
            captionOne->setPosition(w / 2, h / 2 + 140);
        }
        if (captionTwo != nullptr) {
            captionTwo->setPosition(w / 2, h / 2 + 160);
        }
        if (backdrop != nullptr) {
            backdrop->visible = true;
        }
        if (scene != nullptr) {
            scene->visible = true;
        }
        if (professor != nullptr) {
            professor->moveTo(w / 2 + 200, h / 2 + 120, PROFESSOR_SPEED);
        }
    } else if (step == 2) {
        if (hero != nullptr) {
            hero->moveTo(w / 2 - 200, h / 2 + 70, HERO_SPEED);
        }
    } else if (step > LAST_STEP) {
        owner->postAction("JUMPSTATE:levelSelect");
    }

    fadeIn(STEP_FADE_SECONDS);
    startTimer = STEP_GAP_SECONDS;
}
