#include "game/minigames/DanceFish.h"

#include "game/creatures/KindWorld.h"
#include "game/creatures/RewardCoin.h"
#include "game/play/CreatureFactory.h"
#include "game/play/PlayWorld.h"
#include "game/play/Treasure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace {

constexpr float DT = 0.01f;

const std::vector<std::string> ARENA = { "##......##", "#........#", "#........#", "#........#", "#........#",
    "#........#", "#........#", "##########" };

std::pair<float, float> at(const Sprite& sprite)
{
    return { sprite.x, sprite.y };
}

// The dance floor with its two fish: the player's at (200, 360), the show
// fish at home on the right.
class DanceFishTest : public leveltest::KindWorld {
protected:
    DanceFishTest()
    {
        paint("dancefish.dat", 1, 130, 112);
        paint("coin.dat", 21, 24, 24);
        startSound({ "danceleft", "danceright", "danceup", "dancedown", "dancesong", "dancesong2",
            "dancesong3", "beat", "ow", "treasure" });
        buildMap(ARENA);
        fish = makePlayer(200, 360);
        fish->danceHomeX = 200;
        fish->danceHomeY = 360;
        game.miniGameMusic = true;
        dance = new DanceFish();
        game.addCreature(dance);
    }

    ~DanceFishTest() override
    {
        for (int code = 0; code < KEY_MAX; ++code) {
            key[code] = 0;
        }
    }

    // One frame of the floor: the fish, every creature (coins too), the
    // treasures.
    void tick()
    {
        fish->update(DT);
        for (size_t i = 0; i < game.creatures.size(); ++i) {
            game.creatures[i]->update(DT);
        }
        for (Treasure* treasure : game.treasures) {
            treasure->update(DT);
        }
    }

    void play(float seconds)
    {
        for (long step = std::lround(seconds / DT); step > 0; --step) {
            tick();
        }
    }

    // On until the bar's clock has reached the given unit.
    void playToClock(float units)
    {
        for (int frame = 0; frame < 300 && dance->beatClock < units; ++frame) {
            tick();
        }
        ASSERT_GE(dance->beatClock, units);
    }

    // On into the next bar, up to the frame in which its clock starts at 0.
    void playToNextBar()
    {
        for (int frame = 0; frame < 300; ++frame) {
            float before = dance->beatClock;
            tick();
            if (dance->beatClock < before) {
                return;
            }
        }
        FAIL() << "the bar never ended";
    }

    // The player's fish steps as its keys would make it.
    void step(int direction) { fish->danceStep(direction); }

    int coinsMade() const
    {
        return static_cast<int>(std::count_if(game.creatures.begin(), game.creatures.end(),
            [](Creature* creature) { return dynamic_cast<RewardCoin*>(creature) != nullptr; }));
    }

    Player* fish = nullptr;
    DanceFish* dance = nullptr;
};

TEST_F(DanceFishTest, TheFirstBarShowsLeftRightUpDownToTheBeatWhileThePlayerOnlyWatches)
{
    ASSERT_TRUE(fish->danceStep) << "the fish's steps are judged here";
    EXPECT_TRUE(fish->danceKeysLocked) << "the first bar is the show fish's";

    game.frozen = true;
    play(1.0f);
    EXPECT_EQ(0.0f, dance->beatClock);
    EXPECT_TRUE(played("beat").empty());
    game.frozen = false;

    tick();
    EXPECT_NEAR(562.0f, dance->x, 0.01f) << "40 pixels left and on its way home";
    EXPECT_EQ(1u, played("danceleft").size());
    EXPECT_EQ(1u, played("dancesong").size());
    EXPECT_EQ(1u, played("beat").size());
    play(0.2f);
    EXPECT_EQ(at(*dance), std::make_pair(600.0f, 360.0f)) << "home again at 200 pixels a second";

    key[KEY_RIGHT] = 1;
    playToClock(10.0f);
    key[KEY_RIGHT] = 0;
    EXPECT_EQ(200.0f, fish->x) << "no dancing while the show fish shows";
    EXPECT_NEAR(638.0f, dance->x, 0.01f) << "right";
    playToClock(30.0f);
    EXPECT_NEAR(398.0f, dance->y, 0.01f) << "down";
    EXPECT_EQ(std::vector<size_t>({ 1, 1, 1, 1, 4 }),
        std::vector<size_t>({ played("danceleft").size(), played("danceright").size(),
            played("danceup").size(), played("dancedown").size(), played("beat").size() }));
    EXPECT_EQ(10.0f, dance->score) << "the show is not judged";

    playToClock(38.0f);
    EXPECT_FALSE(dance->fishTurn);
    EXPECT_FALSE(fish->danceKeysLocked);

    // The player's bar goes by without a step: four missed steps.
    playToNextBar();
    EXPECT_EQ(2u, played("dancesong").size()) << "the answer keeps the tune of its show";
    playToClock(38.0f);
    EXPECT_EQ(6.0f, dance->score);
    EXPECT_EQ(1u, played("danceleft").size()) << "the show fish stood still";
    EXPECT_TRUE(dance->fishTurn);
    EXPECT_TRUE(fish->danceKeysLocked);
    EXPECT_EQ("Watch Me!", dance->caption.text);
    EXPECT_EQ(1, dance->barCount);
    ASSERT_EQ(4u, dance->phrase.size());
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(static_cast<int>(i) * 10, dance->phrase[i].time);
        EXPECT_TRUE(dance->phrase[i].direction >= 0 && dance->phrase[i].direction <= 3);
    }
    playToNextBar();
    EXPECT_EQ(1u, played("dancesong2").size()) << "a new phrase, a new tune";
}

TEST_F(DanceFishTest, AStepCountsFromFiveUnitsBeforeItsTimeToOneAfterAndOnlyOnce)
{
    playToClock(38.0f);
    // A step at the very change of turn is for the first move, left.
    step(DanceFish::LEFT);
    EXPECT_EQ("GOOD!", dance->caption.text);
    EXPECT_EQ(11.5f, dance->score);
    step(DanceFish::LEFT);
    EXPECT_EQ("BAAAAD!", dance->caption.text);
    EXPECT_EQ(9.5f, dance->score);
    step(DanceFish::RIGHT);
    EXPECT_EQ(7.5f, dance->score) << "every further step for the same move";

    // Right is due at 10: at 4.4 it is too early, however right.
    playToNextBar();
    playToClock(4.4f);
    EXPECT_TRUE(dance->tooEarly);
    step(DanceFish::RIGHT);
    EXPECT_EQ("BAD!", dance->caption.text);
    EXPECT_EQ(7.25f, dance->score);
    playToClock(11.4f);
    EXPECT_EQ(7.25f, dance->score) << "a judged move is no missed one";

    // Up is due at 20: from 15 on it counts.
    playToClock(14.6f);
    EXPECT_TRUE(dance->tooEarly);
    playToClock(15.4f);
    EXPECT_FALSE(dance->tooEarly);
    step(DanceFish::UP);
    EXPECT_EQ("GOOD!", dance->caption.text);
    EXPECT_EQ(8.75f, dance->score);

    // Down, due at 30, never comes: it costs 1 once the clock passes 31.
    playToClock(30.6f);
    EXPECT_EQ(8.75f, dance->score);
    playToClock(31.4f);
    EXPECT_EQ(7.75f, dance->score);
    // Past the phrase's last move every step is a bad one.
    step(DanceFish::DOWN);
    EXPECT_EQ("BAD!", dance->caption.text);
    EXPECT_EQ(7.5f, dance->score);
    step(DanceFish::DOWN);
    EXPECT_EQ(5.5f, dance->score);
}

TEST_F(DanceFishTest, TheMeterFillsSeventeenAndAHalfPixelsAPointFromXHundredBrightestInItsMiddleLine)
{
    BITMAP* target = create_bitmap_ex(16, 800, 600);
    clear_to_color(target, 0);
    dance->draw(target);
    EXPECT_EQ(makecol16(200, 0, 0), getpixel(target, 100, 110));
    EXPECT_EQ(makecol16(200, 0, 0), getpixel(target, 175, 110)) << "score 10: to x 175";
    EXPECT_EQ(0, getpixel(target, 176, 110));
    EXPECT_EQ(makecol16(72, 0, 0), getpixel(target, 150, 100)) << "the top line";
    EXPECT_EQ(makecol16(84, 0, 0), getpixel(target, 150, 119)) << "the bottom line";

    dance->score = 40.0f;
    dance->caption.text = "GOOD!";
    clear_to_color(target, 0);
    dance->draw(target);
    EXPECT_EQ(makecol16(200, 0, 0), getpixel(target, 700, 110)) << "full at 700";
    EXPECT_EQ(0, getpixel(target, 701, 110));
    EXPECT_EQ(400.0f, dance->caption.x) << "the caption in the middle of the screen";
    EXPECT_EQ(static_cast<float>(300 - dance->caption.lineHeight() / 2), dance->caption.y);

    // Below 100 / 17.5 points the meter would end left of its start.
    dance->score = 4.0f;
    clear_to_color(target, 0);
    dance->draw(target);
    for (int x : { 70, 99, 100 }) {
        EXPECT_EQ(0, getpixel(target, x, 110)) << "an empty meter, not one growing backwards, at x " << x;
    }
    destroy_bitmap(target);
}

TEST_F(DanceFishTest, AFullMeterPaysTwentyFiveCoinsOneEveryFifthOfASecondThenSendsTheChest)
{
    Treasure* chest = dance->prize;
    ASSERT_NE(nullptr, chest);
    EXPECT_EQ(Treasure::CHEST, chest->kind());
    EXPECT_EQ(at(*chest), std::make_pair(200.0f, 120.0f)) << "in cell (2, 1)";
    EXPECT_EQ(std::vector<Treasure*> { chest }, game.treasures);

    playToClock(38.0f);
    dance->score = 38.5f;
    step(DanceFish::LEFT);
    tick();
    EXPECT_TRUE(dance->won);
    EXPECT_EQ("YouWin", dance->caption.text);
    EXPECT_TRUE(fish->danceKeysLocked);
    fish->hurt();
    EXPECT_FALSE(fish->dead) << "nothing hurts the winner";
    const float clock = dance->beatClock;

    play(0.18f);
    EXPECT_EQ(0, coinsMade());
    play(0.04f);
    ASSERT_EQ(1, coinsMade());
    auto* coin = static_cast<RewardCoin*>(game.creatures.back());
    EXPECT_TRUE(coin->moving);
    EXPECT_EQ(360.0f, coin->yTween.target) << "down to the fish";
    EXPECT_GT(coin->y, 120.0f) << "from the chest";
    EXPECT_LT(coin->y, 150.0f);

    play(4.6f);
    EXPECT_EQ(24, coinsMade());
    EXPECT_EQ(at(*chest), std::make_pair(200.0f, 120.0f)) << "the chest waits for the last coin";
    play(0.2f);
    EXPECT_EQ(25, coinsMade());
    play(1.5f);
    EXPECT_EQ(25, fish->levelCoins) << "every coin caught";
    EXPECT_EQ(25, coinsMade());
    EXPECT_TRUE(chest->collected) << "the chest came down to the fish";
    EXPECT_EQ(clock, dance->beatClock) << "the music is over";
    EXPECT_TRUE(fish->danceKeysLocked) << "for good";
}

TEST_F(DanceFishTest, AnEmptyMeterKillsTheFishAndTheDanceStops)
{
    playToClock(38.0f);
    dance->score = 0.5f;
    step(DanceFish::RIGHT);
    EXPECT_EQ(0.25f, dance->score) << "a wrong step";
    step(DanceFish::UP);
    EXPECT_EQ(-1.75f, dance->score);
    tick();
    EXPECT_TRUE(fish->dead);
    EXPECT_EQ(1u, played("ow").size());
    const float clock = dance->beatClock;
    play(1.0f);
    EXPECT_EQ(clock, dance->beatClock);
    EXPECT_EQ(1u, played("ow").size());
}

// The dance game as the level runs it.
class DanceFloorTest : public playtest::PlayWorld {
protected:
    DanceFloorTest()
    {
        writeLevels({ { 52, ARENA } }); // the dance game's picture
        game.highestLevel = 40;
        game.currentLevel = 1002;
        game.jumpState("inGame");
    }

    ~DanceFloorTest() override { key[KEY_LEFT] = 0; }
};

TEST_F(DanceFloorTest, TheLevelHandsTheFishToTheShowFishAndAWinEndsAtTheTitleWithTheCoins)
{
    EXPECT_EQ(nullptr, CreatureFactory::createMiniGame(LevelProperties::MiniGame::NONE));
    auto* dance = dynamic_cast<DanceFish*>(game.danceGame);
    ASSERT_NE(nullptr, dance);
    Player* fish = game.player;
    EXPECT_EQ(std::make_pair(200, 360), std::make_pair(fish->danceHomeX, fish->danceHomeY));
    EXPECT_TRUE(fish->danceKeysLocked);
    EXPECT_EQ(1, game.treasureTotals[Treasure::CHEST]) << "the prize chest must be won";

    // The banner holds the floor for two seconds, then the show begins.
    run(2.0f);
    EXPECT_TRUE(dance->fishTurn);
    for (int frame = 0; frame < 300 && dance->fishTurn; ++frame) {
        run(DT);
    }
    ASSERT_FALSE(dance->fishTurn);
    key[KEY_LEFT] = 1;
    run(DT);
    key[KEY_LEFT] = 0;
    EXPECT_EQ("GOOD!", dance->caption.text);
    EXPECT_LT(fish->x, 200.0f) << "the fish stepped left";

    const int coins = game.coins;
    dance->score = 40.0f;
    run(8.0f);
    EXPECT_EQ((std::vector<std::string> { "title" }), stack());
    EXPECT_EQ(coins + 25, game.coins);
    EXPECT_EQ(1003, game.currentLevel);
}

} // namespace
