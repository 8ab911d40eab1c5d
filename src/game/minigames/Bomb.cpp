#include "game/minigames/Bomb.h"

#include "engine/core/Vector2.h"
#include "engine/media/ParticleSystem.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "game/app/Game.h"
#include "game/creatures/RewardCoin.h"
#include "game/play/Player.h"
#include "game/play/Treasure.h"

#include <cmath>
#include <string>

namespace {

// The first bomb gives 10 seconds; after that each one gives 15 less 0.3
// for every bomb before it.
constexpr float FIRST_COUNTDOWN = 10.0f;
constexpr float FULL_COUNTDOWN = 15.0f;
constexpr float COUNTDOWN_STEP = 0.3f;

// A disarmed bomb fades away for a second before the next one turns up.
constexpr float FADE_SECONDS = 1.0f;
constexpr float OPAQUE = 255.0f;

// Further than 320 pixels from the fish, the pointer shows the way.
constexpr double FAR_AWAY_SQUARED = 102400.0;

// The prize: 15 coins, one every 0.2 seconds, flying from the chest, then
// the chest itself.
constexpr int PRIZE_COINS = 15;
constexpr float COIN_INTERVAL = 0.2f;
constexpr float COIN_SPEED = 600.0f;
constexpr float CHEST_TO_FISH_SPEED = 200.0f;

constexpr int FULL_VOLUME = 255;
constexpr int PAN_CENTRE = 128;
constexpr int NORMAL_RATE = 1000;
constexpr int BLAST_PARTICLES = 100;
constexpr int BLAST_EMITTER = 0;
constexpr int ANY_LIGHT_COLOUR = -1;

constexpr int CAPTION_LAYER = 4;
constexpr int LEFT_ALIGNED = 0;
constexpr int CENTRED = 1;
constexpr int RIGHT_ALIGNED = 3;
constexpr int COUNTDOWN_ABOVE_BOTTOM = 100;
constexpr int POINTER_FROM_TOP = 100;
constexpr int POINTER_ABOVE_BOTTOM = 50;
constexpr int FALLBACK_WIDTH = 800;
constexpr int FALLBACK_HEIGHT = 600;

const char* const POINTER_TEXT = "Over Here!";

} // namespace

const Bomb::Place Bomb::PLACE_CELLS[PLACES] = { { 10, 13 }, { 19, 5 }, { 3, 9 }, { 9, 18 }, { 19, 18 } };

Bomb::Bomb()
    : coinsToPay(PRIZE_COINS)
{
    datafile.load("bomb.dat");

    Screen* screen = Screen::instance();
    const int width = screen != nullptr ? screen->width : FALLBACK_WIDTH;
    const int height = screen != nullptr ? screen->height : FALLBACK_HEIGHT;
    countdownCaption.alignment = CENTRED;
    countdownCaption.x = static_cast<float>(width / 2);
    countdownCaption.y = static_cast<float>(height - COUNTDOWN_ABOVE_BOTTOM);
    pointerCaption.text = POINTER_TEXT;
    // Shown once the fish is far from a bomb: until then it has nothing to
    // point at.
    pointerCaption.visible = false;
    if (screen != nullptr && screen->isValidLayer(CAPTION_LAYER)) {
        shownOn = screen;
        shownOn->addSprite(&countdownCaption, CAPTION_LAYER);
        shownOn->addSprite(&pointerCaption, CAPTION_LAYER);
    }

    armNext();
    countdown = FIRST_COUNTDOWN;
}

Bomb::~Bomb()
{
    // The screen may already be gone when the level is torn down with the
    // game.
    if (shownOn != nullptr && Screen::instance() == shownOn) {
        shownOn->removeSprite(&countdownCaption, CAPTION_LAYER);
        shownOn->removeSprite(&pointerCaption, CAPTION_LAYER);
    }
}

void Bomb::armNext()
{
    ++placeIndex;
    if (placeIndex >= PLACES) {
        finished = true;
        visible = false;
        return;
    }
    const Place& place = PLACE_CELLS[placeIndex];
    setPosition(cellCentre(place.column), cellCentre(place.row));
    countdown = FULL_COUNTDOWN - static_cast<float>(placeIndex) * COUNTDOWN_STEP;
}

void Bomb::update(float dt)
{
    Creature::update(dt);
    if (gameFrozen()) {
        return;
    }
    if (finished) {
        pay(dt);
        return;
    }
    if (trapTime != 0.0f) {
        disarm();
        return;
    }
    if (exploded) {
        return;
    }
    if (disarming) {
        if (!alphaTween.active) {
            alpha = OPAQUE;
            armNext();
            disarming = false;
        }
        return;
    }
    tick(dt);
}

void Bomb::disarm()
{
    // A bubble never holds the bomb: one that reaches it while it fades is
    // swallowed too, so the fade runs on.
    trapTime = 0.0f;
    bubble.visible = false;
    shake.stop();
    shakeOffset = 0.0f;
    offsetX = bubble.offsetX = 0;
    if (disarming) {
        return;
    }
    countdownCaption.text.clear();
    disarming = true;
    alphaTween.start(0.0f, FADE_SECONDS, 0);
    pointerCaption.visible = false;
}

void Bomb::tick(float dt)
{
    pointTowardsBomb();
    countdownCaption.text = "Boom in " + std::to_string(static_cast<int>(countdown)) + " seconds";
    countdown -= dt;
    if (countdown < 0.0f) {
        explode();
    }
}

void Bomb::pointTowardsBomb()
{
    const Player* player = fish();
    if (player == nullptr || player->dead
        || distanceSquared(x, y, player->x, player->y) <= FAR_AWAY_SQUARED) {
        return;
    }
    const int width = shownOn != nullptr ? shownOn->width : FALLBACK_WIDTH;
    const int height = shownOn != nullptr ? shownOn->height : FALLBACK_HEIGHT;
    pointerCaption.visible = true;
    const float dx = x - player->x;
    const float dy = y - player->y;
    if (std::fabs(dx) > std::fabs(dy)) {
        const bool left = dx < 0.0f;
        pointerCaption.alignment = left ? LEFT_ALIGNED : RIGHT_ALIGNED;
        pointerCaption.x = static_cast<float>(left ? 0 : width);
        pointerCaption.y = static_cast<float>(height / 2);
    } else {
        pointerCaption.alignment = CENTRED;
        pointerCaption.x = static_cast<float>(width / 2);
        pointerCaption.y = static_cast<float>(dy < 0.0f ? POINTER_FROM_TOP : height - POINTER_ABOVE_BOTTOM);
    }
}

void Bomb::explode()
{
    // It goes off once; the fish it kills starts the level again.
    countdown = 0.0f;
    exploded = true;
    if (SoundManager* sound = SoundManager::instance()) {
        sound->play("cannon", FULL_VOLUME, PAN_CENTRE, NORMAL_RATE, false);
    }
    hurtFish();
    countdownCaption.text.clear();
    pointerCaption.text.clear();
    visible = false;
    Game* game = Game::instance();
    ParticleSystem* emitter = game != nullptr ? game->emitters[BLAST_EMITTER] : nullptr;
    if (emitter != nullptr) {
        emitter->burst(x, y, BLAST_PARTICLES, ANY_LIGHT_COLOUR);
    }
}

void Bomb::pay(float dt)
{
    Game* game = Game::instance();
    Player* player = fish();
    Treasure* chest = game != nullptr && !game->treasures.empty() ? game->treasures.front() : nullptr;
    // Nothing can hurt the winner while its prize comes to it.
    if (player != nullptr) {
        player->controlsLocked = true;
    }
    if (coinsToPay > 0) {
        payTimer += dt;
        while (payTimer > COIN_INTERVAL && coinsToPay > 0 && game != nullptr) {
            payTimer -= COIN_INTERVAL;
            --coinsToPay;
            // Without a chest the coins come from the last bomb.
            RewardCoin::payOut(*game, std::trunc(chest != nullptr ? chest->x : x),
                std::trunc(chest != nullptr ? chest->y : y), player, COIN_SPEED);
        }
        return;
    }
    if (chest != nullptr && player != nullptr) {
        chest->moveTo(static_cast<int>(player->x), static_cast<int>(player->y), CHEST_TO_FISH_SPEED);
    }
}
