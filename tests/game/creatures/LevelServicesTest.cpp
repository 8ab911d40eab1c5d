#include "game/creatures/LevelWorld.h"

#include <gtest/gtest.h>

namespace {

class LevelServicesTest : public leveltest::LevelWorld {
protected:
    // The cell where a row move from the cell ends.
    std::pair<int, int> moveFrom(int column, int row, int direction)
    {
        StillCreature* fish = spawn("eel.dat", column, row);
        game.moveAlongRow(direction, fish, 400.0f);
        for (int i = 0; i < 1000 && fish->moving; ++i) {
            fish->update(0.05f);
        }
        EXPECT_EQ(fish->x, Creature::cellCentre(Creature::cellOf(fish->x)));
        return { Creature::cellOf(fish->x), Creature::cellOf(fish->y) };
    }
};

TEST_F(LevelServicesTest, WithoutAMapEveryCellIsBlocked)
{
    game.mainLayer = nullptr;
    EXPECT_TRUE(game.isTileBlocked(0, 0));
    EXPECT_TRUE(game.isSolidForPlayer(3, 3));
    EXPECT_EQ(std::make_pair(2, 2), moveFrom(2, 2, 1));
}

TEST_F(LevelServicesTest, ASentinelWallsInTheFishButNotTheCreatures)
{
    buildMap({ "......" });
    StillCreature* statue = spawn("sentinel.dat", 3, 0);
    spawn("crab.dat", 1, 0);
    EXPECT_TRUE(game.isSolidForPlayer(3, 0));
    EXPECT_FALSE(game.isSolidForPlayer(1, 0)) << "only the statue's pictures wall the fish in";
    EXPECT_FALSE(game.isTileBlocked(3, 0));
    EXPECT_EQ(std::make_pair(5, 0), moveFrom(0, 0, 1)) << "creatures swim past statues";
    statue->visible = false;
    EXPECT_FALSE(game.isSolidForPlayer(3, 0));
}

TEST_F(LevelServicesTest, RowMovesStopBeforeWallsObstaclesAndTheLevelEdge)
{
    buildMap({
        "........",
        ".#......",
        "........",
        "........",
    });
    StillCreature* crate = spawn("crate.dat", 5, 2);
    crate->obstacle = true;
    EXPECT_TRUE(game.obstacleAt(400, 160));
    EXPECT_FALSE(game.obstacleAt(480, 200));

    EXPECT_EQ(std::make_pair(7, 0), moveFrom(3, 0, 1)) << "right to the level's edge";
    EXPECT_EQ(std::make_pair(0, 0), moveFrom(3, 0, 0)) << "left to the level's edge";
    EXPECT_EQ(std::make_pair(2, 1), moveFrom(5, 1, 0)) << "left, up to the rock";
    EXPECT_EQ(std::make_pair(4, 2), moveFrom(0, 2, 1)) << "right, up to the crate";
    EXPECT_EQ(std::make_pair(1, 2), moveFrom(1, 3, 2)) << "up, under the rock";
    EXPECT_EQ(std::make_pair(6, 3), moveFrom(6, 0, 3)) << "down to the bottom edge";
    EXPECT_EQ(std::make_pair(5, 1), moveFrom(5, 0, 3)) << "down, onto the crate";
    EXPECT_EQ(std::make_pair(7, 3), moveFrom(7, 3, 3)) << "at the edge already: stays";
    crate->visible = false;
    EXPECT_EQ(std::make_pair(7, 2), moveFrom(0, 2, 1)) << "a hidden crate is no obstacle";
    EXPECT_EQ(std::make_pair(3, 3), moveFrom(3, 3, 4)) << "no such direction";
}

} // namespace

namespace {

class CountedCreature : public Creature {
public:
    explicit CountedCreature(int& deaths)
        : deaths(deaths)
    {
    }
    ~CountedCreature() override { ++deaths; }
    int& deaths;
};

TEST_F(LevelServicesTest, ACreatureAddedWithNoStateToOwnItLivesUntilTheLevelIsCleared)
{
    game.popAllStates();
    int deaths = 0;
    auto* stray = new CountedCreature(deaths);
    game.addCreature(stray);
    // The caller may still place it, and the list may still walk it.
    stray->setPosition(120, 40);
    ASSERT_EQ(1u, game.creatures.size());
    EXPECT_EQ(stray, game.creatures[0]);
    EXPECT_EQ(0, deaths);

    game.clearLevelLists();
    EXPECT_TRUE(game.creatures.empty());
    EXPECT_EQ(1, deaths);
}

} // namespace
