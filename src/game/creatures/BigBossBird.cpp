#include "game/creatures/BigBossBird.h"

#include "engine/core/Vector2.h"
#include "game/app/Game.h"
#include "game/creatures/Gust.h"
#include "game/play/Player.h"
#include "game/play/Treasure.h"

#include <algorithm>

namespace {

constexpr int MAX_HIT_POINTS = 3;

constexpr int FLYING_PICTURES = 0;
constexpr int DIVING_PICTURES = 1;
constexpr int FLAP_FIRST_FRAME = 0;
constexpr int FLAP_LAST_FRAME = 9;
constexpr float FLAP_SECONDS = 0.5f;
constexpr int FOREVER = -1;

// It starts each fight just right of its row, where it first hovers.
constexpr int START_X = 740;
constexpr int START_Y = 200;
// The two ends of its crossing.
constexpr int RIGHT_END_X = 680;
constexpr int LEFT_END_X = 120;
// Crossing to the left always goes at the pace of a bird that is still
// unhurt; only the crossings to the right speed up as it weakens.
constexpr float LEFTWARD_SPEED = 300.0f;
// Bird speed = (BASE_PACE - hit points) x PACE_STEP: 300 unhurt.
constexpr int BASE_PACE = 15;
constexpr float PACE_STEP = 25.0f;

constexpr float HOVER_SECONDS = 0.5f;
constexpr float THROW_SECONDS = 1.0f;
// The moment between seeing the fish and dropping on it: the fish's chance
// to get out from under it.
constexpr float SPOT_SECONDS = 0.25f;
constexpr float DIVE_SPEED = 600.0f;
constexpr float CLIMB_SPEED = 600.0f;

const char* const SPIKES_PICTURES = "dat/spikes.dat";
constexpr double SPIKES_REACH_SQUARED = 6400.0;

// The beaten bird calls its chest to it at this pace.
constexpr float CHEST_SPEED = 200.0f;

} // namespace

BigBossBird::BigBossBird()
    : Boss(MAX_HIT_POINTS)
{
    datafile.load("bigbossbird.dat");
    if (datafile.isLoaded()) {
        datafile.useSubDatafile(FLYING_PICTURES);
    }
    startFlapping();
}

float BigBossBird::birdSpeed() const
{
    return static_cast<float>(BASE_PACE - hitPoints) * PACE_STEP;
}

void BigBossBird::reset()
{
    stopMoving();
    setPosition(START_X, START_Y);
    leftSide = false;
    stateTimer = 0.0f;
    if (datafile.isLoaded()) {
        datafile.useSubDatafile(FLYING_PICTURES);
    }
    setState(HOVER);
}

void BigBossBird::update(float dt)
{
    Creature::update(dt);
    if (awake()) {
        if (defeated()) {
            // A beaten bird throws and dives no more; it only finishes the
            // climb it was hit in, fading, and brings out the chest.
            bringChest();
        } else {
            wait(dt);
            if (!defeated()) {
                hurtPlayerOnContact();
            }
        }
    }
    publishHitPoints();
}

void BigBossBird::wait(float dt)
{
    switch (state) {
    case HOVER:
        countDown(dt, THROW);
        break;
    case THROW:
        countDown(dt, CROSS);
        break;
    case SPOT:
        countDown(dt, DIVE);
        break;
    case CROSS:
        if (!moving) {
            setState(HOVER);
        } else if (!dived && seesFishBelow()) {
            setState(SPOT);
        }
        break;
    case DIVE:
        if (!moving) {
            setState(CLIMB);
        }
        break;
    case CLIMB:
        if (!blinking() && nearSpikes()) {
            takeHit();
        }
        if (!moving) {
            setState(CROSS);
        }
        break;
    default:
        break;
    }
}

void BigBossBird::setState(int next)
{
    state = next;
    switch (next) {
    case HOVER:
        if (datafile.isLoaded()) {
            datafile.useSubDatafile(FLYING_PICTURES);
        }
        dived = false;
        stateTimer = HOVER_SECONDS;
        flipH = leftSide;
        break;
    case THROW:
        stateTimer = THROW_SECONDS;
        throwGust();
        break;
    case CROSS:
        if (datafile.isLoaded()) {
            datafile.useSubDatafile(FLYING_PICTURES);
        }
        startFlapping();
        // Back from a dive it carries on the way it was going.
        if (!dived) {
            leftSide = !leftSide;
        }
        if (leftSide) {
            moveTo(LEFT_END_X, static_cast<int>(y), LEFTWARD_SPEED);
        } else {
            moveTo(RIGHT_END_X, static_cast<int>(y), birdSpeed());
        }
        break;
    case SPOT:
        stopMoving();
        stateTimer = SPOT_SECONDS;
        break;
    case DIVE:
        stopMoving();
        if (datafile.isLoaded()) {
            datafile.useSubDatafile(DIVING_PICTURES);
        }
        // The dive is a single picture.
        frameTween.stop();
        frame = 0.0f;
        playSoundAt("seagull");
        cruiseY = y;
        moveTo(static_cast<int>(x), static_cast<int>(groundY()), DIVE_SPEED);
        break;
    case CLIMB:
        if (datafile.isLoaded()) {
            datafile.useSubDatafile(FLYING_PICTURES);
        }
        startFlapping();
        dived = true;
        moveTo(static_cast<int>(x), static_cast<int>(cruiseY), CLIMB_SPEED);
        break;
    default:
        break;
    }
}

void BigBossBird::countDown(float dt, int next)
{
    stateTimer -= dt;
    if (stateTimer <= 0.0f) {
        setState(next);
    }
}

void BigBossBird::startFlapping()
{
    playAnimation("fly", FLAP_FIRST_FRAME, FLAP_LAST_FRAME, FLAP_SECONDS, FOREVER, true, 0.0f);
}

void BigBossBird::stopMoving()
{
    xTween.stop();
    yTween.stop();
    moving = false;
}

void BigBossBird::throwGust()
{
    Game* game = Game::instance();
    if (game == nullptr) {
        return;
    }
    auto* gust = new Gust(birdSpeed(), flipH);
    game->addCreature(gust);
    gust->setPosition(static_cast<int>(x), static_cast<int>(y));
}

bool BigBossBird::seesFishBelow() const
{
    const Player* player = fish();
    if (player == nullptr || player->dead || cellOf(player->x) != cellOf(x) || !(player->y > y)) {
        return false;
    }
    return player->y < groundY() + CELL_SIZE / 2;
}

float BigBossBird::groundY() const
{
    Game* game = Game::instance();
    if (game == nullptr) {
        return y;
    }
    const int column = cellOf(x);
    const int rows = game->levelHeight / CELL_SIZE;
    int ground = cellOf(y);
    while (ground < rows && !game->isTileBlocked(column, ground)) {
        ++ground;
    }
    // It never dives upwards, even from inside rock.
    return std::max(static_cast<float>(cellCentre(ground - 1)), y);
}

bool BigBossBird::nearSpikes() const
{
    Game* game = Game::instance();
    if (game == nullptr) {
        return false;
    }
    return std::any_of(game->creatures.begin(), game->creatures.end(), [this](const Creature* other) {
        return other != nullptr && other->datafile.name == SPIKES_PICTURES
            && distanceSquared(x, y, other->x, other->y) < SPIKES_REACH_SQUARED;
    });
}

void BigBossBird::takeHit()
{
    --hitPoints;
    if (defeated()) {
        fadeOut();
    } else {
        blink();
    }
    playSoundAt("bigseagull-hit");
}

void BigBossBird::bringChest()
{
    Game* game = Game::instance();
    if (game == nullptr || game->treasures.empty() || game->treasures.front() == nullptr) {
        return;
    }
    game->treasures.front()->moveTo(static_cast<int>(x), static_cast<int>(y), CHEST_SPEED);
}
