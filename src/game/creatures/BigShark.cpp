#include "game/creatures/BigShark.h"

#include "engine/media/SoundManager.h"
#include "game/app/Game.h"
#include "game/play/Player.h"
#include "game/play/TileMap.h"

namespace {

constexpr float SWIMMING_FRAME = 0.0f;
constexpr float BITING_FRAME = 1.0f;
constexpr float CHOKING_FRAME = 2.0f;

// It starts at the back of its lair, where its bite runs end, at the top of
// its swim.
constexpr float START_X = 880.0f;
constexpr float START_Y = 120.0f;

// Idle, it swims up and down wherever it is.
constexpr float SWIM_TOP = 120.0f;
constexpr float SWIM_BOTTOM = 500.0f;
constexpr float SWIM_SPEED = 100.0f;

// A fish past this line is charged, at the point where its jaws begin.
constexpr float CHARGE_BEYOND_X = 400.0f;
constexpr float CHARGE_AHEAD = 300.0f;
constexpr float CHARGE_SPEED = 400.0f;
// Its cry is the angler's, slowed down.
constexpr int CHARGE_CRY_RATE = 600;
constexpr int NORMAL_RATE = 1000;

// After the charge it bites and runs back to the back of the lair.
constexpr int RUN_TO_X = 880;
constexpr float RUN_SPEED = 400.0f;
// The open jaws, on its left.
constexpr int JAWS_FROM = 300;
constexpr int JAWS_TO = 40;
constexpr int JAWS_HALF_HEIGHT = 147;

// Crates choke it this long after it swallowed them.
constexpr float GULP_SECONDS = 4.0f;
// Choking, it shakes 20 pixels and back in tenths of a second, 12 runs;
// beaten, for good.
constexpr float SHAKE_WIDTH = 20.0f;
constexpr float SHAKE_RUN_SECONDS = 0.1f;
constexpr int CHOKE_REPEATS = 11;
constexpr int FOREVER = -1;

// The rock that walls in the way on, and where the beaten shark sinks to.
constexpr int WALL_COLUMN = 8;
constexpr int WALL_ROW = 5;
constexpr int OPEN_WATER = -1;
constexpr int SINK_TO_X = 0;
constexpr int SINK_TO_Y = 1000;
constexpr float SINK_SPEED = 100.0f;

bool overlap(const Sprite::Bounds& a, const Sprite::Bounds& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

} // namespace

BigShark::BigShark()
    : Boss(MAX_HIT_POINTS)
{
    datafile.load("sharkybig.dat");
}

void BigShark::reset()
{
    x = START_X;
    y = START_Y;
}

void BigShark::update(float dt)
{
    Creature::update(dt);
    offsetX = static_cast<int>(shakeOffset);
    // The bar stays up through the level's start and pauses.
    publishHitPoints();
    carryDeadFish();
    if (!awake() || defeated()) {
        return;
    }
    if (biting) {
        bite();
    }
    countDownGulp(dt);
    if (defeated()) {
        return;
    }
    if (hurt) {
        if (!shake.active) {
            hurt = false;
            frame = SWIMMING_FRAME;
        }
        return;
    }
    if (!charging && !biting) {
        chargeOrSwim();
    } else if (charging && !moving) {
        endCharge();
    } else if (biting && !moving) {
        biting = false;
        frame = SWIMMING_FRAME;
    }
}

void BigShark::hit()
{
    if (defeated() || blinking()) {
        return;
    }
    blink();
    --hitPoints;
    // However the last hit point goes, the way on opens.
    if (defeated()) {
        sink();
    }
}

Sprite::Bounds BigShark::biteBox() const
{
    const int centreX = static_cast<int>(x);
    const int centreY = static_cast<int>(y);
    return Bounds { centreX - JAWS_FROM, centreY - JAWS_HALF_HEIGHT, centreX - JAWS_TO,
        centreY + JAWS_HALF_HEIGHT };
}

void BigShark::carryDeadFish()
{
    Player* player = fish();
    if (player == nullptr || !player->dead) {
        return;
    }
    // The body goes where the shark goes, not up to the surface.
    player->xTween.stop();
    player->yTween.stop();
    player->moving = false;
    player->x = x;
    player->y = y;
}

void BigShark::bite()
{
    Player* player = fish();
    if (player != nullptr && !player->dead && overlap(biteBox(), player->getBounds())) {
        hurtFish();
    }
}

void BigShark::countDownGulp(float dt)
{
    if (gulpTimer <= 0.0f) {
        return;
    }
    gulpTimer -= dt;
    if (gulpTimer <= 0.0f) {
        gulpTimer = 0.0f;
        choke();
    }
}

void BigShark::choke()
{
    stop();
    playSample("cannon", NORMAL_RATE);
    frame = CHOKING_FRAME;
    hurt = true;
    hitPoints -= gulpedCrates;
    gulpedCrates = 0;
    shakeFor(CHOKE_REPEATS);
    if (defeated()) {
        sink();
    }
}

void BigShark::chargeOrSwim()
{
    Player* player = fish();
    if (player != nullptr && !player->dead && player->x > CHARGE_BEYOND_X) {
        playSample("anglerseesyou", CHARGE_CRY_RATE);
        charging = true;
        moveTo(static_cast<int>(player->x + CHARGE_AHEAD), static_cast<int>(player->y), CHARGE_SPEED);
        return;
    }
    if (!moving) {
        const float to = y == SWIM_TOP ? SWIM_BOTTOM : SWIM_TOP;
        moveTo(static_cast<int>(x), static_cast<int>(to), SWIM_SPEED);
    }
}

void BigShark::endCharge()
{
    charging = false;
    swallowCrates();
    playSample("sharkbite", NORMAL_RATE);
    biting = true;
    frame = BITING_FRAME;
    moveTo(RUN_TO_X, static_cast<int>(y), RUN_SPEED);
}

void BigShark::swallowCrates()
{
    Game* game = Game::instance();
    if (game == nullptr) {
        return;
    }
    const Bounds body = getBounds();
    for (Creature* creature : game->creatures) {
        if (creature == nullptr || creature == this || !creature->visible || !creature->obstacle) {
            continue;
        }
        if (overlap(body, creature->getBounds())) {
            playSample("sharkgulp", NORMAL_RATE);
            creature->visible = false;
            gulpTimer = GULP_SECONDS;
            ++gulpedCrates;
        }
    }
}

void BigShark::shakeFor(int repeats)
{
    shakeOffset = 0.0f;
    shake.pingPong = true;
    shake.start(SHAKE_WIDTH, SHAKE_RUN_SECONDS, repeats);
}

void BigShark::sink()
{
    hurt = true;
    charging = false;
    biting = false;
    if (Game* game = Game::instance(); game != nullptr && game->mainLayer != nullptr) {
        game->mainLayer->setTile(WALL_COLUMN, WALL_ROW, OPEN_WATER);
    }
    shakeFor(FOREVER);
    moveTo(SINK_TO_X, SINK_TO_Y, SINK_SPEED);
    fadeOut();
}

void BigShark::stop()
{
    xTween.stop();
    yTween.stop();
    moving = false;
}

void BigShark::playSample(const char* sample, int rate)
{
    if (SoundManager* sound = SoundManager::instance()) {
        sound->play(sample, 255, 128, rate, false);
    }
}
