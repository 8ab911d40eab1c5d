#include "game/creatures/Crab.h"

#include "game/app/Game.h"

namespace {

constexpr float WAIT_SECONDS = 2.0f;
constexpr float WALK_SPEED = 200.0f;
// Measured to a hopping fish's body, not its feet.
constexpr bool ABOVE_HOPPING_FISH = true;

} // namespace

Crab::Crab()
    : waitTimer(WAIT_SECONDS)
{
    datafile.load("crab.dat");
}

void Crab::update(float dt)
{
    Creature::update(dt);
    if (gameFrozen()) {
        return;
    }
    hurtPlayerOnContact(CONTACT_DISTANCE_SQUARED, ABOVE_HOPPING_FISH);
    if (!awake()) {
        return;
    }
    if (waitTimer == 0.0f && !moving) {
        waitTimer = WAIT_SECONDS;
    }
    if (waitTimer > 0.0f) {
        waitTimer -= dt;
        if (waitTimer < 0.0f) {
            waitTimer = 0.0f;
            walk();
        }
    }
}

void Crab::walk()
{
    moveTo(ledgeEnd(), static_cast<int>(y), WALK_SPEED);
    walkingLeft = !walkingLeft;
}

bool Crab::onLedge(const Game& game, int column, int row)
{
    return game.isTileBlocked(column, row + 1) && !game.isTileBlocked(column, row);
}

int Crab::ledgeEnd() const
{
    const int column = cellOf(x);
    const int row = cellOf(y);
    const Game* game = Game::instance();
    if (game == nullptr) {
        return cellCentre(column);
    }
    const int lastColumn = game->levelWidth / CELL_SIZE - 1;
    int stop = column;
    if (walkingLeft) {
        while (stop >= 0 && onLedge(*game, stop, row)) {
            --stop;
        }
    } else {
        while (stop <= lastColumn && onLedge(*game, stop, row)) {
            ++stop;
        }
    }
    // A crab with no floor under its own cell stays where it is rather than
    // stepping backwards, perhaps into rock.
    if (stop == column) {
        return cellCentre(column);
    }
    return walkingLeft ? cellCentre(stop + 1) : cellCentre(stop - 1);
}
