#include "game/creatures/LevelWorld.h"

#include "engine/media/ParticleSystem.h"
#include "engine/ui/TextSprite.h"
#include "game/creatures/Dolphin.h"
#include "game/creatures/RewardCoin.h"
#include "game/play/CreatureFactory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

using Stops = std::vector<std::pair<float, float>>;

// A coin level on small hand-drawn maps: the dolphin, its coins, the fish.
class CoinLevelTest : public leveltest::LevelWorld {
protected:
    CoinLevelTest()
    {
        std::filesystem::copy_file("dat/bubble.dat", "dat/coin.dat");
        game.emitters[0] = &emitter;
    }

    ~CoinLevelTest() override { Creature::hurtPlayer = nullptr; }

    template <typename Kind> Kind* place(float x, float y)
    {
        auto* creature = new Kind();
        game.addCreature(creature);
        creature->x = x;
        creature->y = y;
        return creature;
    }

    static void run(Creature* creature, int tenths)
    {
        for (int i = 0; i < tenths; ++i) {
            creature->update(0.1f);
        }
    }

    size_t coinCount() const
    {
        return std::count_if(game.creatures.begin(), game.creatures.end(),
            [](Creature* creature) { return dynamic_cast<RewardCoin*>(creature) != nullptr; });
    }

    // Where each move the dolphin started in the given time was headed; a
    // climb that rock prevents adds nothing.
    static Stops route(Dolphin* dolphin, float seconds, Stops targets = {})
    {
        for (float t = 0.0f; t < seconds; t += 0.05f) {
            dolphin->update(0.05f);
            std::pair<float, float> target { dolphin->xTween.active ? dolphin->xTween.target : dolphin->x,
                dolphin->yTween.active ? dolphin->yTween.target : dolphin->y };
            if (dolphin->moving && (targets.empty() || targets.back() != target)) {
                targets.push_back(target);
            }
        }
        return targets;
    }

    int shortOfCoinsMessages()
    {
        int found = 0;
        for (Sprite* sprite : game.getState("level")->sprites) {
            auto* text = dynamic_cast<TextSprite*>(sprite);
            if (text != nullptr && text->text == "You didn't get enough coins!") {
                ++found;
                const auto& top = game.screen->layers[4].sprites;
                EXPECT_NE(top.end(), std::find(top.begin(), top.end(), sprite)) << "shown over the level";
                EXPECT_EQ(400.0f, text->x);
            }
        }
        return found;
    }

    ParticleSystem emitter;
};

TEST_F(CoinLevelTest, ACoinLeftAloneSinksThroughRockAndIsGoneForGoodTwoSecondsAfterItFell)
{
    buildMap({ "#####", "#####", "#####", "#####" });
    RewardCoin* coin = place<RewardCoin>(200, 40);
    EXPECT_EQ("dat/coin.dat", coin->datafile.name) << "the fish knows coins by their pictures";
    run(coin, 19);
    EXPECT_EQ(255.0f, coin->alpha);
    EXPECT_NEAR(40.0f + 50.0f * 1.9f, coin->y, 0.01f);
    run(coin, 4);
    EXPECT_TRUE(coin->visible);
    EXPECT_GT(255.0f, coin->alpha) << "fading";
    run(coin, 3);
    EXPECT_FALSE(coin->visible);

    float y = coin->y;
    coin->trap(5.0f);
    run(coin, 30);
    EXPECT_FALSE(coin->visible) << "a late bubble does not bring it back";
    EXPECT_EQ(y, coin->y);
}

TEST_F(CoinLevelTest, ABubbleSendsACoinOntoTheFishFromAfarAndItFadesOverTwoAndAHalfSeconds)
{
    buildMap({ "..............." });
    Player* fish = makePlayer(1100, 40);
    RewardCoin* coin = place<RewardCoin>(100, 40);
    coin->update(1.5f);
    coin->trap(5.0f);
    coin->update(0.1f);
    EXPECT_EQ(std::make_pair(1100.0f, 40.0f), std::make_pair(coin->x, coin->y));
    EXPECT_EQ(0.0f, coin->trapTime) << "a coin is never held in a bubble";
    EXPECT_FALSE(coin->bubble.visible);
    run(coin, 23);
    EXPECT_TRUE(coin->visible) << "its own two seconds no longer count";
    EXPECT_EQ(40.0f, coin->y) << "it waits for the fish instead of sinking";
    run(coin, 3);
    EXPECT_FALSE(coin->visible);

    fish->y = 0.0f;
    RewardCoin* other = place<RewardCoin>(100, 40);
    other->trap(5.0f);
    run(other, 2);
    EXPECT_EQ(std::make_pair(100.0f, 40.0f), std::make_pair(other->x, other->y))
        << "a fish at y 0 draws nothing";
    EXPECT_GT(255.0f, other->alpha);
}

TEST_F(CoinLevelTest, NothingHappensWhileTheLevelIsFrozen)
{
    buildMap({ "#.........#", "#.........#", "#....#....#", "#.........#", "###########" });
    makePlayer(760, 40);
    RewardCoin* coin = place<RewardCoin>(100, 40);
    RewardCoin* fetched = place<RewardCoin>(300, 40);
    fetched->trap(5.0f);
    auto* dolphin = place<Dolphin>(280, 280);
    game.frozen = true;
    for (Creature* creature : std::vector<Creature*> { coin, fetched, dolphin }) {
        run(creature, 100);
    }
    EXPECT_EQ(40.0f, coin->y);
    EXPECT_EQ(2.0f, coin->lifeTimer);
    EXPECT_EQ(300.0f, fetched->x);
    EXPECT_EQ(280.0f, dolphin->y);
    EXPECT_EQ(2u, coinCount());

    game.frozen = false;
    fetched->update(0.1f);
    EXPECT_EQ(760.0f, fetched->x);
}

TEST_F(CoinLevelTest, TheDolphinDropsACoinAfterTwoSecondsThenEveryEightTenthsAndBitesWithinFortyPixels)
{
    buildMap({ "#####", "#####", "##.##", "#####" });
    auto* dolphin = place<Dolphin>(200, 200);
    Player* fish = makePlayer(200 + 41, 200);
    std::vector<float> dropped;
    for (int i = 1; i <= 80; ++i) {
        dolphin->update(0.05f);
        if (coinCount() > dropped.size()) {
            dropped.push_back(i * 0.05f);
            EXPECT_EQ(std::make_pair(200.0f, 200.0f),
                std::make_pair(game.creatures.back()->x, game.creatures.back()->y));
        }
    }
    ASSERT_EQ(3u, dropped.size());
    EXPECT_NEAR(2.0f, dropped[0], 0.06f);
    EXPECT_NEAR(2.8f, dropped[1], 0.06f);
    EXPECT_NEAR(3.6f, dropped[2], 0.06f);

    EXPECT_FALSE(fish->dead);
    fish->x = 200 + 39;
    dolphin->update(0.05f);
    EXPECT_TRUE(fish->dead);
}

TEST_F(CoinLevelTest, TheDolphinClimbsWhenItCanSwimsToTheWallAndLeavesAtTheSecondRow)
{
    buildMap(
        { "##########", "#........#", "#........#", "#........#", "#....##..#", "#....#...#", "##########" });
    const auto& rows = LevelColours::rows();
    auto row = std::find_if(rows.begin(), rows.end(),
        [](const LevelColours::Row& r) { return r.kind == LevelColours::Kind::DOLPHIN; });
    auto* dolphin = dynamic_cast<Dolphin*>(CreatureFactory::create(*row));
    ASSERT_NE(nullptr, dolphin) << "the level's dolphin colour builds a dolphin";
    game.addCreature(dolphin);
    dolphin->setPosition(6 * 80 + 40, 5 * 80 + 40);

    Stops stops = route(dolphin, 0.1f);
    EXPECT_EQ((Stops { { 680.0f, 440.0f } }), stops) << "rock above: it only turns";
    EXPECT_TRUE(dolphin->flipH) << "faces the way it swims";
    EXPECT_EQ((Stops { { 680.0f, 440.0f }, { 680.0f, 360.0f }, { 600.0f, 360.0f }, { 600.0f, 280.0f },
                  { 680.0f, 280.0f }, { 680.0f, 200.0f }, { 120.0f, 200.0f }, { 120.0f, 120.0f } }),
        route(dolphin, 10.0f, stops));
    EXPECT_FALSE(dolphin->visible) << "faded out at the top, bubbles pass where it was";
    size_t coins = coinCount();
    run(dolphin, 50);
    EXPECT_EQ(coins, coinCount());
}

TEST_F(CoinLevelTest, ARowWithoutWallsEndsAtTheLevelsEdge)
{
    buildMap({ "##########", "#.......##", "#.......##", "..........", "..........", "##########" });
    Stops stops = route(place<Dolphin>(360, 360), 5.0f);
    ASSERT_LE(3u, stops.size());
    EXPECT_EQ((Stops { { 360.0f, 280.0f }, { 760.0f, 280.0f }, { 40.0f, 280.0f } }),
        Stops(stops.begin(), stops.begin() + 3));
}

class CoinVerdictTest : public CoinLevelTest {
protected:
    CoinVerdictTest()
    {
        buildMap({ "##########", "#........#", "#........#", "##########" });
        game.coinsRequired = 3;
        fish = makePlayer(680, 200);
        dolphin = place<Dolphin>(200, 120); // already on its way out
    }

    Player* fish = nullptr;
    Dolphin* dolphin = nullptr;
};

TEST_F(CoinVerdictTest, AFishShortOfCoinsLosesOnceTheDolphinHasLeft)
{
    run(dolphin, 4);
    EXPECT_FALSE(fish->dead) << "not while it is still fading";
    EXPECT_EQ(0, shortOfCoinsMessages());
    run(dolphin, 2);
    EXPECT_TRUE(fish->dead);
    run(dolphin, 20);
    EXPECT_EQ(1, shortOfCoinsMessages());
}

TEST_F(CoinVerdictTest, CoinsStillFloatingPutTheVerdictOffUntilTheyCanNoLongerCloseTheGap)
{
    fish->levelCoins = 1;
    RewardCoin* caught = place<RewardCoin>(100, 100);
    RewardCoin* lost = place<RewardCoin>(100, 100);
    run(dolphin, 10);
    EXPECT_FALSE(fish->dead) << "two coins in the water make three";

    caught->visible = false;
    fish->levelCoins = 2;
    run(dolphin, 5);
    EXPECT_FALSE(fish->dead);

    run(lost, 30);
    run(dolphin, 1);
    EXPECT_TRUE(fish->dead) << "the last chance sank away";
    EXPECT_EQ(1, shortOfCoinsMessages());
}

TEST_F(CoinVerdictTest, EnoughCoinsOrADeadFishMeansNoVerdict)
{
    fish->levelCoins = 3;
    run(dolphin, 10);
    fish->levelCoins = 0;
    run(dolphin, 10);
    EXPECT_FALSE(fish->dead) << "settled when it left";

    fish->dead = true;
    run(place<Dolphin>(440, 120), 10);
    EXPECT_EQ(0, shortOfCoinsMessages());
}

} // namespace
