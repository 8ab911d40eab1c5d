#include "game/creatures/Swordfish.h"

#include "engine/core/Vector2.h"
#include "engine/media/ParticleSystem.h"
#include "engine/media/SoundManager.h"
#include "game/app/Game.h"
#include "game/play/Player.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

constexpr float FIRST_ATTACK_SECONDS = 2.0f;

// It bobs 10 pixels, 0.8 seconds each way, for the whole duel.
constexpr float BOB_HEIGHT = 10.0f;
constexpr float BOB_SECONDS = 0.8f;
constexpr int FOREVER = -1;

// It keeps 200 pixels from the fish once it is more than 128 away, at
// (8 - hit points) x 20 pixels a second, and never comes within 160 pixels
// of either end of the level.
constexpr int STALK_DISTANCE = 200;
constexpr int STALK_FROM = 128;
constexpr int SPEED_BASE_HIT_POINTS = 8;
constexpr int SPEED_PER_HIT_POINT = 20;
constexpr float HALL_MARGIN = 160.0f;

// Its nose runs through a fish closer than 25 pixels, above or below alike.
constexpr int TOUCH_DISTANCE = 25;

// An attack plays frames 0 to 30 in about 1.0 to 1.2 seconds, 0.15 seconds
// quicker for each hit point lost past the third; then it rests 0.1 to 2.09
// seconds before the next.
const char* const ATTACK = "attack";
constexpr int ATTACK_FIRST_FRAME = 0;
constexpr int ATTACK_LAST_FRAME = 30;
constexpr int ATTACK_SPREAD = 100;
constexpr float ATTACK_SPREAD_SECONDS = 0.002f;
constexpr float ATTACK_BASE_SECONDS = 1.0f;
constexpr int ATTACK_QUICKENS_BELOW = 3;
constexpr float ATTACK_QUICKENS_BY = 0.15f;
constexpr int REST_SPREAD = 200;
constexpr float REST_SPREAD_SECONDS = 0.01f;
constexpr float REST_BASE_SECONDS = 0.1f;

// The sword is out between frames 15 and 20: it kills inside 160 pixels and
// meets the plunger between 160 and 220.
constexpr float BLOW_AFTER_FRAME = 15.0f;
constexpr float BLOW_BEFORE_FRAME = 20.0f;
constexpr int BLOW_REACH = 160;
constexpr int CLASH_REACH = 220;
constexpr int CLASH_BASE_RATE = 800;
constexpr int CLASH_RATE_SPREAD = 400;
constexpr int CLASH_SPARKS = 5;
constexpr float CLASH_AHEAD = 120.0f;
constexpr int SPARK_EMITTER = 0;
constexpr int ANY_LIGHT_COLOUR = -1;

// The plunger's tip is 72 pixels ahead of the fish and lands within 32.
constexpr float PLUNGER_TIP = 72.0f;
constexpr double TIP_REACH_SQUARED = 1024.0;

// Beaten, it shoots up out of the level as it fades.
constexpr int LOSER_RISES_TO = -300;
constexpr float LOSER_SPEED = 500.0f;

constexpr int FULL_VOLUME = 255;
constexpr int PAN_CENTRE = 128;
constexpr int NORMAL_RATE = 1000;

} // namespace

Swordfish::Swordfish()
    : Boss(MAX_HIT_POINTS)
    , attackTimer(FIRST_ATTACK_SECONDS)
{
    datafile.load("swordfish.dat");
    bobTween.setUpdatee(&bob);
    bobTween.pingPong = true;
    bobTween.start(BOB_HEIGHT, BOB_SECONDS, FOREVER);
    // The challenge rings out wherever the fish is.
    if (SoundManager* sound = SoundManager::instance()) {
        sound->play("swordfish_laugh", FULL_VOLUME, PAN_CENTRE, NORMAL_RATE, false);
    }
}

int Swordfish::stalkingSpeed() const
{
    return (SPEED_BASE_HIT_POINTS - hitPoints) * SPEED_PER_HIT_POINT;
}

bool Swordfish::attacking() const
{
    return animationName == ATTACK;
}

void Swordfish::update(float dt)
{
    Creature::update(dt);
    publishHitPoints();
    if (gameFrozen()) {
        return;
    }
    bobTween.update(dt);
    offsetY = static_cast<int>(bob);

    Player* player = fish();
    if (!(alpha > 0.0f) || !visible || defeated() || player == nullptr) {
        return;
    }
    const int dx = static_cast<int>(std::fabs(player->x - x));

    if (!attacking()) {
        stalk(*player);
    }
    // Whatever it was still gliding towards, it stays in the hall.
    if (Game* game = Game::instance()) {
        x = std::clamp(
            x, HALL_MARGIN, std::max(HALL_MARGIN, static_cast<float>(game->levelWidth) - HALL_MARGIN));
    }

    if (dx < TOUCH_DISTANCE && !player->dead) {
        playSoundAt("swordfish_laugh");
        hurtFish();
    }

    if (!attacking()) {
        attackTimer = std::max(0.0f, attackTimer - dt);
        if (attackTimer == 0.0f && !player->dead) {
            startAttack();
        }
    }

    if (attacking() && frame > BLOW_AFTER_FRAME && frame < BLOW_BEFORE_FRAME && !player->dead) {
        strike(dx);
    }

    takeThrust(*player);
}

void Swordfish::stalk(const Player& player)
{
    const float speed = static_cast<float>(stalkingSpeed());
    const int to = static_cast<int>(y);
    if (x - player.x > STALK_FROM) {
        moveTo(static_cast<int>(player.x) + STALK_DISTANCE, to, speed);
    } else if (player.x - x > STALK_FROM) {
        moveTo(static_cast<int>(player.x) - STALK_DISTANCE, to, speed);
    }
}

void Swordfish::startAttack()
{
    readyToClash = true;
    const int r = std::rand();
    const float seconds = static_cast<float>(r % ATTACK_SPREAD) * ATTACK_SPREAD_SECONDS + ATTACK_BASE_SECONDS
        - static_cast<float>(ATTACK_QUICKENS_BELOW - hitPoints) * ATTACK_QUICKENS_BY;
    playAnimation(ATTACK, ATTACK_FIRST_FRAME, ATTACK_LAST_FRAME, seconds, 0, false, 0.0f);
    const int rest = std::rand();
    attackTimer = static_cast<float>(rest % REST_SPREAD) * REST_SPREAD_SECONDS + REST_BASE_SECONDS;
}

void Swordfish::strike(int dx)
{
    if (dx < BLOW_REACH) {
        playSoundAt("swordfish_laugh");
        hurtFish();
    } else if (dx < CLASH_REACH && readyToClash) {
        readyToClash = false;
        clash();
    }
}

void Swordfish::clash()
{
    const char* name = std::rand() % 2 == 0 ? "swordclash2" : "swordclash";
    const int rate = CLASH_BASE_RATE + std::rand() % CLASH_RATE_SPREAD;
    // As loud and as far to the side as any sound it makes, at the pitch
    // the blades happened to meet at.
    const Player* player = fish();
    SoundManager* sound = SoundManager::instance();
    if (player != nullptr && sound != nullptr) {
        const double across = static_cast<double>(x) - player->x;
        const double volume = volumeAt(across, static_cast<double>(y) - player->y);
        if (volume > 0.0) {
            sound->play(name, static_cast<int>(volume), servicePan(panOffset(across)), rate, false);
        }
    }
    Game* game = Game::instance();
    if (ParticleSystem* sparks = game != nullptr ? game->emitters[SPARK_EMITTER] : nullptr) {
        sparks->burst(x - CLASH_AHEAD, y, CLASH_SPARKS, ANY_LIGHT_COLOUR);
    }
}

void Swordfish::takeThrust(Player& player)
{
    if (!player.attackActive()) {
        return;
    }
    const float tipX = player.x + (player.flipH ? PLUNGER_TIP : -PLUNGER_TIP);
    if (distanceSquared(tipX, player.y, x, y) >= TIP_REACH_SQUARED) {
        return;
    }
    player.spendAttack();
    --hitPoints;
    if (defeated()) {
        lose();
        return;
    }
    blink();
    playSoundAt("swordfish_hit");
}

void Swordfish::lose()
{
    playSoundAt("swordfish_lose");
    moveTo(static_cast<int>(x), LOSER_RISES_TO, LOSER_SPEED);
    frameTween.stop();
    animationName.clear();
    frame = 0.0f;
    fadeOut();
    publishHitPoints();
}
