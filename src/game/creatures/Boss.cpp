#include "game/creatures/Boss.h"

#include "game/app/Game.h"

namespace {

constexpr float OPAQUE = 255.0f;
constexpr float FADE_SECONDS = 1.0f;

} // namespace

Boss::Boss(int maxHitPoints)
    : maxHitPoints(maxHitPoints)
    , hitPoints(maxHitPoints)
{
    bubbleProof = true;
}

void Boss::publishHitPoints() const
{
    if (Game* game = Game::instance()) {
        game->bossHitPointsMax = maxHitPoints;
        game->bossHitPoints = hitPoints > 0 ? hitPoints : 0;
    }
}

void Boss::blink(float runSeconds, int repeats)
{
    if (fading) {
        return;
    }
    alphaTween.pingPong = true;
    alphaTween.start(0.0f, runSeconds, repeats);
}

bool Boss::blinking() const
{
    return !fading && alphaTween.active;
}

void Boss::fadeOut()
{
    fading = true;
    alpha = OPAQUE;
    alphaTween.pingPong = false;
    alphaTween.start(0.0f, FADE_SECONDS, 0);
}
