#include "game/play/Bubble.h"

#include "engine/core/Vector2.h"
#include "engine/media/Screen.h"
#include "game/app/Game.h"
#include "game/creatures/Creature.h"

namespace {

constexpr int CENTRED = 1;

} // namespace

Bubble::Bubble()
{
    datafile.load("bubble.dat");
    alignment = CENTRED;
    visible = false;
}

Bubble::~Bubble()
{
    // The layer must not keep a pointer to a bubble that is gone; a screen
    // that has already been torn down has no layers left to clean.
    if (screenShownOn != nullptr && Screen::instance() == screenShownOn) {
        screenShownOn->removeSprite(this, LAYER);
    }
}

void Bubble::launch(float fromX, float fromY, int targetX, float speed, float fadeSeconds, Screen* shownOn)
{
    land();
    x = fromX;
    y = fromY;
    alpha = 255.0f;
    alphaTween.start(0.0f, fadeSeconds, 0);
    moveTo(targetX, static_cast<int>(fromY), speed);
    visible = true;
    inFlight = true;
    if (shownOn != nullptr && shownOn->isValidLayer(LAYER)) {
        shownOn->addSprite(this, LAYER);
        screenShownOn = shownOn;
    }
}

Creature* Bubble::hitTest(const std::vector<Creature*>& creatures)
{
    if (!inFlight) {
        return nullptr;
    }
    for (Creature* creature : creatures) {
        if (creature == nullptr || !creature->visible || creature->bubbleProof) {
            continue;
        }
        double radius = creature->trapRadius;
        if (distanceSquared(creature->x, creature->y, x, y) < radius * radius) {
            creature->trap(TRAP_SECONDS);
            land();
            return creature;
        }
    }
    return nullptr;
}

void Bubble::land()
{
    inFlight = false;
    visible = false;
    xTween.stop();
    yTween.stop();
    alphaTween.stop();
    moving = false;
    if (screenShownOn != nullptr && Screen::instance() == screenShownOn) {
        screenShownOn->removeSprite(this, LAYER);
    }
    screenShownOn = nullptr;
}

void Bubble::update(float dt)
{
    Game* game = Game::instance();
    if (game != nullptr && game->frozen) {
        return;
    }
    AnimatedSprite::update(dt);
}
