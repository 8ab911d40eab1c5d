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
#include <vector>

namespace {

// A datafile of 10 x 10 pictures, one per colour, so a drawn frame can be
// told apart by its middle pixel. A handle does not reach a file's last
// object, so a spare one closes the file.
void writeSwatches(const std::string& path, const std::vector<int>& colours)
{
    DatafileWriter out;
    for (int colour : colours) {
        BITMAP* swatch = create_bitmap(10, 10);
        clear_to_color(swatch, colour);
        out.addBitmap(swatch);
        destroy_bitmap(swatch);
    }
    out.addData({ 0 });
    out.save(path);
}

class HudTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        game = std::make_unique<Game>();
        DebugLog::setFatalMode(false);
        useScreen(800, 600);
        ::mkdir("dat", 0777);
        DatafileManager::setDirectory("dat/");
    }

    void TearDown() override
    {
        if (target != nullptr) {
            destroy_bitmap(target);
        }
    }

    void useScreen(int width, int height)
    {
        delete game->screen;
        game->screen = new Screen(width, height, false, true);
        game->screen->layers.resize(5);
        if (target != nullptr) {
            destroy_bitmap(target);
        }
        target = create_bitmap(width, height);
        clear_to_color(target, BACKDROP);
    }

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
    BITMAP* target = nullptr;
};

TEST(HudTime, MinutesAndTwoDigitSeconds)
{
    EXPECT_EQ(Hud::formatTime(75), "1:15");
    EXPECT_EQ(Hud::formatTime(7), "0:07");
    EXPECT_EQ(Hud::formatTime(0), "0:00");
    EXPECT_EQ(Hud::formatTime(59.99f), "0:59");
    EXPECT_EQ(Hud::formatTime(600), "10:00");
    EXPECT_EQ(Hud::formatTime(-3), "0:00");
}

TEST_F(HudTest, MapStatusShowsTheBestTimeOnlyWhenThereIsOne)
{
    game->currentProfile = "Ann";
    game->coins = 40;
    game->mapLevel = 4;
    game->levelPercent[4] = 80;
    EXPECT_EQ(Hud::mapStatus(*game), "Ann Coins 40 Level 5 - 80%");
    game->bestTimes[4] = 75;
    EXPECT_EQ(Hud::mapStatus(*game), "Ann Coins 40 Level 5 - 80% 1:15");
}

TEST_F(HudTest, EachBlockDrawsOnlyWhileItsStateIsOnTheStack)
{
    Hud::draw(*game, target);
    EXPECT_EQ(changed(0, 0, 799, 599), 0);

    game->pushState("cutScene");
    Hud::draw(*game, target);
    EXPECT_EQ(getpixel(target, 10, 300), 0);
    EXPECT_EQ(getpixel(target, 790, 300), 0);
    EXPECT_EQ(getpixel(target, 400, 30), 0);
    EXPECT_EQ(getpixel(target, 400, 500), 0);
    EXPECT_EQ(getpixel(target, 400, 300), BACKDROP);

    // The story frame belongs to the wide window only.
    useScreen(640, 480);
    Hud::draw(*game, target);
    EXPECT_EQ(changed(0, 0, 639, 479), 0);
    game->popState();

    useScreen(800, 600);
    game->pushState("title");
    Hud::draw(*game, target);
    EXPECT_GT(changed(0, 580, 150, 590), 0);
    EXPECT_EQ(changed(0, 0, 799, 570), 0);
    game->popState();

    useScreen(800, 600);
    game->pushState("levelSelect");
    Hud::draw(*game, target);
    EXPECT_NE(getpixel(target, 20, 565), BACKDROP); // the band
    EXPECT_EQ(getpixel(target, 10, 565), BACKDROP);
    EXPECT_EQ(getpixel(target, 760, 565), BACKDROP);
    game->popState();

    // Level play shows its HUD only once the fish exists.
    useScreen(800, 600);
    game->pushState("inGame");
    Hud::draw(*game, target);
    EXPECT_EQ(changed(0, 0, 799, 599), 0);
    Player fish;
    game->player = &fish;
    Hud::draw(*game, target);
    EXPECT_GT(changed(160, 7, 200, 15), 0); // first treasure counter
    EXPECT_GT(changed(640, 38, 680, 46), 0); // level clock
    EXPECT_EQ(changed(0, 100, 799, 599), 0); // no boss, no power-ups
    game->player = nullptr;
}

TEST_F(HudTest, BossBarShowsFullHeartsFirstAndIsCentred)
{
    const int full = makecol(255, 0, 0);
    const int empty = makecol(0, 0, 255);
    writeSwatches("dat/heart.dat", { full, empty });
    game->hearts.datafile.load("heart.dat");
    Player fish;
    game->player = &fish;
    game->pushState("inGame");
    game->bossHitPointsMax = 5;
    game->bossHitPoints = 2;

    Hud::draw(*game, target);
    const int expected[] = { full, full, empty, empty, empty };
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(getpixel(target, 340 + 30 * i, 575), expected[i]) << "heart " << i;
    }
    EXPECT_EQ(changed(300, 560, 330, 590), 0);
    EXPECT_EQ(changed(470, 560, 500, 590), 0);

    // An even row is centred too.
    EXPECT_EQ(Hud::heartX(800, 0, 4) + Hud::heartX(800, 3, 4), 800);
    EXPECT_EQ(Hud::heartX(800, 0, 5), 340);

    game->player = nullptr;
}

TEST_F(HudTest, PowerupRowShowsEachKindWithItsSecondsBelow)
{
    const std::vector<int> kinds = { makecol(255, 0, 0), makecol(0, 0, 255), makecol(255, 255, 0) };
    writeSwatches("dat/powerups.dat", kinds);
    game->powerupIcons.datafile.load("powerups.dat");
    Player fish;
    fish.powerups = { { 2, 9.7f }, { 0, 3.2f } };
    game->player = &fish;
    game->pushState("inGame");

    Hud::draw(*game, target);
    EXPECT_EQ(getpixel(target, 42, 550), kinds[2]);
    EXPECT_EQ(getpixel(target, 138, 550), kinds[0]);
    EXPECT_GT(changed(30, 575, 54, 583), 0);
    EXPECT_GT(changed(126, 575, 150, 583), 0);
    EXPECT_EQ(changed(200, 530, 300, 590), 0);
    game->player = nullptr;
}

} // namespace
