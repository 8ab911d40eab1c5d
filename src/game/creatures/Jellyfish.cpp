#include "game/creatures/Jellyfish.h"

#include "game/app/Game.h"
#include "game/play/TileMap.h"

namespace {

constexpr int JELL_FIRST_FRAME = 0;
constexpr int JELL_LAST_FRAME = 10;
constexpr float JELL_SECONDS = 0.8f;
constexpr int FOREVER = -1;
constexpr bool BACK_AND_FORTH = true;

// Between opaque and half see-through, a second each way.
constexpr float GLIMMER_ALPHA = 128.0f;
constexpr float GLIMMER_SECONDS = 1.0f;

constexpr float BOB_HEIGHT = 10.0f;
constexpr float BOB_SECONDS = 0.8f;

constexpr float SPEED = 40.0f;
// 55 pixels.
constexpr double STING_DISTANCE_SQUARED = 3025.0;

} // namespace

Jellyfish::Jellyfish()
{
    datafile.load("jellyfish.dat");
    playAnimation("jell", JELL_FIRST_FRAME, JELL_LAST_FRAME, JELL_SECONDS, FOREVER, BACK_AND_FORTH, 0.0f);
    alphaTween.pingPong = true;
    alphaTween.start(GLIMMER_ALPHA, GLIMMER_SECONDS, FOREVER);
    bobTween.setUpdatee(&bob);
    bobTween.pingPong = true;
    bobTween.start(BOB_HEIGHT, BOB_SECONDS, FOREVER);
}

bool Jellyfish::tileAt(float pointY) const
{
    const Game* game = Game::instance();
    // Without a map there is nowhere to drift.
    if (game == nullptr || game->mainLayer == nullptr) {
        return true;
    }
    return game->mainLayer->getTile(cellOf(x), cellOf(pointY)) != TileMap::WATER;
}

void Jellyfish::update(float dt)
{
    Creature::update(dt);
    if (gameFrozen()) {
        return;
    }
    hurtPlayerOnContact(STING_DISTANCE_SQUARED);
    if (!awake()) {
        return;
    }
    bobTween.update(dt);
    offsetY = static_cast<int>(bob);
    const float oldY = y;
    y += rising ? -SPEED * dt : SPEED * dt;
    // The edge of its picture as drawn, bob included.
    const int drawnY = static_cast<int>(offsetY + y - z);
    const int halfHeight = frameHeight() / 2;
    if (tileAt(static_cast<float>(rising ? drawnY - halfHeight : drawnY + halfHeight))) {
        y = oldY;
        rising = !rising;
    }
}
