#pragma once

#include "engine/core/ActionMap.h"
#include "engine/media/AnimatedSprite.h"
#include "engine/media/Interpolator.h"
#include "game/play/Bubble.h"

#include <functional>
#include <string>
#include <vector>

class Creature;
class Game;
class Screen;

// The fish the player steers. It is its own key listener: the actions
// "left", "right", "up", "down" and "fire" come from the profile's key file.
// It swims against the rock of the level's main map, rides a friend through
// the scrolling levels, hops and jumps on dry land, pushes crates, blows one
// bubble at a time, picks up treasure and coins and keeps the power-ups
// bought in the shop.
class Player : public AnimatedSprite, public ActionMap {
public:
    // Power-ups that run on a timer.
    static constexpr int INFINITE_BUBBLES = 0;
    static constexpr int SPEED_BOOST = 2;
    static constexpr int SLOW_MOTION = 4;

    Player();
    ~Player() override;
    Player(const Player&) = delete;
    Player& operator=(const Player&) = delete;

    void onAction(const std::string& action, bool pressed) override;
    void update(float dt) override;

    // Key configuration.
    void setDefaultKeys();
    void loadKeys(const std::string& path);
    void saveKeys(const std::string& path) const;
    // Defaults, then the current profile's file (written from the defaults
    // when it is missing).
    void loadKeysForProfile();

    // One touch of danger is enough: the fish turns belly up, floats off and
    // the level starts again a little later. Nothing hurts it once the level
    // is done or while a mini-game holds it.
    void hurt();
    // Right when true; the fins start beating unless they already are (on
    // dry land the hop goes on instead).
    void setFacing(bool right);
    void activatePowerup(int type, float seconds);
    bool hasPowerup(int type) const;
    void setSwimSpeed(int pixelsPerSecond);
    bool bubbleInFlight() const { return bubble.inFlight; }
    // The swordfish's levels: the fish carries a plunger, always faces right
    // and "fire" lunges with it instead of blowing a bubble.
    void givePlunger();
    // The plunger's lunge is an attack from the moment "fire" starts it
    // until the fish is back, unless it has already struck something: one
    // lunge lands one blow, however long it stays on target.
    bool attackActive() const { return lungeState != 0 && !attackSpent && !dead; }
    void spendAttack() { attackSpent = true; }
    // Auto-scrolling levels: the fish rides Zaz the manta, or the rocket
    // that trails smoke, rightwards through the level.
    void rideRay();
    void rideRocket();
    // The dry levels: the fish hops along with gravity and can jump.
    // Switching it off again puts the fish back in the water.
    void setOutOfWater(bool on);

    struct Powerup {
        int type;
        float secondsLeft;
    };

    int swimSpeed = 200;
    int bubbles = 3;
    int levelCoins = 0;
    bool dead = false;
    bool outOfWater = false;
    bool ridingFriend = false;
    bool rocketSmoke = false;
    // Mini-games take the fish's controls in part or whole.
    bool controlsLocked = false;
    bool horizontalMovementOff = false;
    bool longRangeBubble = false;
    bool holdingPlunger = false;
    // 0 at rest, 1 lunging forward, 2 coming back.
    int lungeState = 0;
    // The current lunge has struck already.
    bool attackSpent = false;
    std::vector<Powerup> powerups;

    // Out of water: speed in pixels per second, in the air or on the ground,
    // and how much longer a held "up" still lifts the jump.
    float velocityX = 0.0f;
    float velocityY = 0.0f;
    bool airborne = false;
    float jumpHoldTimer = 0.0f;
    float smokeTimer = 0.0f;
    // The dance game moves the fish from its home point, a step at a time:
    // while the level plays the dance tunes, a pressed direction key makes
    // the fish jump 40 pixels that way and glide home, and the step (0 left,
    // 1 right, 2 up, 3 down) goes to danceStep, which the dance game sets to
    // judge it. The dance game locks the keys while it shows its own steps.
    bool danceKeysLocked = false;
    int danceHomeX = 0;
    int danceHomeY = 0;
    std::function<void(int)> danceStep;

    // The gentle up-and-down of a fish at rest in the water.
    float bob = 0.0f;
    Interpolator bobTween;
    Bubble bubble;
    // The plunger in the fish's mouth.
    AnimatedSprite heldItem;
    // Zaz or the rocket, while the fish rides one.
    AnimatedSprite friendSprite;

private:
    void loadWetPictures();
    void fireBubble();
    void lunge();
    void placeHeldItem();
    void countDownPowerups(Game* game, float dt);
    void updateBubble(Game* game);
    void pickUpTreasure(Game* game);
    void pickUpCoins(Game* game);
    void swim(float dt);
    void flyFriend(Game* game, float dt);
    void showFriend(const char* pictures);
    void moveOnDryLand(Game* game, float dt);
    // Undoes the part of a dry-land move that ran into rock; a fish falling
    // onto rock lands.
    void landOnRock(Game* game, float oldX, float oldY);
    void jump();
    void danceKey(const std::string& action);
    // Crates block the fish and slide away from it one cell at a time.
    void pushCrates(Game* game, float oldX, float oldY);
    void bumpIntoCrate(const Creature& crate, float oldX, float oldY, bool inColumn, bool inRow);
    void pushCrate(Game* game, Creature& crate);
    bool crateFits(Game* game, const Creature& crate, int column, int row) const;
    // Rock, or outside the level.
    bool blockedAt(Game* game, float pointX, float pointY) const;
    // Puts the fish back where it was when its new place is rock or outside
    // the level.
    void keepOutOfWalls(Game* game, float oldX, float oldY);
    bool solidAt(Game* game, float pointX, float pointY) const;
    void stopSwimming();

    Screen* heldItemShownOn = nullptr;
    Screen* friendShownOn = nullptr;
};
