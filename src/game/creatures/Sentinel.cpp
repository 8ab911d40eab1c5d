#include "game/creatures/Sentinel.h"

#include "engine/core/Vector2.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "game/app/Game.h"
#include "game/play/Player.h"

namespace {

constexpr int LASER_FRAME = 1;
constexpr int CENTRED = 1;
// The bolt leaves the statue's eye, ahead of it and a little above its
// centre, and flies the length of the row in well under a second.
constexpr float LASER_AHEAD = 40.0f;
constexpr float LASER_RISE = 20.0f;
constexpr float LASER_SPEED = 1000.0f;
// It hurts at 40 pixels, measured to the body of a fish hopping on land.
constexpr double LASER_HIT_SQUARED = 1600.0;
// Over the creatures, like the cannon-balls.
constexpr int LASER_LAYER = 3;

} // namespace

Sentinel::Sentinel()
{
    datafile.load("sentinel.dat");
    bubbleProof = true;
    laser.datafile.load("sentinel.dat");
    laser.frame = LASER_FRAME;
    laser.alignment = CENTRED;
    laser.visible = false;
}

Sentinel::~Sentinel()
{
    stopLaser();
}

void Sentinel::update(float dt)
{
    Creature::update(dt);
    if (!awake()) {
        return;
    }
    if (firing) {
        flyLaser(dt);
        return;
    }
    Player* player = fish();
    if (player == nullptr || player->dead || cellOf(player->y) != cellOf(y)) {
        return;
    }
    if (hasClearSight(cellOf(player->x))) {
        fire(*player);
    }
}

bool Sentinel::hasClearSight(int column) const
{
    Game* game = Game::instance();
    if (game == nullptr) {
        return false;
    }
    const int row = cellOf(y);
    const float rowCentre = static_cast<float>(cellCentre(row));
    const int step = column < cellOf(x) ? -1 : 1;
    for (int c = cellOf(x);; c += step) {
        if (game->isTileBlocked(c, row) || game->obstacleAt(static_cast<float>(cellCentre(c)), rowCentre)) {
            return false;
        }
        if (c == column) {
            return true;
        }
    }
}

void Sentinel::fire(const Player& player)
{
    if (SoundManager* sound = SoundManager::instance()) {
        sound->play("levlaser", 255, servicePan(panOffset(static_cast<double>(x) - player.x)), 1000, false);
    }
    firing = true;
    laser.flipH = flipH;
    laser.x = flipH ? x - LASER_AHEAD : x + LASER_AHEAD;
    laser.y = y - LASER_RISE;
    laser.visible = true;
    Screen* target = screen != nullptr ? screen : Screen::instance();
    if (laserShownOn == nullptr && target != nullptr && target->isValidLayer(LASER_LAYER)) {
        target->addSprite(&laser, LASER_LAYER);
        laserShownOn = target;
    }
}

void Sentinel::flyLaser(float dt)
{
    laser.x += (flipH ? -LASER_SPEED : LASER_SPEED) * dt;
    Game* game = Game::instance();
    const bool open = game != nullptr && !game->isTileBlocked(cellOf(laser.x), cellOf(laser.y))
        && laser.x >= 0.0f && laser.x <= static_cast<float>(game->levelWidth) && laser.y >= 0.0f
        && laser.y <= static_cast<float>(game->levelHeight) && !game->obstacleAt(laser.x, laser.y);
    if (!open) {
        stopLaser();
        return;
    }
    Player* player = fish();
    if (player != nullptr && !player->dead
        && distanceSquared(laser.x, laser.y, player->x, aimY(*player, true)) < LASER_HIT_SQUARED) {
        hurtFish();
        stopLaser();
    }
}

void Sentinel::stopLaser()
{
    firing = false;
    laser.visible = false;
    // The screen may already be gone when the level is torn down with the
    // game.
    if (laserShownOn != nullptr && Screen::instance() == laserShownOn) {
        laserShownOn->removeSprite(&laser, LASER_LAYER);
    }
    laserShownOn = nullptr;
}
