#include "game/creatures/Squid.h"

#include "engine/core/Vector2.h"
#include "engine/media/SoundManager.h"
#include "game/app/Game.h"
#include "game/creatures/InkBlot.h"
#include "game/play/Player.h"
#include "game/play/TileMap.h"

namespace {

constexpr int HIT_POINTS = 3;
constexpr float SPEED = 150.0f;
// The first swim starts a second into the fight; after that it rests half a
// second at each corner, once it has spat.
constexpr float FIRST_REST_SECONDS = 1.0f;
constexpr float CORNER_REST_SECONDS = 0.5f;

// The corners of its round, in level pixels. It heads for the second one
// first.
struct Point {
    int x;
    int y;
};
constexpr Point WAYPOINTS[] = { { 0, 400 }, { 400, 800 }, { 800, 0 } };
constexpr int WAYPOINT_COUNT = static_cast<int>(sizeof WAYPOINTS / sizeof WAYPOINTS[0]);

// Its tentacles reach further down than to the sides: 128 pixels to a fish
// below it, 64 otherwise.
constexpr double REACH_BELOW_SQUARED = 16384.0;
constexpr double REACH_SQUARED = 4096.0;
// Frozen ink this close wounds it.
constexpr double INK_REACH_SQUARED = 16384.0;

// The boulder over the vault: it starts in this cell and sinks a cell at a
// time down its column, drawn as the top of a column of rock while it
// sinks, and comes to rest as a block of its own in the last cell.
constexpr int BLOCK_COLUMN = 8;
constexpr int BLOCK_FIRST_ROW = 6;
constexpr int SINKING_STEPS = 3;
constexpr int SINKING_TILE = 4;
constexpr int RESTING_TILE = 0;
constexpr float FIRST_SINK_SECONDS = 1.0f;
constexpr float SINK_SECONDS = 0.7f;

constexpr int PAN_CENTRE = 128;

} // namespace

Squid::Squid()
    : Boss(HIT_POINTS)
    , speed(SPEED)
    , shootTimer(FIRST_REST_SECONDS)
{
    datafile.load("squid.dat");
}

void Squid::update(float dt)
{
    Creature::update(dt);
    if (gameFrozen()) {
        return;
    }
    // A beaten squid neither bites nor spits: ink from a squid fading away
    // would still hurt the fish on its way to the vault.
    if (defeated()) {
        sinkBlock(dt);
    } else {
        Player* player = fish();
        if (player != nullptr && !player->dead) {
            hurtPlayerOnContact(player->y > y ? REACH_BELOW_SQUARED : REACH_SQUARED);
        }
        keepRhythm(dt);
        feelFrozenInk();
    }
    // Out of sight it leaves the boss bar to whoever else is showing; the
    // bar hears of a wound in the frame it happens.
    if (visible) {
        publishHitPoints();
    }
}

void Squid::keepRhythm(float dt)
{
    if (!moving && shootTimer == 0.0f) {
        spitInk();
        return;
    }
    if (shootTimer > 0.0f) {
        shootTimer -= dt;
        if (shootTimer <= 0.0f) {
            shootTimer = 0.0f;
            waypoint = (waypoint + 1) % WAYPOINT_COUNT;
            moveTo(WAYPOINTS[waypoint].x, WAYPOINTS[waypoint].y, speed);
        }
    }
}

void Squid::spitInk()
{
    if (SoundManager* sound = SoundManager::instance()) {
        sound->play("squidshoot", 255, PAN_CENTRE, 1000, false);
    }
    shootTimer = CORNER_REST_SECONDS;
    Game* game = Game::instance();
    const Player* player = fish();
    // With no fish in the level there is nothing to aim at; it only keeps
    // its rhythm.
    if (game == nullptr || player == nullptr) {
        return;
    }
    auto* blot = new InkBlot();
    blot->x = x;
    blot->y = y;
    blot->aim(player->x, player->y);
    game->addCreature(blot);
}

void Squid::feelFrozenInk()
{
    Game* game = Game::instance();
    if (game == nullptr) {
        return;
    }
    // Only its own ink: whatever else a bubble holds near it is no concern
    // of the squid's. While it blinks, further blots wait their turn.
    for (size_t i = 0; i < game->creatures.size() && !blinking() && !defeated(); ++i) {
        auto* blot = dynamic_cast<InkBlot*>(game->creatures[i]);
        if (blot == nullptr || !blot->visible || blot->trapTime == 0.0f
            || distanceSquared(x, y, blot->x, blot->y) >= INK_REACH_SQUARED) {
            continue;
        }
        // The ink is spent on the squid.
        blot->visible = false;
        blot->bubble.visible = false;
        --hitPoints;
        blink();
        if (defeated()) {
            fadeOut();
            breakTimer = FIRST_SINK_SECONDS;
            breakStep = 0;
        }
    }
}

void Squid::sinkBlock(float dt)
{
    if (breakStep > SINKING_STEPS) {
        return;
    }
    breakTimer -= dt;
    if (breakTimer > 0.0f) {
        return;
    }
    breakTimer = SINK_SECONDS;
    Game* game = Game::instance();
    if (game != nullptr && game->mainLayer != nullptr) {
        const int row = BLOCK_FIRST_ROW + breakStep;
        game->mainLayer->setTile(BLOCK_COLUMN, row, TileMap::WATER);
        game->mainLayer->setTile(
            BLOCK_COLUMN, row + 1, breakStep < SINKING_STEPS ? SINKING_TILE : RESTING_TILE);
    }
    ++breakStep;
}
