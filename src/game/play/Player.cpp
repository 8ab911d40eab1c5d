#include "game/play/Player.h"

#include "engine/core/DebugLog.h"
#include "engine/media/ParticleSystem.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "game/app/Game.h"
#include "game/creatures/Creature.h"
#include "game/play/Treasure.h"

#include <allegro.h>

#include <filesystem>
#include <system_error>

namespace {

// The keys a fresh profile steers the fish with.
struct DefaultKey {
    const char* action;
    int code;
};
constexpr DefaultKey DEFAULT_KEYS[] = {
    { "down", KEY_DOWN },
    { "left", KEY_LEFT },
    { "right", KEY_RIGHT },
    { "up", KEY_UP },
    { "fire", KEY_SPACE },
};

constexpr int START_SWIM_SPEED = 200;
constexpr float SPEED_BOOST_FACTOR = 1.5f;
// How fast the friend carries the fish along; a bubble blown from its back
// keeps that speed.
constexpr int FRIEND_SPEED = 600;

// The fins beat through frames 0 to 20 three times a second.
constexpr int SWIM_FIRST_FRAME = 0;
constexpr int SWIM_LAST_FRAME = 20;
constexpr float SWIM_SECONDS = 0.3f;
constexpr int FOREVER = -1;

// The fish rises and sinks 10 pixels, 0.8 seconds each way.
constexpr float BOB_HEIGHT = 10.0f;
constexpr float BOB_SECONDS = 0.8f;

// A dead fish floats belly up to just above the top of the level; the level
// restarts 2 seconds after the death.
constexpr int FLOAT_TO_Y = -10;
constexpr float FLOAT_SPEED = 100.0f;
constexpr float RESTART_SECONDS = 2.0f;

// Slow motion halves the game's pace and drags the music with it.
constexpr float SLOW_MOTION_SCALE = 0.5f;
constexpr int SLOW_MUSIC_RATE = 500;
constexpr float SLOW_MUSIC_SLIDE_SECONDS = 1.0f;
constexpr int NORMAL_MUSIC_RATE = 1000;
constexpr float NORMAL_MUSIC_SLIDE_SECONDS = 0.5f;

// The bubble: 500 pixels a second, aimed 800 pixels ahead, gone after half
// a second (about 250 pixels). A faster fish blows faster bubbles, and the
// invaders' long-range bubble crosses the whole screen.
constexpr int NORMAL_BUBBLE_SPEED = 500;
constexpr int FASTER_FISH_BUBBLE_BONUS = 300;
constexpr int LONG_RANGE_BUBBLE_SPEED = 800;
constexpr int BUBBLE_REACH = 800;
constexpr float BUBBLE_FADE_SECONDS = 0.5f;
constexpr float LONG_RANGE_FADE_SECONDS = 1.0f;
// Out of water the bubble leaves the fish's mouth, higher than its centre.
constexpr float DRY_BUBBLE_RISE = 32.0f;

// The plunger lunges one cell forward and comes back, at 300 pixels a
// second; it is held 64 pixels in front of the fish and fades in over a
// second when it is handed over.
constexpr int LUNGE_REACH = 80;
constexpr float LUNGE_SPEED = 300.0f;
constexpr int HELD_ITEM_REACH = 64;
constexpr float HELD_ITEM_FADE_SECONDS = 1.0f;
constexpr int HELD_ITEM_LAYER = 3;

// Treasure is picked up by swimming into its cell; out of water the fish's
// point is taken at its middle rather than at its feet.
constexpr float DRY_PICKUP_RISE = 40.0f;
constexpr float TREASURE_FADE_SECONDS = 0.5f;
constexpr int SPARKLE_EMITTER = 1;
constexpr int SPARKLES = 20;
constexpr int ANY_LIGHT_COLOUR = -1;

constexpr int FULL_VOLUME = 255;
constexpr int PAN_CENTRE = 128;
constexpr int NORMAL_RATE = 1000;

void playSample(const char* name)
{
    if (SoundManager* sound = SoundManager::instance()) {
        sound->play(name, FULL_VOLUME, PAN_CENTRE, NORMAL_RATE, false);
    }
}

} // namespace

Player::Player()
{
    datafile.load("dorir.dat");
    alignment = 1;
    swimSpeed = START_SWIM_SPEED;
    if (Game* game = Game::instance()) {
        bubbles = game->bubbleLimit;
    }
    loadKeysForProfile();

    bobTween.setUpdatee(&bob);
    bobTween.pingPong = true;
    bobTween.start(BOB_HEIGHT, BOB_SECONDS, FOREVER);
    Creature::hurtPlayer = [](Player& fish) { fish.hurt(); };
}

Player::~Player()
{
    // The game keeps a plain pointer to the fish of the running level; it
    // must not outlive the fish.
    Game* game = Game::instance();
    if (game != nullptr && game->player == this) {
        game->player = nullptr;
    }
    // Nor may the layer that shows the plunger.
    if (heldItemShownOn != nullptr && Screen::instance() == heldItemShownOn) {
        heldItemShownOn->removeSprite(&heldItem, HELD_ITEM_LAYER);
    }
}

void Player::onAction(const std::string& action, bool pressed)
{
    if (action == "fire" && pressed) {
        fireBubble();
    }
}

void Player::update(float dt)
{
    // Keys are read even while the level stands still, so that a key held
    // through a pause is not taken for a fresh press afterwards.
    ActionMap::update(dt);
    Game* game = Game::instance();
    if (game != nullptr && game->frozen) {
        return;
    }

    countDownPowerups(game, dt);
    updateBubble(game);

    AnimatedSprite::update(dt);
    bobTween.update(dt);
    if (bubble.inFlight && !bubble.onScreen()) {
        bubble.update(dt);
    }
    if (!dead) {
        offsetY = static_cast<int>(bob);
    }

    pickUpTreasure(game);

    // Walking on dry land and riding a friend are ways of moving of their
    // own; a dead fish only floats.
    if (outOfWater || ridingFriend || dead) {
        return;
    }
    if (controlsLocked) {
        stopSwimming();
        return;
    }
    float oldX = x;
    float oldY = y;
    swim(dt);
    keepOutOfWalls(game, oldX, oldY);

    if (lungeState == 1 && !moving) {
        moveTo(static_cast<int>(x) - LUNGE_REACH, static_cast<int>(y), LUNGE_SPEED);
        lungeState = 2;
    } else if (lungeState == 2 && !moving) {
        lungeState = 0;
    }
    placeHeldItem();
}

void Player::placeHeldItem()
{
    heldItem.x = flipH ? x - HELD_ITEM_REACH + 2 * HELD_ITEM_REACH : x - HELD_ITEM_REACH;
    heldItem.y = y;
    heldItem.flipH = !flipH;
    heldItem.offsetY = offsetY;
}

void Player::givePlunger()
{
    if (holdingPlunger) {
        return;
    }
    holdingPlunger = true;
    heldItem.datafile.load("plunger.dat");
    heldItem.alpha = 0.0f;
    heldItem.alphaTween.start(255.0f, HELD_ITEM_FADE_SECONDS, 0);
    placeHeldItem();
    if (screen != nullptr && screen->isValidLayer(HELD_ITEM_LAYER)) {
        screen->addSprite(&heldItem, HELD_ITEM_LAYER);
        heldItemShownOn = screen;
    }
}

void Player::rideRay()
{
    ridingFriend = true;
}

void Player::rideRocket()
{
    ridingFriend = true;
    rocketSmoke = true;
}

void Player::setOutOfWater(bool on)
{
    outOfWater = on;
}

void Player::lunge()
{
    if (lungeState != 0) {
        return;
    }
    lungeState = 1;
    moveTo(static_cast<int>(x) + LUNGE_REACH, static_cast<int>(y), LUNGE_SPEED);
}

void Player::countDownPowerups(Game* game, float dt)
{
    // Power-ups last their full time on the clock on the wall, slow motion
    // or not.
    float seconds = dt;
    if (game != nullptr && game->timeScale != 1.0f && game->timeScale > 0.0f) {
        seconds = dt / game->timeScale;
    }
    bool slowMotionEnded = false;
    for (auto entry = powerups.begin(); entry != powerups.end();) {
        entry->secondsLeft -= seconds;
        if (entry->secondsLeft < 0.0f) {
            slowMotionEnded = slowMotionEnded || entry->type == SLOW_MOTION;
            entry = powerups.erase(entry);
        } else {
            ++entry;
        }
    }
    // Two slow motions bought one after the other last until the later one
    // runs out.
    if (slowMotionEnded && !hasPowerup(SLOW_MOTION)) {
        if (SoundManager* sound = SoundManager::instance()) {
            sound->slideMusicRate(NORMAL_MUSIC_RATE, NORMAL_MUSIC_SLIDE_SECONDS);
        }
        if (game != nullptr) {
            game->timeScale = 1.0f;
        }
    }
}

void Player::updateBubble(Game* game)
{
    if (!bubble.inFlight) {
        return;
    }
    if (bubble.faded()) {
        bubble.land();
    } else if (game != nullptr) {
        bubble.hitTest(game->creatures);
    }
}

void Player::pickUpTreasure(Game* game)
{
    // A dead fish floating up past a chest does not take it: the level is
    // about to start again.
    if (game == nullptr || dead) {
        return;
    }
    int column = Creature::cellOf(x);
    int row = Creature::cellOf(outOfWater ? y - DRY_PICKUP_RISE : y);
    for (Treasure* treasure : game->treasures) {
        if (treasure == nullptr || !treasure->visible || treasure->alpha != 255.0f
            || treasure->alphaTween.active) {
            continue;
        }
        if (Creature::cellOf(treasure->x) != column || Creature::cellOf(treasure->y) != row) {
            continue;
        }
        playSample("treasure");
        treasure->alphaTween.start(0.0f, TREASURE_FADE_SECONDS, 0);
        if (ParticleSystem* sparkles = game->emitters[SPARKLE_EMITTER]) {
            sparkles->burst(treasure->x, treasure->y, SPARKLES, ANY_LIGHT_COLOUR);
        }
        treasure->collected = true;
    }
}

void Player::swim(float dt)
{
    float factor = hasPowerup(SPEED_BOOST) ? SPEED_BOOST_FACTOR : 1.0f;
    float step = static_cast<float>(swimSpeed) * factor * dt;
    bool left = isHeld("left");
    bool right = isHeld("right");
    bool up = isHeld("up");
    bool down = isHeld("down");
    if (!horizontalMovementOff) {
        if (left) {
            setFacing(holdingPlunger);
            x -= step;
        } else if (right) {
            setFacing(true);
            x += step;
        }
    }
    if (down) {
        y += step;
    } else if (up) {
        y -= step;
    }
    if (!left && !right && !up && !down) {
        stopSwimming();
    }
}

bool Player::solidAt(Game* game, float pointX, float pointY) const
{
    // Without a level there is no water to swim in.
    if (game == nullptr) {
        return true;
    }
    return game->isSolidForPlayer(Creature::cellOf(pointX), Creature::cellOf(pointY));
}

void Player::keepOutOfWalls(Game* game, float oldX, float oldY)
{
    int width = game != nullptr ? game->levelWidth : 0;
    int height = game != nullptr ? game->levelHeight : 0;
    bool blocked = solidAt(game, x, y) || x >= static_cast<float>(width) || x < 0.0f
        || y >= static_cast<float>(height) || y < 0.0f;
    // Sliding diagonally past the corner of a rock is not allowed either.
    if (!blocked && !ridingFriend) {
        blocked = solidAt(game, oldX, y) || solidAt(game, x, oldY);
    }
    if (!blocked) {
        return;
    }
    x = oldX;
    y = oldY;
    stopSwimming();
    if (ridingFriend) {
        hurt();
    }
}

void Player::stopSwimming()
{
    frameTween.stop();
    frame = static_cast<float>(SWIM_FIRST_FRAME);
    animationName.clear();
}

void Player::setFacing(bool right)
{
    flipH = right;
    if (animationName != "swim") {
        playAnimation("swim", SWIM_FIRST_FRAME, SWIM_LAST_FRAME, SWIM_SECONDS, FOREVER, false, 0.0f);
    }
}

void Player::hurt()
{
    Game* game = Game::instance();
    if (dead || controlsLocked) {
        return;
    }
    dead = true;
    flipH = false;
    flipV = true;
    stopSwimming();
    if (!outOfWater) {
        moveTo(static_cast<int>(x), FLOAT_TO_Y, FLOAT_SPEED);
    }
    playSample("ow");
    if (game != nullptr) {
        game->returnTimer = RESTART_SECONDS;
    }
}

void Player::fireBubble()
{
    Game* game = Game::instance();
    // A paused level, a dead fish or a bubble already on its way: nothing.
    if ((game != nullptr && game->frozen) || dead || bubble.inFlight) {
        return;
    }
    if (holdingPlunger) {
        lunge();
        return;
    }
    bool infinite = hasPowerup(INFINITE_BUBBLES);
    if (bubbles < 1 && !infinite) {
        return;
    }
    if (!infinite) {
        --bubbles;
    }
    playSample("bubble");

    int speed = NORMAL_BUBBLE_SPEED;
    if (ridingFriend) {
        speed = FRIEND_SPEED + NORMAL_BUBBLE_SPEED;
    }
    if (swimSpeed != START_SWIM_SPEED) {
        speed = swimSpeed + FASTER_FISH_BUBBLE_BONUS;
    }
    if (longRangeBubble) {
        speed = LONG_RANGE_BUBBLE_SPEED;
    }
    float fromY = outOfWater ? y - DRY_BUBBLE_RISE : y;
    int targetX = static_cast<int>(x) + (flipH ? BUBBLE_REACH : -BUBBLE_REACH);
    float fade = longRangeBubble ? LONG_RANGE_FADE_SECONDS : BUBBLE_FADE_SECONDS;
    bubble.launch(x, fromY, targetX, static_cast<float>(speed), fade, screen);
}

void Player::activatePowerup(int type, float seconds)
{
    if (type != INFINITE_BUBBLES && type != SPEED_BOOST && type != SLOW_MOTION) {
        DebugLog::log("Player: no timed power-up of type [" + std::to_string(type) + "]");
        return;
    }
    if (!(seconds > 0.0f)) {
        DebugLog::log("Player: a power-up of [" + std::to_string(seconds) + "] seconds does nothing");
        return;
    }
    powerups.push_back(Powerup { type, seconds });
    if (type == SLOW_MOTION) {
        if (SoundManager* sound = SoundManager::instance()) {
            sound->slideMusicRate(SLOW_MUSIC_RATE, SLOW_MUSIC_SLIDE_SECONDS);
        }
        if (Game* game = Game::instance()) {
            game->timeScale = SLOW_MOTION_SCALE;
        }
    }
}

bool Player::hasPowerup(int type) const
{
    for (const Powerup& entry : powerups) {
        if (entry.type == type) {
            return true;
        }
    }
    return false;
}

void Player::setSwimSpeed(int pixelsPerSecond)
{
    if (pixelsPerSecond < 0) {
        DebugLog::log("Player: a swim speed of [" + std::to_string(pixelsPerSecond) + "] is not a speed");
        return;
    }
    swimSpeed = pixelsPerSecond;
}

void Player::setDefaultKeys()
{
    clearBindings();
    for (const DefaultKey& entry : DEFAULT_KEYS) {
        bind(entry.action, entry.code);
    }
}

void Player::loadKeys(const std::string& path)
{
    loadBindings(path);
}

void Player::saveKeys(const std::string& path) const
{
    if (path.empty()) {
        return;
    }
    std::error_code error;
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, error);
    }
    if (!saveBindings(path)) {
        DebugLog::log("Could not write keyconfig [" + path + "]");
    }
}

void Player::loadKeysForProfile()
{
    setDefaultKeys();
    Game* game = Game::instance();
    if (game == nullptr) {
        return;
    }
    std::string path = game->bindingsPath();
    if (path.empty()) {
        return;
    }
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        DebugLog::log("Could not find keyconfig. Creating from default data.");
        saveKeys(path);
        return;
    }
    loadKeys(path);
}
