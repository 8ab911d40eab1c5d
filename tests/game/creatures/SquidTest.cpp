#include "game/creatures/HazardWorld.h"

#include "game/creatures/InkBlot.h"
#include "game/creatures/Squid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

using hazardtest::DT;
using hazardtest::writePictures;

// The squid's den: open water with the boulder at (8, 6) over its shaft.
class SquidTest : public leveltest::LevelWorld {
protected:
    SquidTest()
    {
        writePictures("squid.dat", 1, 170, 250);
        writePictures("inkblot.dat", 1, 44, 44);
        startSound({ "squidshoot", "bubblehit", "pop", "ow" });
        buildMap({ "...............#", "...............#", "...............#", "...............#",
            "...............#", "...............#", "........#......#", "########.#######",
            "########.#######", "########.#######", "########.#######", "################" });
        squid = new Squid();
        game.addCreature(squid);
        squid->setPosition(7 * 80 + 40, 5 * 80 + 40);
    }

    ~SquidTest() override { Creature::hurtPlayer = nullptr; }

    // The squid alone, in the game's steps.
    void run(float seconds)
    {
        for (long step = std::lround(seconds / DT); step > 0; --step) {
            squid->update(DT);
        }
    }

    std::vector<InkBlot*> blots() const
    {
        std::vector<InkBlot*> found;
        for (Creature* creature : game.creatures) {
            if (auto* blot = dynamic_cast<InkBlot*>(creature)) {
                found.push_back(blot);
            }
        }
        return found;
    }

    // A blot frozen in a bubble at the point.
    InkBlot* frozenBlot(float x, float y)
    {
        auto* blot = new InkBlot();
        game.addCreature(blot);
        blot->setPosition(static_cast<int>(x), static_cast<int>(y));
        blot->trap(5.0f);
        return blot;
    }

    std::pair<float, float> where() const { return { squid->x, squid->y }; }

    Squid* squid = nullptr;
};

TEST_F(SquidTest, ItSwimsItsTriangleAxisByAxisAndSpitsInkAtTheFishAtEachCorner)
{
    Player* fish = makePlayer(1000, 440);
    run(0.99f);
    EXPECT_FALSE(squid->moving) << "a second's rest before the first swim";
    run(0.02f);
    ASSERT_TRUE(squid->moving);
    // Each axis at 150 pixels a second: 200 across is done in 1.33 s, 360
    // down takes 2.4 s.
    run(1.5f);
    EXPECT_NEAR(400.0f, squid->x, 0.5f);
    EXPECT_NEAR(440.0f + 150.0f * 1.5f, squid->y, 2.0f);
    EXPECT_TRUE(blots().empty()) << "it spits only once it has stopped";
    run(0.92f);
    EXPECT_EQ(std::make_pair(400.0f, 800.0f), where());
    ASSERT_EQ(1u, blots().size());
    EXPECT_EQ(1u, played("squidshoot").size());
    InkBlot* blot = blots()[0];
    EXPECT_NEAR(80.0f, std::hypot(blot->x - 400.0f, blot->y - 800.0f), 0.5f) << "out of its mouth";
    EXPECT_NEAR((fish->y - 800.0f) / (fish->x - 400.0f), (blot->y - 800.0f) / (blot->x - 400.0f), 0.001f)
        << "towards the fish";

    // Half a second at the corner, then up to (800, 0): 5.33 s for the
    // longer leg. Then (0, 400) and back to (400, 800), a shot at each.
    run(0.45f);
    EXPECT_FALSE(squid->moving);
    run(0.1f);
    EXPECT_TRUE(squid->moving);
    run(2.67f);
    EXPECT_NEAR(800.0f, squid->x, 0.5f);
    EXPECT_NEAR(400.0f, squid->y, 8.0f) << "the slant first, then straight up";
    run(2.7f);
    EXPECT_EQ(std::make_pair(800.0f, 0.0f), where());
    EXPECT_EQ(2u, blots().size());
    run(0.5f + 5.34f);
    EXPECT_EQ(std::make_pair(0.0f, 400.0f), where());
    EXPECT_EQ(3u, blots().size());
    run(0.5f + 2.68f);
    EXPECT_EQ(std::make_pair(400.0f, 800.0f), where());
    EXPECT_EQ(4u, blots().size());
    EXPECT_EQ(4u, played("squidshoot").size());
    EXPECT_FALSE(fish->dead);
}

TEST_F(SquidTest, ItsTentaclesReach128PixelsDownAnd64Otherwise)
{
    squid->shootTimer = 100.0f; // it stays put
    Player* fish = makePlayer(600, 440 + 120);
    run(DT);
    EXPECT_TRUE(fish->dead) << "120 pixels below";

    fish = makePlayer(600 + 100, 440);
    run(DT);
    EXPECT_FALSE(fish->dead) << "100 pixels to the side";
    fish = makePlayer(600, 440 - 100);
    run(DT);
    EXPECT_FALSE(fish->dead) << "100 pixels above";
    fish = makePlayer(600 - 60, 440);
    run(DT);
    EXPECT_TRUE(fish->dead) << "60 pixels to the side";
}

TEST_F(SquidTest, InkFrozenNearItWoundsItOnceABlinkAndFreeOrFarInkDoesNot)
{
    squid->shootTimer = 100.0f;
    squid->update(DT);
    EXPECT_EQ(3, game.bossHitPointsMax);
    EXPECT_EQ(3, game.bossHitPoints);

    auto* free = new InkBlot();
    game.addCreature(free);
    free->setPosition(600, 500);
    InkBlot* far = frozenBlot(600 + 129, 440);
    run(DT);
    EXPECT_EQ(3, squid->hitPoints) << "free ink, and frozen ink 129 pixels away";

    InkBlot* near = frozenBlot(600, 440 - 127);
    InkBlot* second = frozenBlot(600 + 60, 440);
    run(DT);
    EXPECT_EQ(2, squid->hitPoints);
    EXPECT_FALSE(near->visible) << "spent on the squid";
    EXPECT_FALSE(near->bubble.visible);
    EXPECT_TRUE(second->visible) << "blinking, it feels no more ink";
    EXPECT_TRUE(far->visible);
    EXPECT_EQ(2, game.bossHitPoints);

    run(0.3f);
    EXPECT_EQ(2, squid->hitPoints) << "still blinking: four runs of a tenth of a second";
    EXPECT_TRUE(second->visible);
    run(0.15f);
    EXPECT_EQ(1, squid->hitPoints) << "the blink is over and the ink is still there";
    EXPECT_FALSE(second->visible);
    EXPECT_TRUE(far->visible);
}

TEST_F(SquidTest, BeatenItFadesStopsAndSinksItsBoulderDownColumnEightInFourSteps)
{
    squid->hitPoints = 1;
    squid->shootTimer = 0.3f;
    Player* fish = makePlayer(1100, 440);
    frozenBlot(600 + 100, 440);
    run(DT);
    ASSERT_TRUE(squid->defeated());
    EXPECT_EQ(0, game.bossHitPoints);

    auto tiles = [&] {
        std::vector<int> column;
        for (int row = 6; row <= 10; ++row) {
            column.push_back(mainLayer.getTile(8, row));
        }
        return column;
    };
    const std::vector<int> before = tiles();
    run(0.98f);
    EXPECT_EQ(before, tiles()) << "a second before the boulder moves";
    // Steps a second after the defeat and every 0.7 s after that; looked at
    // half-way between them.
    run(0.37f);
    EXPECT_EQ(tiles(), (std::vector<int> { -1, 4, -1, -1, -1 }));
    run(0.7f);
    EXPECT_EQ(tiles(), (std::vector<int> { -1, -1, 4, -1, -1 }));
    run(0.7f);
    EXPECT_EQ(tiles(), (std::vector<int> { -1, -1, -1, 4, -1 }));
    run(0.7f);
    EXPECT_EQ(tiles(), (std::vector<int> { -1, -1, -1, -1, 0 })) << "at rest in (8, 10)";
    EXPECT_TRUE(game.isTileBlocked(8, 10));
    EXPECT_FALSE(game.isTileBlocked(8, 6));

    mainLayer.setTile(8, 9, 3);
    run(3.0f);
    EXPECT_EQ(3, mainLayer.getTile(8, 9)) << "nothing more after the fourth step";
    EXPECT_EQ(0.0f, squid->alpha) << "faded away";
    EXPECT_EQ(std::make_pair(600.0f, 440.0f), where()) << "a beaten squid swims no more";
    EXPECT_TRUE(blots().size() == 1) << "and spits no more";

    fish->x = 600;
    fish->y = 440 + 50;
    run(DT);
    EXPECT_FALSE(fish->dead) << "nor does it hurt";
}

TEST_F(SquidTest, OutOfSightItLeavesTheBossBarAloneAndWhileTheGameIsFrozenItDoesNothing)
{
    game.bossHitPointsMax = 5;
    game.bossHitPoints = 4;
    squid->visible = false;
    run(DT);
    EXPECT_EQ(5, game.bossHitPointsMax);
    squid->visible = true;

    game.frozen = true;
    run(2.0f);
    EXPECT_FALSE(squid->moving);
    EXPECT_FLOAT_EQ(0.99f, squid->shootTimer) << "only the step before the freeze counted";
    EXPECT_EQ(5, game.bossHitPointsMax);
    game.frozen = false;
    run(DT);
    EXPECT_EQ(3, game.bossHitPointsMax);
}

} // namespace
