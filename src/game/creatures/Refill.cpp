#include "game/creatures/Refill.h"

#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "game/app/Game.h"
#include "game/play/Player.h"

namespace {

constexpr float PUFF_SECONDS = 0.5f;
constexpr int PUFF_BUBBLES = 4;
// Small bubbles that wobble out slowly and keep rising for a second or so.
constexpr int BUBBLE_PICTURE = 1;
constexpr float BUBBLE_MIN_SPEED = 30.0f;
constexpr float BUBBLE_MAX_SPEED = 60.0f;
constexpr float BUBBLE_RISE = -40.0f;
constexpr float BUBBLE_EXTRA_LIFE = 1.0f;
constexpr int BUBBLE_ALPHA = 200;

constexpr double REFILL_DISTANCE_SQUARED = 4096.0;

} // namespace

Refill::Refill()
    : puffTimer(PUFF_SECONDS)
{
    datafile.load("bubble.dat");
    bubbleProof = true;
    visible = false;
    // The bubbles rise above the station and stay in sight when it is just
    // off the screen.
    cullable = false;
    puffs.imageIndex = BUBBLE_PICTURE;
    puffs.minSpeed = BUBBLE_MIN_SPEED;
    puffs.maxSpeed = BUBBLE_MAX_SPEED;
    puffs.sprayAccelY = BUBBLE_RISE;
    puffs.startAlpha = BUBBLE_ALPHA;
}

void Refill::update(float dt)
{
    Creature::update(dt);
    if (!awake()) {
        return;
    }
    puffs.update(dt);
    puffTimer -= dt;
    if (puffTimer <= 0.0f) {
        puffTimer = PUFF_SECONDS;
        puffs.spray(x, y, PUFF_BUBBLES, BUBBLE_EXTRA_LIFE);
    }
    Game* game = Game::instance();
    Player* player = fish();
    if (game == nullptr || player == nullptr || player->bubbles >= game->bubbleLimit
        || !touchesPlayer(REFILL_DISTANCE_SQUARED)) {
        return;
    }
    if (SoundManager* sound = SoundManager::instance()) {
        sound->play("refill", 255, 128, 1000, false);
    }
    player->bubbles = game->bubbleLimit;
}

void Refill::draw(BITMAP* target)
{
    // The bubbles keep their own place in the world; the screen's camera
    // puts them on it.
    puffs.camera = screen != nullptr ? screen : Screen::instance();
    puffs.draw(target);
}
