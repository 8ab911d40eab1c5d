#pragma once

#include <allegro.h>

#include <string>

class Game;

// The heads-up display drawn over the layers every frame. What it shows
// follows the states on the stack: the frame round a cutscene, the profile
// on the title, the status line on the map and the full level HUD in play.
class Hud {
public:
    // The column of the first power-up icon and the step to the next one.
    static constexpr int POWERUP_LEFT = 42;
    static constexpr int POWERUP_STEP = 96;
    // Boss hearts sit this far apart on this row.
    static constexpr int HEART_STEP = 30;
    static constexpr int HEART_ROW = 575;

    // Every block whose state is on the stack, in order, into target.
    static void draw(Game& game, BITMAP* target);

    static void drawCutSceneFrame(BITMAP* target);
    static void drawTitleProfile(Game& game, BITMAP* target);
    static void drawMapStatus(Game& game, BITMAP* target);
    static void drawLevelHud(Game& game, BITMAP* target);
    static void drawBossBar(Game& game, BITMAP* target);
    static void drawPowerups(Game& game, BITMAP* target);

    // Whole minutes, ":", and two-digit seconds: 75 -> "1:15", 7 -> "0:07".
    static std::string formatTime(float seconds);
    // The map's line: profile, coins, level number, rating and best time.
    static std::string mapStatus(const Game& game);
    // Centre of boss heart i of max hearts on a screen this wide.
    static int heartX(int width, int i, int max);
};
