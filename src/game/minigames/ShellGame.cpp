#include "game/minigames/ShellGame.h"

#include "engine/core/DebugLog.h"
#include "engine/core/Vector2.h"
#include "engine/media/Screen.h"
#include "game/app/Game.h"
#include "game/creatures/RewardCoin.h"
#include "game/play/Player.h"
#include "game/play/Treasure.h"

#include <cstdlib>

namespace {

// The shells rest side by side on the sand, drawn by their bottom centre
// and behind everything else that swims on their layer.
constexpr int FIRST_SHELL_X = 304;
constexpr int SHELL_SPACING = 96;
constexpr int SHELL_Y = 520;
constexpr int BOTTOM_CENTRE = 2;
constexpr int SHELL_DEPTH_BIAS = -600;
constexpr int SHELL_LAYER = 2;

// The chest shows itself, then sinks half-seen into the middle shell and is
// put away out of sight until someone wins it.
constexpr int CHEST_SHOWN_X = 400;
constexpr int CHEST_SHOWN_Y = 300;
constexpr int CHEST_SUNK_Y = 480;
constexpr float CHEST_SINK_SPEED = 200.0f;
constexpr float CHEST_SUNK_ALPHA = 128.0f;
constexpr float CHEST_FADE_SECONDS = 1.0f;
constexpr int CHEST_AWAY_X = 4000;
constexpr int CHEST_AWAY_Y = 3000;
constexpr float OPAQUE = 255.0f;
constexpr float CHEST_TO_FISH_SPEED = 400.0f;

// Twelve swaps: 200, 225, ... 475 pixels a second; at 500 the fish picks.
constexpr int FIRST_SWAP_SPEED = 200;
constexpr int SWAP_SPEED_STEP = 25;
constexpr int PICKING_SPEED = 500;

// A shell the fish swims within 64 pixels of is its pick.
constexpr double PICK_DISTANCE_SQUARED = 4096.0;

// The prize: 5 coins, one every 0.2 seconds, flying from where the chest
// showed itself.
constexpr int PRIZE_COINS = 5;
constexpr float COIN_INTERVAL = 0.2f;
constexpr float COIN_SPEED = 600.0f;

constexpr int CAPTION_LAYER = 4;
constexpr int CENTRED = 1;
constexpr int FALLBACK_WIDTH = 800;
constexpr int FALLBACK_HEIGHT = 600;

const char* const WATCH_TEXT = "Watch the Shells to Win 5 Coins!";
const char* const WRONG_TEXT = "You Have Chosen Poorly...";
const char* const RIGHT_TEXT = "You Have Chosen Wisely!";
const char* const PICK_TEXT = "Pick a Shell!";

} // namespace

ShellGame::ShellGame()
    : swapSpeed(FIRST_SWAP_SPEED)
    , coinsToPay(PRIZE_COINS)
{
    visible = false;
    bubbleProof = true;

    shownOn = Screen::instance();
    const bool layered = shownOn != nullptr && shownOn->isValidLayer(CAPTION_LAYER);
    for (int i = 0; i < SHELLS; ++i) {
        Creature& shell = shells[i];
        shell.datafile.load("shellgame.dat");
        shell.alignment = BOTTOM_CENTRE;
        shell.depthBias = SHELL_DEPTH_BIAS;
        shell.bubbleProof = true;
        shell.setPosition(FIRST_SHELL_X + SHELL_SPACING * i, SHELL_Y);
        if (layered) {
            shownOn->addSprite(&shell, SHELL_LAYER);
        }
    }

    caption.text = WATCH_TEXT;
    caption.alignment = CENTRED;
    caption.x = static_cast<float>((shownOn != nullptr ? shownOn->width : FALLBACK_WIDTH) / 2);
    caption.y = static_cast<float>((shownOn != nullptr ? shownOn->height : FALLBACK_HEIGHT) / 2);
    if (layered) {
        shownOn->addSprite(&caption, CAPTION_LAYER);
    } else {
        shownOn = nullptr;
    }

    if (Player* player = fish()) {
        holding = true;
        heldX = static_cast<int>(player->x);
        heldY = static_cast<int>(player->y);
    }

    if (Treasure* prize = chest()) {
        prize->setPosition(CHEST_SHOWN_X, CHEST_SHOWN_Y);
        prize->moveTo(CHEST_SHOWN_X, CHEST_SUNK_Y, CHEST_SINK_SPEED);
        prize->alphaTween.start(CHEST_SUNK_ALPHA, CHEST_FADE_SECONDS, 0);
    } else {
        DebugLog::log("shell game: the level has no treasure chest to hide");
    }
}

ShellGame::~ShellGame()
{
    // The screen may already be gone when the level is torn down with the
    // game.
    if (shownOn != nullptr && Screen::instance() == shownOn) {
        for (Creature& shell : shells) {
            shownOn->removeSprite(&shell, SHELL_LAYER);
        }
        shownOn->removeSprite(&caption, CAPTION_LAYER);
    }
}

Treasure* ShellGame::chest()
{
    Game* game = Game::instance();
    if (game == nullptr || game->treasures.empty()) {
        return nullptr;
    }
    return game->treasures.front();
}

void ShellGame::update(float dt)
{
    Creature::update(dt);
    if (gameFrozen()) {
        return;
    }
    if (won) {
        pay(dt);
        return;
    }
    if (revealing) {
        holdFish();
        Treasure* prize = chest();
        if (prize == nullptr || prize->alpha == CHEST_SUNK_ALPHA) {
            revealing = false;
            hideChest();
        }
        return;
    }
    if (picking) {
        pick();
        return;
    }
    if (swapping) {
        holdFish();
        if (!shellsMoving()) {
            swapping = false;
        }
        return;
    }
    if (swapSpeed < PICKING_SPEED) {
        // Held from the first frame of each swap, not only once it runs.
        holdFish();
        swapTwoShells();
    } else {
        picking = true;
        caption.text = PICK_TEXT;
    }
}

void ShellGame::hideChest()
{
    if (Treasure* prize = chest()) {
        prize->xTween.stop();
        prize->yTween.stop();
        prize->moving = false;
        prize->setPosition(CHEST_AWAY_X, CHEST_AWAY_Y);
    }
}

void ShellGame::holdFish()
{
    Player* player = fish();
    if (player == nullptr) {
        return;
    }
    // A fish that was not there when the game began is held where it is
    // first seen.
    if (!holding) {
        holding = true;
        heldX = static_cast<int>(player->x);
        heldY = static_cast<int>(player->y);
    }
    player->setPosition(heldX, heldY);
}

void ShellGame::pick()
{
    Player* player = fish();
    if (player == nullptr || player->dead) {
        return;
    }
    // The first shell in reach is the pick, and the only one: a fish
    // between two shells neither wins after it was killed nor is killed
    // after it won.
    for (int i = 0; i < SHELLS; ++i) {
        if (distanceSquared(shells[i].x, shells[i].y, player->x, player->y) >= PICK_DISTANCE_SQUARED) {
            continue;
        }
        if (i != TREASURE_SHELL) {
            caption.text = WRONG_TEXT;
            hurtFish();
            return;
        }
        if (Treasure* prize = chest()) {
            prize->setPosition(CHEST_SHOWN_X, CHEST_SHOWN_Y);
            prize->alphaTween.stop();
            prize->alpha = OPAQUE;
        }
        caption.text = RIGHT_TEXT;
        won = true;
        picking = false;
        return;
    }
}

void ShellGame::pay(float dt)
{
    Game* game = Game::instance();
    Player* player = fish();
    // Nothing can hurt the winner while its prize comes to it.
    if (player != nullptr) {
        player->controlsLocked = true;
    }
    if (coinsToPay > 0) {
        payTimer += dt;
        while (payTimer > COIN_INTERVAL && coinsToPay > 0 && game != nullptr) {
            payTimer -= COIN_INTERVAL;
            --coinsToPay;
            RewardCoin::payOut(*game, CHEST_SHOWN_X, CHEST_SHOWN_Y, player, COIN_SPEED);
        }
        return;
    }
    Treasure* prize = chest();
    if (prize != nullptr && player != nullptr) {
        prize->moveTo(static_cast<int>(player->x), static_cast<int>(player->y), CHEST_TO_FISH_SPEED);
    }
}

void ShellGame::swapTwoShells()
{
    const int a = std::rand() % SHELLS;
    int b = std::rand() % SHELLS;
    while (b == a) {
        b = std::rand() % SHELLS;
    }
    const int ax = static_cast<int>(shells[a].x), ay = static_cast<int>(shells[a].y);
    const int bx = static_cast<int>(shells[b].x), by = static_cast<int>(shells[b].y);
    shells[a].moveTo(bx, by, static_cast<float>(swapSpeed));
    shells[b].moveTo(ax, ay, static_cast<float>(swapSpeed));
    swapping = true;
    swapSpeed += SWAP_SPEED_STEP;
}

bool ShellGame::shellsMoving() const
{
    for (const Creature& shell : shells) {
        if (shell.moving) {
            return true;
        }
    }
    return false;
}
