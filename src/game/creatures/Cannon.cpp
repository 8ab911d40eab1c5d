#include "game/creatures/Cannon.h"

#include "engine/core/Vector2.h"
#include "engine/media/ParticleSystem.h"
#include "engine/media/Screen.h"
#include "game/app/Game.h"

#include <algorithm>

namespace {

constexpr int CENTRED = 1;
constexpr int DRAW_LOWER = 5;
constexpr int SMOKE_FRAME = 1;

constexpr float RELOAD_SECONDS = 2.0f;
// The muzzle, left of and below the cannon's centre.
constexpr float MUZZLE_X = -35.0f;
constexpr float MUZZLE_Y = 18.0f;
// Where in the first rock cell of the row the ball comes down.
constexpr int LANDING_INTO_ROCK = 61;
constexpr float BALL_SPEED = 400.0f;
constexpr float SMOKE_SECONDS = 0.3f;
constexpr float SMOKE_ALPHA = 255.0f;

constexpr double BALL_HIT_SQUARED = 1600.0;
// A crate this close stops the ball and feels the blow.
constexpr double STRIKE_SQUARED = 1024.0;

// The ball trails smoke while it flies free.
constexpr float TRAIL_SECONDS = 0.05f;
constexpr float TRAIL_BEHIND = 24.0f;
constexpr int TRAIL_EMITTER = 0;
constexpr int ANY_LIGHT_COLOUR = -1;

// Over the creatures and the foreground rock.
constexpr int BALL_LAYER = 3;

} // namespace

Cannon::Cannon()
    : reloadTimer(RELOAD_SECONDS)
{
    datafile.load("cannon.dat");
    bubbleProof = true;
    offsetY = DRAW_LOWER;
    smoke.datafile.load("cannonBall.dat");
    smoke.frame = SMOKE_FRAME;
    smoke.alignment = CENTRED;
    smoke.alpha = 0.0f;
}

Cannon::~Cannon()
{
    putBallAway();
}

void Cannon::update(float dt)
{
    Creature::update(dt);
    if (!awake()) {
        return;
    }
    if (ballFlying && !ball.moving) {
        land();
    }
    if (ballFlying) {
        watchBall(dt);
        return;
    }
    reloadTimer -= dt;
    if (reloadTimer <= 0.0f) {
        fire();
    }
}

void Cannon::fire()
{
    Game* game = Game::instance();
    if (game == nullptr) {
        return;
    }
    const int row = cellOf(y);
    // A row with no rock to the left lets the ball out over the level's edge.
    int wall = cellOf(x);
    while (wall >= 0 && !game->isTileBlocked(wall, row)) {
        --wall;
    }
    playSoundAt("cannon");
    reloadTimer = RELOAD_SECONDS;
    game->creatures.push_back(&ball);
    Screen* target = screen != nullptr ? screen : Screen::instance();
    if (ballShownOn == nullptr && target != nullptr && target->isValidLayer(BALL_LAYER)) {
        target->addSprite(&ball, BALL_LAYER);
        target->addSprite(&smoke, BALL_LAYER);
        ballShownOn = target;
    }
    ball.x = smoke.x = x + MUZZLE_X;
    ball.y = smoke.y = y + MUZZLE_Y;
    ball.moveTo(wall * CELL_SIZE + LANDING_INTO_ROCK, static_cast<int>(ball.y), BALL_SPEED);
    ball.visible = true;
    smoke.alpha = 0.0f;
    smoke.alphaTween.pingPong = true;
    smoke.alphaTween.start(SMOKE_ALPHA, SMOKE_SECONDS, 1);
    ballFlying = true;
    trailTimer = 0.0f;
}

void Cannon::watchBall(float dt)
{
    // Hanging in a bubble it still hurts; it only stops smoking.
    ball.hurtPlayerOnContact(BALL_HIT_SQUARED);
    if (!ball.isTrapped()) {
        trailTimer -= dt;
        if (trailTimer <= 0.0f) {
            trailTimer = TRAIL_SECONDS;
            Game* game = Game::instance();
            ParticleSystem* trail = game != nullptr ? game->emitters[TRAIL_EMITTER] : nullptr;
            if (trail != nullptr) {
                trail->burst(ball.x + TRAIL_BEHIND, ball.y, 1, ANY_LIGHT_COLOUR);
            }
        }
    }
    Game* game = Game::instance();
    if (game == nullptr) {
        return;
    }
    // By index: a struck crate walks the list too.
    for (size_t i = 0; i < game->creatures.size(); ++i) {
        Creature* other = game->creatures[i];
        if (other != nullptr && other != &ball && other->visible && other->obstacle
            && distanceSquared(ball.x, ball.y, other->x, other->y) < STRIKE_SQUARED) {
            other->hit();
            land();
            return;
        }
    }
}

void Cannon::land()
{
    ballFlying = false;
    ball.xTween.stop();
    ball.yTween.stop();
    ball.moving = false;
    ball.visible = false;
    // A ball that struck a crate while it hung in a bubble takes the bubble
    // with it; otherwise the cannon would wait for a bubble nobody updates.
    ball.trapTime = 0.0f;
    ball.bubble.visible = false;
    ball.shake.stop();
    ball.shakeOffset = 0.0f;
    ball.offsetX = ball.bubble.offsetX = 0;
    putBallAway();
}

void Cannon::putBallAway()
{
    if (Game* game = Game::instance()) {
        auto& list = game->creatures;
        list.erase(std::remove(list.begin(), list.end(), &ball), list.end());
    }
    // The screen may already be gone when the level is torn down with the
    // game.
    if (ballShownOn != nullptr && Screen::instance() == ballShownOn) {
        ballShownOn->removeSprite(&ball, BALL_LAYER);
        ballShownOn->removeSprite(&smoke, BALL_LAYER);
    }
    ballShownOn = nullptr;
}
