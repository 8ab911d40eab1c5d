#include "game/creatures/Creature.h"

#include "engine/core/DebugLog.h"
#include "engine/core/Vector2.h"
#include "engine/media/ParticleSystem.h"
#include "engine/media/SoundManager.h"
#include "game/app/Game.h"
#include "game/play/Player.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int BUBBLE_ALPHA = 128;
constexpr float BUBBLE_FRAME = 1.0f;
constexpr int ADDITIVE_BLEND = 1;
constexpr int CENTRED = 1;

// The bubble shakes for its last second, 5 pixels either way and back every
// tenth of a second.
constexpr float SHAKE_FROM_SECONDS_LEFT = 1.0f;
constexpr float SHAKE_WIDTH = 5.0f;
constexpr float SHAKE_SECONDS = 0.1f;

constexpr int BURST_PARTICLES = 20;
constexpr int BURST_EMITTER = 0;
constexpr int ANY_LIGHT_COLOUR = -1;

// Sounds fade out linearly over 800 pixels.
constexpr double HEARING_DISTANCE_SQUARED = 640000.0;
constexpr double VOLUME_PER_DISTANCE_SQUARED = 255.0 * 0.0000015625;
constexpr double PAN_PER_PIXEL = 255.0 * 0.00125;
constexpr int PAN_CENTRE = 128;

// A fish hopping on dry land is drawn this far above its feet.
constexpr float HOPPING_FISH_RISE = 40.0f;

// Beyond this no level reaches; keeps the cell arithmetic in range.
constexpr float FARTHEST_PIXEL = 1.0e7f;

} // namespace

std::function<void(Player&)> Creature::hurtPlayer;

Creature::Creature()
{
    alignment = CENTRED;
    shake.setUpdatee(&shakeOffset);
    bubble.datafile.load("bubble.dat");
    bubble.alignment = CENTRED;
    bubble.blendMode = ADDITIVE_BLEND;
    bubble.alpha = BUBBLE_ALPHA;
    bubble.frame = BUBBLE_FRAME;
    bubble.visible = false;
}

Creature::~Creature() = default;

void Creature::draw(BITMAP* target)
{
    AnimatedSprite::draw(target);
    bubble.x = std::round(x);
    bubble.y = std::round(y);
    bubble.draw(target);
}

void Creature::update(float dt)
{
    Game* game = Game::instance();
    if (game != nullptr && game->frozen) {
        return;
    }
    shake.update(dt);
    if (trapTime > 0.0f) {
        trapTime -= dt;
        // At exactly 0 the bubble bursts too: a time that runs out to the
        // last bit must not leave the creature shut in for good.
        if (!(trapTime > 0.0f)) {
            burst();
        } else if (trapTime < SHAKE_FROM_SECONDS_LEFT && !shake.active) {
            shakeOffset = 0.0f;
            shake.pingPong = true;
            shake.start(SHAKE_WIDTH, SHAKE_SECONDS, -1);
        }
        offsetX = bubble.offsetX = static_cast<int>(shakeOffset);
        return;
    }
    offsetX = bubble.offsetX = 0;
    AnimatedSprite::update(dt);
}

void Creature::burst()
{
    bubble.visible = false;
    trapTime = 0.0f;
    if (visible) {
        if (SoundManager* sound = SoundManager::instance()) {
            sound->play("pop", 255, PAN_CENTRE, 1000, false);
        }
        bubblePopped();
        Game* game = Game::instance();
        ParticleSystem* emitter = game != nullptr ? game->emitters[BURST_EMITTER] : nullptr;
        if (emitter != nullptr) {
            emitter->burst(std::round(x), std::round(y), BURST_PARTICLES, ANY_LIGHT_COLOUR);
        }
    }
    shakeOffset = 0.0f;
    shake.stop();
}

void Creature::trap(float seconds)
{
    if (!(seconds > 0.0f)) {
        DebugLog::log("creature: a bubble of [" + std::to_string(seconds) + "] seconds traps nothing");
        return;
    }
    trapTime = seconds;
    bubble.visible = true;
    if (SoundManager* sound = SoundManager::instance()) {
        sound->play("bubblehit", 255, PAN_CENTRE, 1000, false);
    }
    shake.stop();
    shakeOffset = 0.0f;
}

double Creature::volumeAt(double dx, double dy)
{
    double distance = std::min(dx * dx + dy * dy, HEARING_DISTANCE_SQUARED);
    return (HEARING_DISTANCE_SQUARED - distance) * VOLUME_PER_DISTANCE_SQUARED;
}

int Creature::panOffset(double dx)
{
    double offset = std::clamp(dx * PAN_PER_PIXEL, -255.0, 255.0);
    return static_cast<int>(offset);
}

int Creature::servicePan(int offset)
{
    // Level with the fish is the middle of the sound service's scale; 800
    // pixels to either side is fully to that side.
    return std::clamp(PAN_CENTRE + offset / 2, 0, 255);
}

bool Creature::playSoundAt(const std::string& name)
{
    Game* game = Game::instance();
    Player* player = game != nullptr ? game->player : nullptr;
    SoundManager* sound = SoundManager::instance();
    if (player == nullptr) {
        if (sound != nullptr) {
            sound->play(name, 255, PAN_CENTRE, 1000, false);
        }
        return true;
    }
    double dx = static_cast<double>(x) - player->x;
    double dy = static_cast<double>(y) - player->y;
    double volume = volumeAt(dx, dy);
    // Also false for positions that are not numbers.
    if (!(volume > 0.0)) {
        return false;
    }
    if (sound != nullptr) {
        sound->play(name, static_cast<int>(volume), servicePan(panOffset(dx)), 1000, false);
    }
    return true;
}

Player* Creature::fish()
{
    Game* game = Game::instance();
    return game != nullptr ? game->player : nullptr;
}

bool Creature::gameFrozen()
{
    Game* game = Game::instance();
    return game != nullptr && game->frozen;
}

float Creature::aimY(const Player& fish, bool aboveHoppingFish)
{
    return aboveHoppingFish && fish.outOfWater ? fish.y - HOPPING_FISH_RISE : fish.y;
}

bool Creature::touchesPlayer(double thresholdSquared, bool aboveHoppingFish) const
{
    const Player* player = fish();
    if (player == nullptr || player->dead) {
        return false;
    }
    return distanceSquared(x, y, player->x, aimY(*player, aboveHoppingFish)) < thresholdSquared;
}

bool Creature::hurtPlayerOnContact(double thresholdSquared, bool aboveHoppingFish)
{
    if (!touchesPlayer(thresholdSquared, aboveHoppingFish)) {
        return false;
    }
    hurtFish();
    return true;
}

void Creature::hurtFish()
{
    Player* player = fish();
    if (player != nullptr && !player->dead && hurtPlayer) {
        hurtPlayer(*player);
    }
}

int Creature::cellOf(float pixel)
{
    if (std::isnan(pixel)) {
        return -1;
    }
    float clamped = std::clamp(pixel, -FARTHEST_PIXEL, FARTHEST_PIXEL);
    return static_cast<int>(clamped * 0.0125f);
}
