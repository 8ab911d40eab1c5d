#include "game/creatures/Seagull.h"

#include "game/app/Game.h"
#include "game/play/Player.h"

namespace {

constexpr int FLYING_PICTURES = 0;
constexpr int DIVING_PICTURES = 1;
constexpr int FLY_FIRST_FRAME = 0;
constexpr int FLY_LAST_FRAME = 20;
constexpr float FLY_SECONDS = 0.25f;
constexpr int FOREVER = -1;

constexpr float PATROL_SPEED = 250.0f;
// It hovers half a second over the fish before it drops, which is the
// fish's chance to get out of the way.
constexpr float HOVER_SECONDS = 0.5f;
constexpr float DIVE_SPEED = 600.0f;
constexpr float CLIMB_SPEED = 600.0f;

} // namespace

Seagull::Seagull()
{
    datafile.load("seagull.dat");
    datafile.useSubDatafile(FLYING_PICTURES);
}

void Seagull::update(float dt)
{
    Creature::update(dt);
    if (!awake()) {
        return;
    }
    if (diving) {
        if (!moving) {
            climb();
        }
    } else if (climbing) {
        if (!moving) {
            climbing = false;
        }
    } else if (diveTimer > 0.0f) {
        diveTimer -= dt;
        // Reaching 0 exactly counts too, or a hover that ends on the dot
        // would fall back to patrolling and never dive.
        if (diveTimer <= 0.0f) {
            dive();
        }
    } else {
        if (!moving) {
            patrol();
        }
        spotFish();
    }
    flipH = facingRight;
    hurtPlayerOnContact();
}

void Seagull::patrol()
{
    facingRight = !facingRight;
    moveTo(rowEnd(facingRight), static_cast<int>(y), PATROL_SPEED);
}

int Seagull::rowEnd(bool right) const
{
    Game* game = Game::instance();
    int column = cellOf(x);
    if (game == nullptr) {
        return cellCentre(column);
    }
    const int row = cellOf(y);
    const int columns = game->levelWidth / CELL_SIZE;
    if (right) {
        while (column + 1 < columns && !game->isTileBlocked(column + 1, row)) {
            ++column;
        }
    } else {
        while (column - 1 >= 0 && !game->isTileBlocked(column - 1, row)) {
            --column;
        }
    }
    return cellCentre(column);
}

bool Seagull::spotFish()
{
    Game* game = Game::instance();
    Player* player = fish();
    const int column = cellOf(x);
    const int row = cellOf(y);
    if (game == nullptr || player == nullptr || player->dead || cellOf(player->x) != column) {
        return false;
    }
    // The gull sees down to the ground (or the bottom of the level).
    const int rows = game->levelHeight / CELL_SIZE;
    int ground = row;
    while (ground < rows && !game->isTileBlocked(column, ground)) {
        ++ground;
    }
    const int fishRow = cellOf(player->y);
    if (fishRow < row || fishRow >= ground) {
        return false;
    }
    flap();
    xTween.stop();
    yTween.stop();
    moving = false;
    diveTimer = HOVER_SECONDS;
    homeY = y;
    diveTargetY = static_cast<float>(cellCentre(ground - 1));
    return true;
}

void Seagull::dive()
{
    diveTimer = 0.0f;
    playSoundAt("seagull");
    moveTo(static_cast<int>(x), static_cast<int>(diveTargetY), DIVE_SPEED);
    diving = true;
    datafile.useSubDatafile(DIVING_PICTURES);
    // The dive is a single picture.
    frameTween.stop();
    frame = 0.0f;
}

void Seagull::climb()
{
    diving = false;
    climbing = true;
    moveTo(static_cast<int>(x), static_cast<int>(homeY), CLIMB_SPEED);
    datafile.useSubDatafile(FLYING_PICTURES);
    flap();
}

void Seagull::flap()
{
    playAnimation("fly", FLY_FIRST_FRAME, FLY_LAST_FRAME, FLY_SECONDS, FOREVER, true, 0.0f);
}
