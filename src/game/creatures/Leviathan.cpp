#include "game/creatures/Leviathan.h"

#include "engine/core/Vector2.h"
#include "game/app/Game.h"
#include "game/creatures/LeviathanShot.h"
#include "game/play/Player.h"
#include "game/play/TileMap.h"

namespace {

// Its coils fill the level's corner: the fish is hurt anywhere left of and
// above these lines, wherever the leviathan itself is drawn.
constexpr float BODY_RIGHT = 320.0f;
constexpr float BODY_BOTTOM = 400.0f;

constexpr float FIRST_VOLLEY_PAUSE = 3.0f;
constexpr float VOLLEY_PAUSE = 6.0f;
constexpr float SHOT_SECONDS = 0.5f;
// The first shot of a volley follows the pause almost at once.
constexpr float VOLLEY_START_SECONDS = 0.1f;
// Shots leave the jaws here, just outside the water it swallows from.
constexpr float JAWS_X = 200.0f;
constexpr float JAWS_Y = -160.0f;
// Shot speed: (SHOT_SPEED_BASE - hit points) x SHOT_SPEED_STEP.
constexpr int SHOT_SPEED_BASE = 22;
constexpr float SHOT_SPEED_STEP = 10.0f;

constexpr int BREAK_FIRST_FRAME = 0;
constexpr int BREAK_LAST_FRAME = 10;
constexpr float BREAK_SECONDS = 0.2f;
constexpr int THERE_AND_BACK = 1;

// It swallows everything within 200 pixels of the point 200 above it.
constexpr float MOUTH_RISE = 200.0f;
constexpr double SWALLOW_DISTANCE_SQUARED = 40000.0;

// A hit leaves it flickering: four slow blinks.
constexpr float OPAQUE = 255.0f;
constexpr float HIT_BLINK_SECONDS = 0.2f;
constexpr int HIT_BLINK_REPEATS = 7;

// Its rock crumbles a second after the last hit, in two steps: the upper
// block goes and the lower one cracks, then that falls away too.
constexpr float FIRST_BREAK_SECONDS = 1.0f;
constexpr float BREAK_STEP_SECONDS = 0.7f;
constexpr int ROCK_COLUMN = 3;
constexpr int UPPER_ROCK_ROW = 6;
constexpr int LOWER_ROCK_ROW = 7;
constexpr int CRACKED_ROCK = 0;
constexpr int BREAK_STEPS = 2;

} // namespace

Leviathan::Leviathan()
    : Boss(MAX_HIT_POINTS)
    , volleyPause(FIRST_VOLLEY_PAUSE)
{
    datafile.load("leviathan.dat");
}

float Leviathan::shotSpeed() const
{
    return static_cast<float>(SHOT_SPEED_BASE - hitPoints) * SHOT_SPEED_STEP;
}

float Leviathan::mouthY() const
{
    return y - MOUTH_RISE;
}

void Leviathan::update(float dt)
{
    Creature::update(dt);
    // The bar shows it from the first frame, banner and all.
    publishHitPoints();
    if (!awake()) {
        return;
    }
    if (defeated()) {
        crumbleRock(dt);
        return;
    }
    hurtFishInItsCoils();
    fireVolleys(dt);
    swallow();
}

void Leviathan::hurtFishInItsCoils()
{
    const Player* player = fish();
    if (player != nullptr && player->x < BODY_RIGHT && player->y < BODY_BOTTOM) {
        hurtFish();
    }
}

void Leviathan::fireVolleys(float dt)
{
    if (shotTimer != 0.0f && shotsInVolley < VOLLEY_SHOTS) {
        shotTimer -= dt;
        if (shotTimer <= 0.0f) {
            fire();
        }
    } else if (volleyPause > 0.0f) {
        volleyPause -= dt;
        if (volleyPause <= 0.0f) {
            volleyPause = 0.0f;
            shotsInVolley = 0;
            shotTimer = VOLLEY_START_SECONDS;
        }
    }
}

void Leviathan::fire()
{
    playSoundAt("levlaser");
    shotTimer = SHOT_SECONDS;
    auto* shot = new LeviathanShot(shotSpeed());
    shot->setPosition(static_cast<int>(x + JAWS_X), static_cast<int>(y + JAWS_Y));
    playAnimation("break", BREAK_FIRST_FRAME, BREAK_LAST_FRAME, BREAK_SECONDS, THERE_AND_BACK, true, 0.0f);
    if (Game* game = Game::instance()) {
        game->addCreature(shot);
    } else {
        delete shot;
    }
    if (++shotsInVolley >= VOLLEY_SHOTS) {
        shotTimer = 0.0f;
        volleyPause = VOLLEY_PAUSE;
    }
}

void Leviathan::swallow()
{
    Game* game = Game::instance();
    if (game == nullptr) {
        return;
    }
    for (Creature* other : game->creatures) {
        if (other == nullptr || other == this || !other->visible
            || distanceSquared(other->x, other->y, mouthX(), mouthY()) >= SWALLOW_DISTANCE_SQUARED) {
            continue;
        }
        other->visible = false;
        other->bubble.visible = false;
        other->alpha = 0.0f;
        if (--hitPoints > 0) {
            alpha = OPAQUE;
            blink(HIT_BLINK_SECONDS, HIT_BLINK_REPEATS);
            playSoundAt("levow");
            continue;
        }
        // Beaten: what else drifts in now is left alone.
        fadeOut();
        breakTimer = FIRST_BREAK_SECONDS;
        playSoundAt("levdie");
        return;
    }
}

void Leviathan::crumbleRock(float dt)
{
    if (breakStep >= BREAK_STEPS) {
        return;
    }
    breakTimer -= dt;
    if (breakTimer > 0.0f) {
        return;
    }
    breakTimer = BREAK_STEP_SECONDS;
    Game* game = Game::instance();
    TileMap* map = game != nullptr ? game->mainLayer : nullptr;
    if (map != nullptr) {
        if (breakStep == 0) {
            map->setTile(ROCK_COLUMN, UPPER_ROCK_ROW, TileMap::WATER);
            map->setTile(ROCK_COLUMN, LOWER_ROCK_ROW, CRACKED_ROCK);
        } else {
            map->setTile(ROCK_COLUMN, LOWER_ROCK_ROW, TileMap::WATER);
        }
    }
    ++breakStep;
}
