#include "game/app/Hud.h"

#include "engine/core/DebugLog.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/DatafileWriter.h"
#include "engine/media/Screen.h"
#include "game/app/Game.h"
#include "game/play/Player.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>

namespace {

class HudTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        game = std::make_unique<Game>();
        DebugLog::setFatalMode(false);
        game->screen = new Screen(800, 600, false, true);
        clear_to_color(target, BACKDROP);
    }
    void TearDown() override { destroy_bitmap(target); }

    // Pixels in a rectangle that no longer show the backdrop.
    int changed(int x1, int y1, int x2, int y2) const
    {
        int count = 0;
        for (int y = y1; y <= y2; ++y) {
            for (int x = x1; x <= x2; ++x) {
                count += getpixel(target, x, y) != BACKDROP ? 1 : 0;
            }
        }
        return count;
    }

    const int BACKDROP = makecol(0, 128, 0);
    ScratchDir scratch;
    std::unique_ptr<Game> game;
    BITMAP* target = create_bitmap(800, 600);
};

TEST_F(HudTest, TimesAsMinutesAndTwoDigitSeconds)
{
    EXPECT_EQ(Hud::formatTime(75), "1:15");
    EXPECT_EQ(Hud::formatTime(7), "0:07");
    EXPECT_EQ(Hud::formatTime(59.99f), "0:59");
    EXPECT_EQ(Hud::formatTime(-3), "0:00");
    game->currentProfile = "Ann";
    game->mapLevel = 4;
    game->levelPercent[4] = 80;
    EXPECT_EQ(Hud::mapStatus(*game), "Ann Coins 25 Level 5 - 80%");
    game->bestTimes[4] = 75;
    EXPECT_EQ(Hud::mapStatus(*game), "Ann Coins 25 Level 5 - 80% 1:15");
}

TEST_F(HudTest, EachBlockDrawsOnlyWhileItsStateIsOnTheStack)
{
    Hud::draw(*game, target);
    EXPECT_EQ(changed(0, 0, 799, 599), 0);

    game->pushState("cutScene");
    Hud::draw(*game, target);
    EXPECT_EQ(getpixel(target, 10, 300) + getpixel(target, 400, 30) + getpixel(target, 400, 500), 0);
    EXPECT_EQ(getpixel(target, 400, 300), BACKDROP);
    clear_to_color(target, BACKDROP);
    game->screen->width = 640; // the story frame belongs to the wide window only
    Hud::draw(*game, target);
    EXPECT_EQ(changed(0, 0, 799, 599), 0);
    game->screen->width = 800;
    game->popState();

    game->pushState("title");
    Hud::draw(*game, target);
    EXPECT_GT(changed(0, 580, 150, 590), 0);
    EXPECT_EQ(changed(0, 0, 799, 570), 0);
    game->popState();

    clear_to_color(target, BACKDROP);
    game->pushState("levelSelect");
    Hud::draw(*game, target);
    EXPECT_NE(getpixel(target, 20, 565), BACKDROP); // the band
    EXPECT_EQ(getpixel(target, 10, 565), BACKDROP);
    EXPECT_EQ(getpixel(target, 760, 565), BACKDROP);
    game->popState();

    clear_to_color(target, BACKDROP);
    game->pushState("inGame");
    Hud::draw(*game, target);
    EXPECT_EQ(changed(0, 0, 799, 599), 0); // no fish yet
    Player fish;
    game->player = &fish;
    Hud::draw(*game, target);
    EXPECT_GT(changed(160, 7, 200, 15), 0); // first treasure counter
    EXPECT_GT(changed(640, 38, 680, 46), 0); // level clock
    EXPECT_EQ(changed(0, 100, 799, 599), 0); // no boss, no power-ups
}

TEST_F(HudTest, BossBarShowsFullHeartsFirstAndIsCentred)
{
    // Red full heart, blue empty one; a handle never reaches a file's last
    // object, hence the spare.
    ::mkdir("dat", 0777);
    DatafileManager::setDirectory("dat/");
    DatafileWriter out;
    const int colours[] = { makecol(255, 0, 0), makecol(0, 0, 255) };
    for (int colour : colours) {
        BITMAP* swatch = create_bitmap(10, 10);
        clear_to_color(swatch, colour);
        out.addBitmap(swatch);
        destroy_bitmap(swatch);
    }
    out.addData({ 0 });
    out.save("dat/heart.dat");
    game->hearts.datafile.load("heart.dat");
    Player fish;
    game->player = &fish;
    game->pushState("inGame");
    game->bossHitPointsMax = 5;
    game->bossHitPoints = 2;

    Hud::draw(*game, target);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(getpixel(target, 340 + 30 * i, 575), colours[i < 2 ? 0 : 1]) << "heart " << i;
    }
    EXPECT_EQ(changed(300, 560, 330, 590) + changed(470, 560, 500, 590), 0);
    EXPECT_EQ(Hud::heartX(800, 0, 4) + Hud::heartX(800, 3, 4), 800); // an even row is centred too
}

} // namespace
