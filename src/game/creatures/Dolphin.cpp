#include "game/creatures/Dolphin.h"

#include "engine/media/Screen.h"
#include "engine/ui/TextSprite.h"
#include "game/app/Game.h"
#include "game/creatures/RewardCoin.h"
#include "game/play/Player.h"

namespace {

constexpr int SWIM_FIRST_FRAME = 0;
constexpr int SWIM_LAST_FRAME = 30;
constexpr float SWIM_SECONDS = 0.5f;
constexpr int FOREVER = -1;

constexpr float BOB_HEIGHT = 10.0f;
constexpr float BOB_SECONDS = 0.8f;

// The first coin falls two seconds into the level, then one every 0.8 s.
constexpr float FIRST_COIN_SECONDS = 2.0f;
constexpr float COIN_SECONDS = 0.8f;

constexpr float SPEED = 400.0f;
// It leaves through the top when it reaches the second row.
constexpr int LEAVING_ROW = 1;
constexpr float LEAVING_FADE_SECONDS = 0.5f;
// Its nose is dangerous at 40 pixels.
constexpr double BITE_DISTANCE_SQUARED = 1600.0;

constexpr int MESSAGE_LAYER = 4;

} // namespace

Dolphin::Dolphin()
    : coinTimer(FIRST_COIN_SECONDS)
{
    datafile.load("dolphin.dat");
    playAnimation("swim", SWIM_FIRST_FRAME, SWIM_LAST_FRAME, SWIM_SECONDS, FOREVER, false, 0.0f);
    bobTween.setUpdatee(&bob);
    bobTween.pingPong = true;
    bobTween.start(BOB_HEIGHT, BOB_SECONDS, FOREVER);
}

void Dolphin::update(float dt)
{
    Creature::update(dt);
    Game* game = Game::instance();
    if ((game != nullptr && game->frozen) || trapTime != 0.0f) {
        return;
    }
    bobTween.update(dt);
    offsetY = static_cast<int>(bob);
    if (leaving) {
        if (alpha <= 0.0f) {
            // Gone: nothing may trap it or bump into it any more.
            visible = false;
            bubble.visible = false;
            if (!verdictGiven) {
                judgeCoins();
            }
        }
        return;
    }
    if (cellOf(y) == LEAVING_ROW) {
        leaving = true;
        alphaTween.start(0.0f, LEAVING_FADE_SECONDS, 0);
    }
    hurtPlayerOnContact(BITE_DISTANCE_SQUARED);
    coinTimer -= dt;
    if (coinTimer <= 0.0f) {
        dropCoin();
        coinTimer = COIN_SECONDS;
    }
    if (!moving) {
        swim();
    }
}

void Dolphin::dropCoin()
{
    Game* game = Game::instance();
    if (game == nullptr) {
        return;
    }
    auto* coin = new RewardCoin();
    game->addCreature(coin);
    coin->x = x;
    coin->y = y;
}

void Dolphin::swim()
{
    Game* game = Game::instance();
    if (game == nullptr) {
        return;
    }
    int column = cellOf(x);
    int row = cellOf(y);
    if (!climbed) {
        climbed = true;
        if (row > 0 && !game->isTileBlocked(column, row - 1)) {
            moveTo(static_cast<int>(x), static_cast<int>(y) - CELL_SIZE, SPEED);
        }
        return;
    }
    climbed = false;
    movingRight = !movingRight;
    flipH = movingRight;
    moveTo(rowTarget(column, row), static_cast<int>(y), SPEED);
}

int Dolphin::rowTarget(int column, int row) const
{
    Game* game = Game::instance();
    // Level pictures close every row with rock. Should one be open, the
    // dolphin turns in the last cell at that edge rather than swimming out
    // of the level.
    if (movingRight) {
        int columns = game->levelWidth / CELL_SIZE;
        for (int c = column; c < columns; ++c) {
            if (game->isTileBlocked(c, row)) {
                return c * CELL_SIZE - CELL_SIZE / 2;
            }
        }
        return cellCentre(columns - 1);
    }
    for (int c = column; c >= 0; --c) {
        if (game->isTileBlocked(c, row)) {
            return c * CELL_SIZE + CELL_SIZE + CELL_SIZE / 2;
        }
    }
    return cellCentre(0);
}

int Dolphin::floatingCoins()
{
    int count = 0;
    for (const Creature* creature : Game::instance()->creatures) {
        if (dynamic_cast<const RewardCoin*>(creature) != nullptr && creature->visible
            && creature->alpha > 0.0f) {
            ++count;
        }
    }
    return count;
}

void Dolphin::judgeCoins()
{
    Game* game = Game::instance();
    Player* fish = game != nullptr ? game->player : nullptr;
    // A dead fish starts the level again anyway.
    if (fish == nullptr || fish->dead) {
        return;
    }
    if (game->levelDone || fish->levelCoins >= game->coinsRequired) {
        verdictGiven = true;
        return;
    }
    // Coins still in the water may yet make up the difference; the level is
    // only lost once they can no longer. Until then the question stays
    // open, so a fish that lets those coins go is not left in a level it can
    // never finish.
    if (fish->levelCoins + floatingCoins() >= game->coinsRequired) {
        return;
    }
    verdictGiven = true;
    if (hurtPlayer) {
        hurtPlayer(*fish);
    }
    auto* message = new TextSprite();
    message->text = SHORT_OF_COINS_TEXT;
    message->alignment = 1;
    Screen* screen = Screen::instance();
    int width = screen != nullptr ? screen->width : game->levelWidth;
    int height = screen != nullptr ? screen->height : game->levelHeight;
    message->x = static_cast<float>(width / 2);
    message->y = static_cast<float>(height / 2 - message->lineHeight() / 2);
    if (!game->addSprite(message, MESSAGE_LAYER)) {
        delete message;
    }
}
