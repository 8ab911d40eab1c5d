#include "game/creatures/PirateFish.h"

#include "game/app/Game.h"

namespace {

constexpr float SPEED = 200.0f;
// 40 pixels.
constexpr double BITE_DISTANCE_SQUARED = 1600.0;

constexpr float BOB_HEIGHT = 10.0f;
constexpr float BOB_SECONDS = 0.8f;
constexpr int FOREVER = -1;

constexpr int LEFT = 0;
constexpr int RIGHT = 1;
constexpr int UP = 2;
constexpr int DOWN = 3;

// Left, then down, right, up and round again: anticlockwise on the screen.
int nextLeg(int direction)
{
    switch (direction) {
    case LEFT:
        return DOWN;
    case DOWN:
        return RIGHT;
    case RIGHT:
        return UP;
    default:
        return LEFT;
    }
}

} // namespace

PirateFish::PirateFish()
{
    datafile.load("piratefish.dat");
    bobTween.setUpdatee(&bob);
    bobTween.pingPong = true;
    bobTween.start(BOB_HEIGHT, BOB_SECONDS, FOREVER);
}

void PirateFish::update(float dt)
{
    Creature::update(dt);
    if (gameFrozen()) {
        return;
    }
    hurtPlayerOnContact(BITE_DISTANCE_SQUARED);
    if (!awake()) {
        return;
    }
    bobTween.update(dt);
    offsetY = static_cast<int>(bob);
    Game* game = Game::instance();
    if (moving || game == nullptr) {
        return;
    }
    direction = nextLeg(direction);
    // Swimming up or down it keeps looking the way it last swam across.
    if (direction == LEFT || direction == RIGHT) {
        flipH = direction == RIGHT;
    }
    game->moveAlongRow(direction, this, SPEED);
}
