#include "game/app/Hud.h"

#include "engine/media/Screen.h"
#include "game/app/Game.h"
#include "game/play/Player.h"

#include <cmath>
#include <string>

namespace {

constexpr int CUTSCENE_WIDTH = 800;
constexpr int MAP_BAND_ALPHA = 64;
constexpr int TEXT_COLOUR = -1;
constexpr int ALIGN_LEFT = 0;
constexpr int ALIGN_CENTRE = 1;

// The counters across the top: treasure kinds 0, 1, 2 and 4, then bubbles.
constexpr int COUNTER_ROW = 7;
constexpr int COUNTER_KINDS[] = { 0, 1, 2, 4 };
constexpr int COUNTER_COLUMNS[] = { 100, 220, 340, 460 };
constexpr int BUBBLE_COLUMN = 580;

int valueAt(const std::map<int, int>& values, int key)
{
    auto found = values.find(key);
    return found != values.end() ? found->second : 0;
}

// Whole seconds of a time, never below 0.
int wholeSeconds(float seconds)
{
    if (!(seconds > 0.0f)) {
        return 0;
    }
    return static_cast<int>(seconds);
}

} // namespace

std::string Hud::formatTime(float seconds)
{
    if (!(seconds > 0.0f) || !std::isfinite(seconds)) {
        seconds = 0.0f;
    }
    const int minutes = static_cast<int>(seconds / 60.0f);
    const int rest = static_cast<int>(seconds - 60.0f * static_cast<float>(minutes));
    return std::to_string(minutes) + ":" + (rest < 10 ? "0" : "") + std::to_string(rest);
}

std::string Hud::mapStatus(const Game& game)
{
    const int level = game.mapLevel;
    std::string line = game.currentProfile + " Coins " + std::to_string(game.coins) + " Level "
        + std::to_string(level + 1) + " - " + std::to_string(valueAt(game.levelPercent, level)) + "%";
    const int best = valueAt(game.bestTimes, level);
    if (best != 0) {
        line += " " + formatTime(static_cast<float>(best));
    }
    return line;
}

int Hud::heartX(int width, int i, int max)
{
    // Halves of a step, so that an even row is centred as well as an odd one.
    return width / 2 + HEART_STEP * (2 * i - (max - 1)) / 2;
}

void Hud::draw(Game& game, BITMAP* target)
{
    if (target == nullptr) {
        return;
    }
    const int width = game.screen != nullptr ? game.screen->width : target->w;

    if (game.isOnStack("cutScene") && width == CUTSCENE_WIDTH) {
        drawCutSceneFrame(target);
    }
    if (game.isOnStack("title")) {
        drawTitleProfile(game, target);
    }
    if (game.isOnStack("levelSelect")) {
        drawMapStatus(game, target);
    }
    if (game.player != nullptr && game.isOnStack("inGame")) {
        drawLevelHud(game, target);
    }
}

void Hud::drawCutSceneFrame(BITMAP* target)
{
    // Letterbox the 640 x 420 story picture in the middle of the window.
    rectfill(target, 0, 0, 80, 600, 0);
    rectfill(target, 720, 0, 800, 600, 0);
    rectfill(target, 0, 0, 800, 60, 0);
    rectfill(target, 0, 480, 800, 600, 0);
}

void Hud::drawTitleProfile(Game& game, BITMAP* target)
{
    const int height = game.screen != nullptr ? game.screen->height : target->h;
    game.drawText(target, "Profile " + game.currentProfile, 0, height - 20, TEXT_COLOUR, ALIGN_LEFT);
}

void Hud::drawMapStatus(Game& game, BITMAP* target)
{
    const int width = game.screen != nullptr ? game.screen->width : target->w;
    const int height = game.screen != nullptr ? game.screen->height : target->h;

    set_trans_blender(0, 0, 0, MAP_BAND_ALPHA);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(target, 15, height - 70, width - 50, height - 30, 0);
    solid_mode();

    game.drawText(target, mapStatus(game), 30, height - 60, TEXT_COLOUR, ALIGN_LEFT);
}

void Hud::drawLevelHud(Game& game, BITMAP* target)
{
    const int width = game.screen != nullptr ? game.screen->width : target->w;
    const int x0 = width / 2 - 320;
    Player& player = *game.player;

    game.hudIcons.setPosition(width / 2, 30);
    game.hudIcons.draw(target);

    for (int c = 0; c < 4; ++c) {
        const int kind = COUNTER_KINDS[c];
        const std::string counter
            = std::to_string(game.treasureCollected[kind]) + "/" + std::to_string(game.treasureTotals[kind]);
        game.drawText(target, counter, x0 + COUNTER_COLUMNS[c], COUNTER_ROW, TEXT_COLOUR, ALIGN_CENTRE);
    }
    game.drawText(target, std::to_string(player.bubbles) + "/" + std::to_string(game.bubbleLimit),
        x0 + BUBBLE_COLUMN, COUNTER_ROW, TEXT_COLOUR, ALIGN_CENTRE);

    if (game.coinsRequired != 0) {
        game.drawText(target,
            "Coins x " + std::to_string(player.levelCoins)
                + " Required: " + std::to_string(game.coinsRequired),
            width / 2, 40, TEXT_COLOUR, ALIGN_CENTRE);
    }

    game.drawText(target, formatTime(game.levelClock), width / 2 + 260, 38, TEXT_COLOUR, ALIGN_CENTRE);

    drawBossBar(game, target);
    drawPowerups(game, target);
}

void Hud::drawBossBar(Game& game, BITMAP* target)
{
    const int max = game.bossHitPointsMax;
    if (max <= 0) {
        return;
    }
    const int width = game.screen != nullptr ? game.screen->width : target->w;
    AnimatedSprite& heart = game.hearts;
    heart.alignment = 1;
    for (int i = 0; i < max; ++i) {
        heart.setPosition(heartX(width, i, max), HEART_ROW);
        heart.frame = i < game.bossHitPoints ? 0.0f : 1.0f;
        heart.draw(target);
    }
}

void Hud::drawPowerups(Game& game, BITMAP* target)
{
    const int height = game.screen != nullptr ? game.screen->height : target->h;
    AnimatedSprite& icon = game.powerupIcons;
    icon.alignment = 1;
    int i = 0;
    for (const Player::Powerup& powerup : game.player->powerups) {
        const int column = POWERUP_LEFT + POWERUP_STEP * i;
        icon.frame = static_cast<float>(powerup.type);
        icon.setPosition(column, height - 50);
        icon.draw(target);
        game.drawText(target, std::to_string(wholeSeconds(powerup.secondsLeft)), column, height - 25,
            TEXT_COLOUR, ALIGN_CENTRE);
        ++i;
    }
}
