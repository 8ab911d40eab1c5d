#include "game/creatures/Eel.h"

#include "game/app/Game.h"
#include "game/play/Player.h"

namespace {

// The eel's datafile holds its swimming pictures, then the glow.
constexpr float GLOW_FRAME = 11.0f;
constexpr float GLOW_DARK = 0.0f;
constexpr float GLOW_BRIGHT = 180.0f;
// Eight flashes of a fifth of a second: 1.6 seconds of charge.
constexpr float GLOW_FLASH_SECONDS = 0.2f;
constexpr int GLOW_REPEATS = 7;

constexpr float PATROL_SPEED = 150.0f;
constexpr float CHARGE_SECONDS = 4.0f;
constexpr int LEFT = 0;
constexpr int RIGHT = 1;

// 60 pixels, between charges.
constexpr double BITE_DISTANCE_SQUARED = 3600.0;
// While charging, the shock reaches the fish's picture where it overlaps
// the eel's, less this margin all round.
constexpr int BODY_MARGIN = 5;

} // namespace

Eel::Eel()
    : chargeTimer(CHARGE_SECONDS)
{
    datafile.load("eel.dat");
    glow.datafile.load("eel.dat");
    glow.alignment = alignment;
    glow.frame = GLOW_FRAME;
    glow.alpha = GLOW_DARK;
    glow.alphaTween.pingPong = true;
    // Drawn at the eel's own drawn point, before its bubble.
    addChild(&glow);
}

void Eel::draw(BITMAP* target)
{
    glow.flipH = flipH;
    Creature::draw(target);
}

void Eel::update(float dt)
{
    Creature::update(dt);
    if (gameFrozen()) {
        return;
    }
    glow.update(dt);
    if (!awake()) {
        return;
    }
    if (charging) {
        if (!glow.alphaTween.active) {
            charging = false;
            chargeTimer = CHARGE_SECONDS;
            bubbleProof = false;
        }
    } else {
        chargeTimer -= dt;
        if (chargeTimer < 0.0f) {
            charge();
        }
    }
    if (!charging) {
        patrol();
    }
    hurtOnContact();
}

void Eel::patrol()
{
    Game* game = Game::instance();
    if (moving || game == nullptr) {
        return;
    }
    game->moveAlongRow(patrolStep, this, PATROL_SPEED);
    patrolStep = patrolStep == LEFT ? RIGHT : LEFT;
    // The move just started went right.
    flipH = patrolStep == LEFT;
}

void Eel::charge()
{
    playSoundAt("eelcharge");
    chargeTimer = 0.0f;
    charging = true;
    xTween.stop();
    yTween.stop();
    moving = false;
    // The interrupted move is taken up again after the charge, facing the
    // same way.
    patrolStep = patrolStep == LEFT ? RIGHT : LEFT;
    flipH = patrolStep != LEFT;
    glow.alphaTween.start(GLOW_BRIGHT, GLOW_FLASH_SECONDS, GLOW_REPEATS);
    bubbleProof = true;
}

void Eel::hurtOnContact()
{
    if (!charging) {
        hurtPlayerOnContact(BITE_DISTANCE_SQUARED);
        return;
    }
    const Player* player = fish();
    if (player != nullptr && !player->dead && bodyTouchesFish()) {
        hurtFish();
    }
}

bool Eel::bodyTouchesFish()
{
    Player* player = fish();
    Bounds body = getBounds();
    body.left += BODY_MARGIN;
    body.top += BODY_MARGIN;
    body.right -= BODY_MARGIN;
    body.bottom -= BODY_MARGIN;
    Bounds fishBox = player->getBounds();
    return fishBox.left < body.right && body.left < fishBox.right && fishBox.top < body.bottom
        && body.top < fishBox.bottom;
}
