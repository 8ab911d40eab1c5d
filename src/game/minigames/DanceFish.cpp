#include "game/minigames/DanceFish.h"

#include "engine/media/Screen.h"
#include "engine/media/SoundManager.h"
#include "game/app/Game.h"
#include "game/creatures/RewardCoin.h"
#include "game/play/LevelLoader.h"
#include "game/play/Player.h"
#include "game/play/Treasure.h"

#include <cstdlib>

namespace {

// The show fish stands on the right of the floor, facing the player's fish.
constexpr int HOME_X = 600;
constexpr int HOME_Y = 360;
// It bobs 20 pixels, a quarter of a second each way: once a beat.
constexpr float BOB_HEIGHT = 20.0f;
constexpr float BOB_SECONDS = 0.25f;
constexpr int FOREVER = -1;

// A bar is two seconds, counted in 40 clock units of 0.05 seconds, with a
// beat every 10 units. The bar's end is dealt with from unit 38 on.
constexpr float BAR_UNITS = 40.0f;
constexpr float BAR_SECONDS = 2.0f;
constexpr int BEAT_UNITS = 10;
constexpr int STEPS_PER_PHRASE = 4;
constexpr float BAR_END = 38.0f;
// A beat or a step of the show fish is taken while the clock is within its
// first two units, so a long frame never skips it.
constexpr float ON_TIME_UNITS = 2.0f;

// The first phrase is always left, right, up, down.
const std::vector<DanceFish::Move> FIRST_PHRASE
    = { { DanceFish::LEFT, 0 }, { DanceFish::RIGHT, 10 }, { DanceFish::UP, 20 }, { DanceFish::DOWN, 30 } };

// A step is a 40-pixel jump and a glide home at 200 pixels a second.
constexpr int STEP_PIXELS = 40;
constexpr float GLIDE_SPEED = 200.0f;
constexpr int STEP_X[] = { -1, 1, 0, 0 };
constexpr int STEP_Y[] = { 0, 0, -1, 1 };
const char* const STEP_SAMPLES[] = { "danceleft", "danceright", "danceup", "dancedown" };

// The player's step counts from 5 units before its time; a step not taken
// by 1 unit after its time is missed (checked up to 3 units after).
constexpr float EARLY_UNITS = 5.0f;
constexpr float MISSED_FROM_UNITS = 1.0f;
constexpr float MISSED_UNTIL_UNITS = 3.0f;
// The move the player was last judged for, at each change of turn: none.
constexpr int NOT_JUDGED = -100;

// The meter: starts at 10, full at 40, the fish dies below 0.
constexpr float START_SCORE = 10.0f;
constexpr float WINNING_SCORE = 40.0f;
constexpr float GOOD_STEP = 1.5f;
constexpr float BAD_STEP = 0.25f;
constexpr float REPEATED_STEP = 2.0f;
constexpr float MISSED_STEP = 1.0f;

// The tune of each bar, by the number of phrases shown so far.
constexpr int SONG_BARS = 10;
const char* const BAR_SONGS[SONG_BARS + 1] = { "dancesong", "dancesong2", "dancesong2", "dancesong3",
    "dancesong3", "dancesong2", "dancesong2", "dancesong3", "dancesong3", "dancesong2", "dancesong2" };

// The four beats of a bar: where each begins and the marker it leaves.
struct Beat {
    int from;
    int marker;
};
constexpr Beat BEATS[] = { { 0, 1 }, { 10, 2 }, { 20, 3 }, { 30, 0 } };
constexpr int BAR_START_MARKER = 1;

const char* const WATCH_ME = "Watch Me!";
const char* const GOOD = "GOOD!";
const char* const BAD = "BAD!";
const char* const VERY_BAD = "BAAAAD!";
const char* const YOU_WIN = "YouWin";

// The prize: 25 coins, one every 0.2 seconds from the chest to the fish at
// 600 pixels a second, then the chest itself at 200.
constexpr int PRIZE_COINS = 25;
constexpr float PAY_SECONDS = 0.2f;
constexpr float COIN_SPEED = 600.0f;
constexpr float CHEST_SPEED = 200.0f;
constexpr int PRIZE_COLUMN = 2;
constexpr int PRIZE_ROW = 1;

// The meter across the top of the screen: 20 lines from x = 100, 700 pixels
// long when full, brightest red in its middle line.
constexpr int METER_LEFT = 100;
constexpr int METER_TOP = 100;
constexpr int METER_LINES = 20;
constexpr int METER_MIDDLE_LINE = 10;
constexpr float METER_FULL_LENGTH = 700.0f;
constexpr float METER_PER_POINT = 0.025f;
constexpr float METER_RED = 200.0f;
constexpr float METER_RED_FALL = 12.8f;

constexpr int CENTRED = 1;
constexpr int FALLBACK_WIDTH = 800;
constexpr int FALLBACK_HEIGHT = 600;
constexpr int FULL_VOLUME = 255;
constexpr int PAN_CENTRE = 128;
constexpr float NORMAL_RATE = 1000.0f;

} // namespace

DanceFish::DanceFish()
    : homeX(HOME_X)
    , homeY(HOME_Y)
    , phrase(FIRST_PHRASE)
    , score(START_SCORE)
    , judgedIndex(NOT_JUDGED)
    , coinsToPay(PRIZE_COINS)
{
    datafile.load("dancefish.dat");
    bubbleProof = true;
    // The meter and the caption are drawn with it, so it is never left out
    // for standing off the screen.
    cullable = false;
    setPosition(homeX, homeY);
    bobTween.setUpdatee(&bob);
    bobTween.pingPong = true;
    bobTween.start(BOB_HEIGHT, BOB_SECONDS, FOREVER);
    beatTween.setUpdatee(&beatClock);
    beatTween.start(BAR_UNITS, BAR_SECONDS, FOREVER);
    caption.alignment = CENTRED;
    if (Game* game = Game::instance()) {
        prize = LevelLoader(*game).addTreasure(PRIZE_COLUMN, PRIZE_ROW, Treasure::CHEST, 0, 0);
    }
}

DanceFish::~DanceFish()
{
    leaveFish();
}

void DanceFish::reset()
{
    joinFish();
}

void DanceFish::joinFish()
{
    Player* player = fish();
    if (player == partner) {
        return;
    }
    leaveFish();
    partner = player;
    if (partner == nullptr) {
        return;
    }
    partner->danceStep = [this](int direction) { judge(direction); };
    // The first bar is the show fish's: the player watches it.
    partner->danceKeysLocked = fishTurn || won;
}

void DanceFish::leaveFish()
{
    // A fish that is already gone has taken its steps with it.
    if (partner != nullptr && fish() == partner) {
        partner->danceStep = nullptr;
    }
    partner = nullptr;
}

void DanceFish::update(float dt)
{
    joinFish();
    if (gameFrozen()) {
        return;
    }
    Player* player = fish();
    if (score < 0.0f) {
        hurtFish();
        return;
    }
    if (score >= WINNING_SCORE && !won) {
        won = true;
        caption.text = YOU_WIN;
        if (player != nullptr) {
            player->danceKeysLocked = true;
        }
    }
    if (won) {
        // Nothing may hurt the fish while it collects its prize.
        if (player != nullptr) {
            player->controlsLocked = true;
        }
        payOut(dt);
        return;
    }

    caption.update(dt);
    beatTween.update(dt);
    if (fishTurn) {
        dance();
    } else {
        answer();
    }
    keepTime();
    endBar();

    bobTween.update(dt);
    offsetY = static_cast<int>(bob);
    Creature::update(dt);
}

void DanceFish::dance()
{
    if (moveIndex >= static_cast<int>(phrase.size())) {
        return;
    }
    const Move move = phrase[static_cast<size_t>(moveIndex)];
    if (beatClock < static_cast<float>(move.time)
        || beatClock >= static_cast<float>(move.time) + ON_TIME_UNITS) {
        return;
    }
    ++moveIndex;
    playInTime(STEP_SAMPLES[move.direction]);
    x = static_cast<float>(homeX + STEP_X[move.direction] * STEP_PIXELS);
    y = static_cast<float>(homeY + STEP_Y[move.direction] * STEP_PIXELS);
    moveTo(homeX, homeY, GLIDE_SPEED);
}

void DanceFish::answer()
{
    const int moves = static_cast<int>(phrase.size());
    if (moveIndex < moves) {
        const float time = static_cast<float>(phrase[static_cast<size_t>(moveIndex)].time);
        if (beatClock >= time + MISSED_FROM_UNITS && beatClock < time + MISSED_UNTIL_UNITS) {
            if (judgedIndex != moveIndex) {
                score -= MISSED_STEP;
            }
            ++moveIndex;
        }
    }
    // Past the last step of the phrase there is nothing to be early for.
    tooEarly = moveIndex < moves
        && beatClock < static_cast<float>(phrase[static_cast<size_t>(moveIndex)].time) - EARLY_UNITS;
}

void DanceFish::keepTime()
{
    for (const Beat& beat : BEATS) {
        const float from = static_cast<float>(beat.from);
        if (beatClock < from || beatClock >= from + ON_TIME_UNITS || beatMarker == beat.marker) {
            continue;
        }
        if (beat.marker == BAR_START_MARKER) {
            barEndDone = false;
            if (barCount > SONG_BARS) {
                barCount -= SONG_BARS;
            }
            const int song = barCount >= 0 && barCount <= SONG_BARS ? barCount : 0;
            playInTime(BAR_SONGS[song]);
        }
        playInTime("beat");
        beatMarker = beat.marker;
    }
}

void DanceFish::endBar()
{
    if (beatClock < BAR_END || barEndDone) {
        return;
    }
    barEndDone = true;
    fishTurn = !fishTurn;
    moveIndex = 0;
    Player* player = fish();
    if (player != nullptr) {
        player->danceKeysLocked = fishTurn;
    }
    if (fishTurn) {
        phrase.clear();
        for (int step = 0; step < STEPS_PER_PHRASE; ++step) {
            phrase.push_back(Move { std::rand() % STEPS_PER_PHRASE, step * BEAT_UNITS });
        }
        caption.text = WATCH_ME;
        ++barCount;
    }
    judgedIndex = NOT_JUDGED;
}

void DanceFish::judge(int direction)
{
    if (judgedIndex == moveIndex) {
        caption.text = VERY_BAD;
        score -= REPEATED_STEP;
        return;
    }
    // After the phrase's last step any step is a bad one.
    const bool inPhrase = moveIndex >= 0 && moveIndex < static_cast<int>(phrase.size());
    if (inPhrase && direction == phrase[static_cast<size_t>(moveIndex)].direction && !tooEarly) {
        caption.text = GOOD;
        score += GOOD_STEP;
    } else {
        caption.text = BAD;
        score -= BAD_STEP;
    }
    judgedIndex = moveIndex;
}

void DanceFish::payOut(float dt)
{
    Game* game = Game::instance();
    Player* player = fish();
    if (coinsToPay > 0) {
        payTimer += dt;
        while (coinsToPay > 0 && payTimer > PAY_SECONDS) {
            payTimer -= PAY_SECONDS;
            --coinsToPay;
            // Without a level to keep it there is nobody to catch it either.
            if (game == nullptr) {
                continue;
            }
            RewardCoin::payOut(
                *game, prize != nullptr ? prize->x : x, prize != nullptr ? prize->y : y, player, COIN_SPEED);
        }
        return;
    }
    if (prize != nullptr && player != nullptr) {
        prize->moveTo(static_cast<int>(player->x), static_cast<int>(player->y), CHEST_SPEED);
    }
}

void DanceFish::draw(BITMAP* target)
{
    Creature::draw(target);
    if (!visible || target == nullptr) {
        return;
    }
    // The caption and the meter belong to the screen, not to the scrolled
    // floor.
    const Screen* shownOn = screen != nullptr ? screen : Screen::instance();
    const int width = shownOn != nullptr ? shownOn->width : FALLBACK_WIDTH;
    const int height = shownOn != nullptr ? shownOn->height : FALLBACK_HEIGHT;
    caption.x = static_cast<float>(width / 2);
    caption.y = static_cast<float>(height / 2 - caption.lineHeight() / 2);
    caption.draw(target);

    // A meter low enough to end left of where it starts is empty: it must
    // not grow backwards as the score keeps falling.
    const int end = static_cast<int>(score * METER_FULL_LENGTH * METER_PER_POINT);
    if (end < METER_LEFT) {
        return;
    }
    const int depth = bitmap_color_depth(target);
    for (int line = 0; line < METER_LINES; ++line) {
        const int red = static_cast<int>(
            METER_RED - METER_RED_FALL * static_cast<float>(std::abs(line - METER_MIDDLE_LINE)));
        hline(target, METER_LEFT, METER_TOP + line, end, makecol_depth(depth, red, 0, 0));
    }
}

void DanceFish::playInTime(const char* name)
{
    SoundManager* sound = SoundManager::instance();
    if (sound == nullptr) {
        return;
    }
    Game* game = Game::instance();
    const float pace = game != nullptr ? game->timeScale : 1.0f;
    sound->play(name, FULL_VOLUME, PAN_CENTRE, static_cast<int>(pace * NORMAL_RATE), false);
}
