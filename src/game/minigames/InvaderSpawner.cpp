#include "game/minigames/InvaderSpawner.h"

#include "engine/core/Vector2.h"
#include "engine/media/Screen.h"
#include "game/app/Game.h"
#include "game/creatures/InkBlot.h"
#include "game/creatures/RewardCoin.h"
#include "game/play/Player.h"
#include "game/play/Treasure.h"

#include <cstdlib>

namespace {

// The formation, left to right: who swims in each column and how many
// bubbles each of them takes.
const char* const COLUMN_PICTURES[InvaderSpawner::COLUMNS]
    = { "crab.dat", "mrpuffer.dat", "piratefish.dat", "sleepyfish.dat", "dancefish.dat" };
constexpr int COLUMN_HIT_POINTS[InvaderSpawner::COLUMNS] = { 1, 1, 2, 2, 3 };
// It starts mostly off the left edge, one cell between fish.
constexpr int FIRST_COLUMN_X = -280;
constexpr int COLUMN_SPACING = 80;
constexpr int TOP_FISH_Y = 40;
constexpr int FISH_SPACING = 80;
constexpr int CREATURE_LAYER = 2;

// Each turn brings it 20 pixels nearer the fish; it sweeps until its lowest
// fish reaches y = 560 or its highest y = 40.
constexpr float STEP_RIGHT = 20.0f;
constexpr float SWEEP_BOTTOM = 560.0f;
constexpr float SWEEP_TOP = 40.0f;
// A thinning formation marches faster.
constexpr int START_MARCH_SPEED = 100;
constexpr int MARCH_SPEED_PER_FISH = 2;

// The first shot comes after a second, then every 1.5 to 3.49 seconds,
// straight to the right.
constexpr float FIRST_SHOT_SECONDS = 1.0f;
constexpr int SHOT_SPREAD_STEPS = 200;
constexpr float SHOT_SPREAD_STEP_SECONDS = 0.01f;
constexpr float SHOT_BASE_SECONDS = 1.5f;
constexpr float SHOT_TARGET_X = 840.0f;

// A bubble wounds a fish within 64 pixels of it.
constexpr double HIT_DISTANCE_SQUARED = 4096.0;
// Past this line a fish of the formation gets the player's fish.
constexpr float DEFEAT_X = 680.0f;

// The fish faces the formation with three bubbles, always.
constexpr int BUBBLES_HELD = 3;

// The prize: 40 coins, one every 0.2 seconds, flown from the chest to just
// above the fish, then the chest itself.
constexpr int PRIZE_COINS = 40;
constexpr float PAY_SECONDS = 0.2f;
constexpr float COIN_SPEED = 850.0f;
constexpr float COIN_ABOVE_FISH = 16.0f;
constexpr float CHEST_SPEED = 400.0f;
// Where the coins come from if the arena has no chest.
constexpr int ARENA_MIDDLE_X = 400;
constexpr int ARENA_MIDDLE_Y = 300;

} // namespace

InvaderSpawner::InvaderSpawner()
    : marchSpeed(START_MARCH_SPEED)
    , shotTimer(FIRST_SHOT_SECONDS)
    , fishLeft(COLUMNS * FISH_PER_COLUMN)
    , coinsToPay(PRIZE_COINS)
{
    bubbleProof = true;
    // It has no picture of its own; its fish are what the player sees.
    visible = false;
    for (int c = 0; c < COLUMNS; ++c) {
        for (int j = 0; j < FISH_PER_COLUMN; ++j) {
            auto fish = std::make_unique<Invader>(COLUMN_PICTURES[c], COLUMN_HIT_POINTS[c]);
            fish->x = static_cast<float>(FIRST_COLUMN_X + COLUMN_SPACING * c);
            fish->y = static_cast<float>(TOP_FISH_Y + FISH_SPACING * j);
            columns[c].push_back(std::move(fish));
        }
    }
    showFish();
    sweep(DOWN);
}

InvaderSpawner::~InvaderSpawner()
{
    putFishAway();
}

void InvaderSpawner::showFish()
{
    Screen* target = Screen::instance();
    if (target == nullptr || !target->isValidLayer(CREATURE_LAYER)) {
        return;
    }
    for (auto& column : columns) {
        for (auto& fish : column) {
            target->addSprite(fish.get(), CREATURE_LAYER);
        }
    }
    fishShownOn = target;
}

void InvaderSpawner::putFishAway()
{
    // The screen may already be gone when the level is torn down with the
    // game.
    if (fishShownOn == nullptr || Screen::instance() != fishShownOn) {
        return;
    }
    for (auto& column : columns) {
        for (auto& fish : column) {
            fishShownOn->removeSprite(fish.get(), CREATURE_LAYER);
        }
    }
    fishShownOn = nullptr;
}

void InvaderSpawner::sweep(int direction)
{
    sweepDirection = direction;
    for (auto& column : columns) {
        for (auto& fish : column) {
            fish->x += STEP_RIGHT;
        }
    }
    // Only the fish still in the game set the edge, so a formation that has
    // lost its lowest line sweeps further down.
    const Invader* edge = nullptr;
    int edgeIndex = 0;
    for (auto& column : columns) {
        for (int j = 0; j < static_cast<int>(column.size()); ++j) {
            if (!column[j]->visible) {
                continue;
            }
            bool further = direction == DOWN ? j >= edgeIndex : j < edgeIndex;
            if (edge == nullptr || further) {
                edge = column[j].get();
                edgeIndex = j;
            }
        }
    }
    if (edge == nullptr) {
        return;
    }
    const float distance = (direction == DOWN ? SWEEP_BOTTOM : SWEEP_TOP) - edge->y;
    for (auto& column : columns) {
        for (auto& fish : column) {
            fish->moveTo(static_cast<int>(fish->x), static_cast<int>(fish->y + distance),
                static_cast<float>(marchSpeed));
        }
    }
}

bool InvaderSpawner::formationMoving() const
{
    for (const auto& column : columns) {
        for (const auto& fish : column) {
            if (fish->visible && fish->moving) {
                return true;
            }
        }
    }
    return false;
}

void InvaderSpawner::update(float dt)
{
    Creature::update(dt);
    if (gameFrozen()) {
        return;
    }
    Game* game = Game::instance();
    Player* player = game != nullptr ? game->player : nullptr;
    hideFadedFish();
    if (won) {
        payOut(player, dt);
        return;
    }

    shotTimer -= dt;
    if (shotTimer <= 0.0f) {
        shotTimer = static_cast<float>(std::rand() % SHOT_SPREAD_STEPS) * SHOT_SPREAD_STEP_SECONDS
            + SHOT_BASE_SECONDS;
        shoot();
    }

    if (player != nullptr) {
        // The fish holds its ground on the right: it faces the formation,
        // moves only up and down, and its bubbles reach across the arena.
        player->flipH = false;
        player->bubbles = BUBBLES_HELD;
        player->horizontalMovementOff = true;
        player->longRangeBubble = true;
    }

    if (!formationMoving()) {
        sweep(sweepDirection == DOWN ? UP : DOWN);
    }
    if (player != nullptr) {
        takeHits(*player);
    }
    if (player != nullptr && !player->dead && pastTheLine()) {
        hurtFish();
    }
    if (fishLeft <= 0) {
        won = true;
    }
}

void InvaderSpawner::hideFadedFish()
{
    for (auto& column : columns) {
        for (auto& fish : column) {
            if (fish->visible && fish->faded()) {
                fish->visible = false;
            }
        }
    }
}

void InvaderSpawner::shoot()
{
    // Only a fish still in the game spits ink, and there always is one
    // until the formation is beaten.
    auto canShoot = [](const Invader& fish) { return fish.visible && !fish.beaten(); };
    bool anyone = false;
    for (const auto& column : columns) {
        for (const auto& fish : column) {
            anyone = anyone || canShoot(*fish);
        }
    }
    Game* game = Game::instance();
    if (!anyone || game == nullptr) {
        return;
    }
    auto* blot = new InkBlot();
    game->addCreature(blot);
    const Invader* shooter = nullptr;
    while (shooter == nullptr) {
        const auto& column = columns[std::rand() % COLUMNS];
        const Invader& fish = *column[std::rand() % column.size()];
        if (canShoot(fish)) {
            shooter = &fish;
        }
    }
    blot->x = shooter->x;
    blot->y = shooter->y;
    blot->aim(SHOT_TARGET_X, shooter->y);
}

void InvaderSpawner::takeHits(Player& player)
{
    Bubble& shot = player.bubble;
    if (!shot.inFlight) {
        return;
    }
    // Nearest the fish first: the bubble flies in from the right.
    for (int c = COLUMNS - 1; c >= 0; --c) {
        for (auto& fish : columns[c]) {
            if (!fish->visible || fish->beaten() || fish->blinking()
                || distanceSquared(fish->x, fish->y, shot.x, shot.y) >= HIT_DISTANCE_SQUARED) {
                continue;
            }
            shot.land();
            if (fish->wound()) {
                --fishLeft;
                marchSpeed += MARCH_SPEED_PER_FISH;
            }
            return;
        }
    }
}

bool InvaderSpawner::pastTheLine() const
{
    for (const auto& column : columns) {
        for (const auto& fish : column) {
            if (fish->visible && !fish->beaten() && fish->x > DEFEAT_X) {
                return true;
            }
        }
    }
    return false;
}

void InvaderSpawner::payOut(Player* player, float dt)
{
    Game* game = Game::instance();
    if (player == nullptr || game == nullptr) {
        return;
    }
    // Nothing can hurt the fish while it collects its prize.
    player->controlsLocked = true;
    Treasure* chest = game->treasures.empty() ? nullptr : game->treasures.front();
    if (coinsToPay > 0) {
        payTimer += dt;
        if (payTimer > PAY_SECONDS) {
            payTimer = 0.0f;
            --coinsToPay;
            RewardCoin::payOut(*game, chest != nullptr ? chest->x : ARENA_MIDDLE_X,
                chest != nullptr ? chest->y : ARENA_MIDDLE_Y, player, COIN_SPEED, COIN_ABOVE_FISH);
        }
        return;
    }
    if (chest != nullptr) {
        chest->moveTo(static_cast<int>(player->x), static_cast<int>(player->y), CHEST_SPEED);
    }
}
