#include "game/play/Player.h"

#include "engine/core/DebugLog.h"
#include "engine/core/Vector2.h"
#include "engine/media/ParticleSystem.h"
#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "game/app/Game.h"
#include "game/creatures/Creature.h"
#include "game/play/Treasure.h"

#include <allegro.h>

#include <algorithm>
#include <cmath>
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
// keeps that speed. The player only steers it up and down.
constexpr int FRIEND_SPEED = 600;
constexpr int FRIEND_CLIMB_SPEED = 400;
// Zaz and the rocket beat through frames 0 to 20 in 0.6 seconds, behind
// the fish on the scenery layer.
constexpr int FRIEND_LAYER = 1;
constexpr int FRIEND_LAST_FRAME = 20;
constexpr float FRIEND_ANIMATION_SECONDS = 0.6f;
// The rocket sits a little right of and below the fish, and puffs smoke
// from its tail ten times a second.
constexpr int ROCKET_OFFSET_X = 5;
constexpr int ROCKET_BELOW_FISH = 20;
constexpr float SMOKE_SECONDS = 0.1f;
constexpr float SMOKE_BEHIND = 20.0f;
constexpr int SMOKE_EMITTER = 0;

// The fins beat through frames 0 to 20 three times a second.
constexpr int SWIM_FIRST_FRAME = 0;
constexpr int SWIM_LAST_FRAME = 20;
constexpr float SWIM_SECONDS = 0.3f;
constexpr int FOREVER = -1;

// The fish rises and sinks 10 pixels, 0.8 seconds each way.
constexpr float BOB_HEIGHT = 10.0f;
constexpr float BOB_SECONDS = 0.8f;

// On dry land the fish hops on its tail: 30 pixels, 0.2 seconds each way,
// with its own pictures, drawn 30 pixels up so that its point is its tail.
constexpr float HOP_HEIGHT = 30.0f;
constexpr float HOP_SECONDS = 0.2f;
constexpr int WET_PICTURES = 0;
constexpr int DRY_PICTURES = 1;
constexpr int HOP_LAST_FRAME = 10;
constexpr float HOP_ANIMATION_SECONDS = 0.5f;
constexpr int DRY_DRAW_OFFSET_Y = -30;
// Gravity, the fastest fall, the walking pace, and the jump: a quick kick
// up that a held "up" keeps lifting for up to two seconds. A jump starts
// only from the lowest 20 pixels of a cell, so the fish must be down on
// what it jumps from.
constexpr float GRAVITY = 980.0f;
constexpr float MAX_FALL_SPEED = 1000.0f;
constexpr float WALK_SPEED = 250.0f;
constexpr float JUMP_SPEED = 500.0f;
constexpr float JUMP_KICK = 10.0f;
constexpr float JUMP_HOLD_SECONDS = 2.0f;
constexpr float JUMP_HOLD_LIFT = 400.0f;
constexpr float JUMP_FROM_BELOW = 60.0f;
// A fish standing on a crate has its tail just above the crate's cell.
constexpr float STAND_ON_CRATE = 41.0f;

// A pushed crate glides one cell; another crate closer than 64 pixels to
// that cell's centre is in the way.
constexpr float CRATE_SPEED = 400.0f;
constexpr double CRATE_ROOM_SQUARED = 4096.0;

// The dance game: a step is a 40-pixel jump and a glide back home.
constexpr int DANCE_STEP = 40;
constexpr float DANCE_GLIDE_SPEED = 200.0f;

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
// Coins are caught within 40 pixels of the fish.
const char* const COIN_DATAFILE = "dat/coin.dat";
constexpr double COIN_REACH_SQUARED = 1600.0;

// The four directions in the order the level services and the dance game
// number them.
constexpr int LEFT = 0;
[[maybe_unused]] constexpr int RIGHT = 1; // named for the table; only the others are asked for
constexpr int UP = 2;
constexpr int DOWN = 3;
const char* const DIRECTION_ACTIONS[] = { "left", "right", "up", "down" };
constexpr int STEP_X[] = { -1, 1, 0, 0 };
constexpr int STEP_Y[] = { 0, 0, -1, 1 };

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
    loadWetPictures();
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
    if (friendShownOn != nullptr && Screen::instance() == friendShownOn) {
        friendShownOn->removeSprite(&friendSprite, FRIEND_LAYER);
    }
}

void Player::onAction(const std::string& action, bool pressed)
{
    if (!pressed) {
        return;
    }
    if (action == "fire") {
        fireBubble();
        return;
    }
    Game* game = Game::instance();
    if (game != nullptr && game->miniGameMusic) {
        danceKey(action);
    } else if (action == "up" && outOfWater) {
        jump();
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
    pickUpCoins(game);

    // The dance keys move the fish on the dance floor; nothing else does.
    if (game != nullptr && game->miniGameMusic) {
        return;
    }
    if (outOfWater) {
        moveOnDryLand(game, dt);
        return;
    }
    if (controlsLocked) {
        stopSwimming();
        return;
    }
    float oldX = x;
    float oldY = y;
    // A dead fish takes no keys and only floats up, though the friend it
    // rode flies on without it.
    if (ridingFriend) {
        flyFriend(game, dt);
    } else if (!dead) {
        swim(dt);
        pushCrates(game, oldX, oldY);
    }
    if (dead) {
        placeHeldItem();
        return;
    }
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
    showFriend("ray.dat");
    ridingFriend = true;
}

void Player::rideRocket()
{
    showFriend("rocket.dat");
    friendSprite.offsetX = ROCKET_OFFSET_X;
    friendSprite.offsetY = offsetY + ROCKET_BELOW_FISH;
    ridingFriend = true;
    rocketSmoke = true;
}

void Player::showFriend(const char* pictures)
{
    friendSprite.datafile.load(pictures);
    friendSprite.alignment = 1;
    friendSprite.x = x;
    friendSprite.y = y;
    friendSprite.playAnimation("anim", 0, FRIEND_LAST_FRAME, FRIEND_ANIMATION_SECONDS, FOREVER, false, 0.0f);
    // Riding a second friend swaps the pictures; the sprite is shown once.
    if (friendShownOn == nullptr && screen != nullptr && screen->isValidLayer(FRIEND_LAYER)) {
        screen->addSprite(&friendSprite, FRIEND_LAYER);
        friendShownOn = screen;
    }
}

void Player::flyFriend(Game* game, float dt)
{
    if (rocketSmoke) {
        friendSprite.offsetY = offsetY + ROCKET_BELOW_FISH;
        smokeTimer -= dt;
        if (smokeTimer <= 0.0f) {
            smokeTimer = SMOKE_SECONDS;
            ParticleSystem* smoke = game != nullptr ? game->emitters[SMOKE_EMITTER] : nullptr;
            if (smoke != nullptr) {
                smoke->burst(friendSprite.x - SMOKE_BEHIND + static_cast<float>(friendSprite.offsetX),
                    friendSprite.y + static_cast<float>(friendSprite.offsetY), 1, ANY_LIGHT_COLOUR);
            }
        }
    }
    // The friend keeps its own pace, speed boost or not.
    friendSprite.x += static_cast<float>(FRIEND_SPEED) * dt;
    if (!dead) {
        x = friendSprite.x;
        y = friendSprite.y;
    }
    float climb = static_cast<float>(FRIEND_CLIMB_SPEED) * dt;
    float fromY = friendSprite.y;
    if (isHeld("down")) {
        friendSprite.y += climb;
    } else if (isHeld("up")) {
        friendSprite.y -= climb;
    }
    // Rock above or below only stops the climb; rock ahead is the wall test's.
    if (friendSprite.y != fromY && solidAt(game, friendSprite.x, friendSprite.y)) {
        friendSprite.y = fromY;
    }
    if (!dead) {
        x = friendSprite.x;
        y = friendSprite.y;
    }
}

void Player::loadWetPictures()
{
    // The fish's file holds two sets of pictures; the swimming ones first.
    datafile.load("dorir.dat");
    if (datafile.isLoaded()) {
        datafile.useSubDatafile(WET_PICTURES);
    }
}

void Player::setOutOfWater(bool on)
{
    bool wasOut = outOfWater;
    outOfWater = on;
    if (!on && !wasOut) {
        return;
    }
    bob = 0.0f;
    if (!on) {
        // Back in the water: the swimming pictures and the gentle bob.
        airborne = false;
        velocityX = velocityY = 0.0f;
        loadWetPictures();
        stopSwimming();
        bobTween.start(BOB_HEIGHT, BOB_SECONDS, FOREVER);
        return;
    }
    bobTween.start(HOP_HEIGHT, HOP_SECONDS, FOREVER);
    airborne = true;
    // Without its pictures the fish has already been reported missing.
    if (datafile.isLoaded()) {
        datafile.useSubDatafile(DRY_PICTURES);
    }
    playAnimation("hop", 0, HOP_LAST_FRAME, HOP_ANIMATION_SECONDS, FOREVER, true, 0.0f);
}

void Player::moveOnDryLand(Game* game, float dt)
{
    float oldX = x;
    float oldY = y;
    if (velocityX != 0.0f || velocityY != 0.0f) {
        x += velocityX * dt;
        y += velocityY * dt;
    }
    velocityY = std::min(velocityY + GRAVITY * dt, MAX_FALL_SPEED);
    // A dead fish falls like any other but walks and jumps no more.
    if (!dead) {
        float factor = hasPowerup(SPEED_BOOST) ? SPEED_BOOST_FACTOR : 1.0f;
        float step = WALK_SPEED * factor * dt;
        // On dry land the fish keeps the facing the level gave it: it walks
        // backwards rather than turning, so its bubbles fly the same way.
        if (isHeld("right")) {
            x += step;
        } else if (isHeld("left")) {
            x -= step;
        }
        if (airborne && isHeld("up")) {
            if (jumpHoldTimer > 0.0f) {
                jumpHoldTimer -= dt;
                velocityY -= JUMP_HOLD_LIFT * dt;
            }
        } else if (airborne) {
            jumpHoldTimer = 0.0f;
        }
    }
    offsetY = DRY_DRAW_OFFSET_Y;
    pushCrates(game, oldX, oldY);
    landOnRock(game, oldX, oldY);
}

bool Player::blockedAt(Game* game, float pointX, float pointY) const
{
    int width = game != nullptr ? game->levelWidth : 0;
    int height = game != nullptr ? game->levelHeight : 0;
    return solidAt(game, pointX, pointY) || pointX < 0.0f || pointY < 0.0f
        || pointX >= static_cast<float>(width) || pointY >= static_cast<float>(height);
}

void Player::landOnRock(Game* game, float oldX, float oldY)
{
    if (!blockedAt(game, x, y)) {
        return;
    }
    if (!blockedAt(game, oldX, y)) {
        x = oldX;
        return;
    }
    if (!blockedAt(game, x, oldY)) {
        bool falling = velocityY > 0.0f;
        y = oldY;
        velocityX = velocityY = 0.0f;
        if (falling) {
            airborne = false;
        }
        return;
    }
    x = oldX;
    y = oldY;
    velocityX = velocityY = 0.0f;
}

void Player::jump()
{
    Game* game = Game::instance();
    if (game == nullptr || game->frozen || dead) {
        return;
    }
    int column = Creature::cellOf(x);
    int row = Creature::cellOf(y);
    bool footing = game->isSolidForPlayer(column, row + 1)
        || game->obstacleAt(static_cast<float>(Creature::cellCentre(column)),
            static_cast<float>(Creature::cellCentre(row + 1)));
    float heightInCell = y - static_cast<float>(Creature::CELL_SIZE) * std::floor(y / Creature::CELL_SIZE);
    if (!footing || !(heightInCell > JUMP_FROM_BELOW)) {
        return;
    }
    velocityX = 0.0f;
    velocityY = -JUMP_SPEED;
    y -= JUMP_KICK;
    airborne = true;
    jumpHoldTimer = JUMP_HOLD_SECONDS;
    playSample("boing");
}

void Player::danceKey(const std::string& action)
{
    Game* game = Game::instance();
    if (danceKeysLocked || dead || (game != nullptr && game->frozen)) {
        return;
    }
    for (int direction = LEFT; direction <= DOWN; ++direction) {
        if (action != DIRECTION_ACTIONS[direction]) {
            continue;
        }
        x = static_cast<float>(danceHomeX + STEP_X[direction] * DANCE_STEP);
        y = static_cast<float>(danceHomeY + STEP_Y[direction] * DANCE_STEP);
        moveTo(danceHomeX, danceHomeY, DANCE_GLIDE_SPEED);
        if (danceStep) {
            danceStep(direction);
        }
        return;
    }
}

void Player::pushCrates(Game* game, float oldX, float oldY)
{
    if (game == nullptr) {
        return;
    }
    const int column = Creature::cellOf(x);
    const int row = Creature::cellOf(y);
    const int oldColumn = Creature::cellOf(oldX);
    const int oldRow = Creature::cellOf(oldY);
    for (Creature* crate : game->creatures) {
        if (crate == nullptr || !crate->visible || !crate->obstacle) {
            continue;
        }
        int crateColumn = Creature::cellOf(crate->x);
        int crateRow = Creature::cellOf(crate->y);
        // The crate's cell against (new x, new y), (old x, new y) and
        // (new x, old y).
        bool straightOn = crateColumn == column && crateRow == row;
        bool inColumn = crateColumn == oldColumn && crateRow == row;
        bool inRow = crateColumn == column && crateRow == oldRow;
        if (!straightOn && !inColumn && !inRow) {
            continue;
        }
        bumpIntoCrate(*crate, oldX, oldY, inColumn, inRow);
        if (!crate->moving) {
            pushCrate(game, *crate);
        }
    }
}

void Player::bumpIntoCrate(const Creature& crate, float oldX, float oldY, bool inColumn, bool inRow)
{
    if (!outOfWater) {
        x = oldX;
        y = oldY;
    } else if (airborne) {
        if (inColumn && inRow) {
            y = oldY;
        } else if (inColumn) {
            x = oldX;
            y = oldY;
            airborne = false;
        } else {
            x = oldX;
        }
    } else if (y < crate.y) {
        velocityX = velocityY = 0.0f;
        airborne = false;
        y = crate.y - STAND_ON_CRATE;
    } else {
        x = oldX;
        y = oldY;
    }
}

void Player::pushCrate(Game* game, Creature& crate)
{
    int direction = -1;
    for (int candidate = LEFT; candidate <= DOWN; ++candidate) {
        if (!isHeld(DIRECTION_ACTIONS[candidate])) {
            continue;
        }
        // Two keys at once push nothing.
        if (direction != -1) {
            return;
        }
        direction = candidate;
    }
    if (direction == -1) {
        return;
    }
    // On dry land crates only slide sideways, pushed from beside them.
    if (outOfWater && (direction == UP || direction == DOWN || y < crate.y)) {
        return;
    }
    int column = Creature::cellOf(crate.x) + STEP_X[direction];
    int row = Creature::cellOf(crate.y) + STEP_Y[direction];
    if (crateFits(game, crate, column, row)) {
        crate.moveTo(Creature::cellCentre(column), Creature::cellCentre(row), CRATE_SPEED);
    }
}

bool Player::crateFits(Game* game, const Creature& crate, int column, int row) const
{
    // Never out of the level, whatever its edge is made of.
    if (column < 0 || row < 0 || Creature::cellCentre(column) >= game->levelWidth
        || Creature::cellCentre(row) >= game->levelHeight) {
        return false;
    }
    // Rock and sentinel statues.
    if (game->isSolidForPlayer(column, row)) {
        return false;
    }
    double centreX = Creature::cellCentre(column);
    double centreY = Creature::cellCentre(row);
    for (const Creature* other : game->creatures) {
        if (other != nullptr && other != &crate && other->visible && other->obstacle
            && distanceSquared(other->x, other->y, centreX, centreY) < CRATE_ROOM_SQUARED) {
            return false;
        }
    }
    // Out of water a crate needs ground to slide onto.
    return !outOfWater || game->isSolidForPlayer(column, row + 1);
}

void Player::lunge()
{
    if (lungeState != 0) {
        return;
    }
    lungeState = 1;
    attackSpent = false;
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
    for (auto entry = powerups.begin(); entry != powerups.end();) {
        entry->secondsLeft -= seconds;
        if (entry->secondsLeft >= 0.0f) {
            ++entry;
            continue;
        }
        // Any slow motion that runs out brings the game back to full pace,
        // even while a second one bought on top of it still has time left.
        if (entry->type == SLOW_MOTION) {
            if (SoundManager* sound = SoundManager::instance()) {
                sound->slideMusicRate(NORMAL_MUSIC_RATE, NORMAL_MUSIC_SLIDE_SECONDS);
            }
            if (game != nullptr) {
                game->timeScale = 1.0f;
            }
        }
        entry = powerups.erase(entry);
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

void Player::pickUpCoins(Game* game)
{
    if (game == nullptr || dead) {
        return;
    }
    for (Creature* coin : game->creatures) {
        if (coin == nullptr || !coin->visible || coin->datafile.name != COIN_DATAFILE
            || distanceSquared(x, y, coin->x, coin->y) >= COIN_REACH_SQUARED) {
            continue;
        }
        ++levelCoins;
        coin->visible = false;
        coin->alphaTween.stop();
        coin->alpha = 0.0f;
        coin->bubble.visible = false;
        playSample("treasure");
        if (ParticleSystem* sparkles = game->emitters[SPARKLE_EMITTER]) {
            sparkles->burst(coin->x, coin->y, SPARKLES, ANY_LIGHT_COLOUR);
        }
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
    // On dry land the fish keeps hopping whichever way it turns.
    if (!outOfWater && animationName != "swim") {
        playAnimation("swim", SWIM_FIRST_FRAME, SWIM_LAST_FRAME, SWIM_SECONDS, FOREVER, false, 0.0f);
    }
}

void Player::hurt()
{
    Game* game = Game::instance();
    if (dead || controlsLocked || (game != nullptr && game->levelDone)) {
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
