#include "game/play/LevelLoader.h"

#include "game/creatures/Clam.h"
#include "game/creatures/LevelWorld.h"
#include "game/play/TestLevels.h"
#include "game/play/Treasure.h"
#include "support/LogLines.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// What each letter of a test level stands for; anything else is open water.
const std::map<char, int> LEGEND = {
    { '#', 0xff0000 }, // rock
    { 'f', 0x323232 }, // weed in front (50, 50, 50)
    { 's', 0x141414 }, // scenery behind
    { 'S', 0x0000ff }, // the fish's start
    { 'c', 0x946030 }, // crab
    { 'p', 0xffa440 }, // puffer fish
    { 'm', 0x00ff00 }, // clam
    { 'j', 0x00ffff }, // jellyfish
    { 'T', 0xffff00 }, // chest
    { 'G', 0xa4ff00 }, // gem
    { 'v', 0x7dff00 }, // hanging spikes
    { '<', 0x00ff80 }, // sentinel looking left
    { 'x', 0xa46400 }, // explosive crate
    { 'r', 0xfe0001 }, // a step from rock: no colour of the table
    { 'w', 0xff007d }, // swordfish
};

class LevelLoaderTest : public leveltest::LevelWorld {
protected:
    LevelLoaderTest() { startFreshLog(); }

    // lvl/levels.dat with the pictures (art[row][column]) at their objects
    // and one-cell levels between them.
    void writeLevels(const std::map<int, std::vector<std::string>>& levels)
    {
        ASSERT_TRUE(leveltest::writeLevelFile(levels, LEGEND, { "." }));
    }

    bool load(int level) { return LevelLoader(game).loadLevel(level); }
};

std::pair<float, float> at(const Sprite* sprite)
{
    return { sprite->x, sprite->y };
}

TEST_F(LevelLoaderTest, PlacesCreaturesAndTreasuresColumnByColumn)
{
    writeLevels({ { 0, { "c..T", ".m.G", "p.jv", "<x.." } } });
    ASSERT_TRUE(load(0));
    EXPECT_EQ(320, game.levelWidth);
    EXPECT_EQ(320, game.levelHeight);
    const std::vector<Creature*>& c = game.creatures;
    ASSERT_EQ(7u, c.size());
    EXPECT_EQ(std::make_pair(40.0f, 40.0f), at(c[0])) << "crab";
    EXPECT_EQ(std::make_pair(40.0f, 240.0f), at(c[1])) << "puffer, 40 below the centre";
    EXPECT_EQ("dat/mrpuffer.dat", c[1]->datafile.name);
    EXPECT_TRUE(c[2]->flipH) << "sentinel looking left";
    EXPECT_EQ(std::make_pair(120.0f, 120.0f), at(c[3])) << "clam";
    EXPECT_EQ("dat/excrate.dat", c[4]->datafile.name);
    EXPECT_TRUE(c[4]->obstacle && c[4]->bubbleProof);
    EXPECT_EQ(std::make_pair(200.0f, 200.0f), at(c[5])) << "jellyfish";
    EXPECT_TRUE(c[6]->flipV) << "hanging spikes";

    ASSERT_EQ(3u, game.treasures.size());
    Treasure* pearl = game.treasures[0];
    EXPECT_EQ(std::make_pair(110.0f, 155.0f), at(pearl)) << "the pearl lies in the clam";
    EXPECT_EQ(4, pearl->kind());
    auto* clam = dynamic_cast<Clam*>(c[3]);
    ASSERT_NE(nullptr, clam);
    EXPECT_EQ(pearl, clam->pickup());
    EXPECT_EQ(std::make_pair(280.0f, 40.0f), at(game.treasures[1]));
    EXPECT_EQ(25, game.treasures[1]->offsetY) << "a chest sits low";
    EXPECT_EQ(0, game.treasures[2]->offsetY);
    EXPECT_EQ(10u, game.screen->layers[2].sprites.size());
}

TEST_F(LevelLoaderTest, TilesGoToTheirLayersWithTheirExactColours)
{
    writeLevels({ { 0, { "###.f", "..s.r" } } });
    ASSERT_TRUE(load(0));
    EXPECT_EQ(1, mainLayer.getTile(0, 0));
    EXPECT_EQ(2, mainLayer.getTile(1, 0));
    EXPECT_EQ(3, mainLayer.getTile(2, 0));
    EXPECT_EQ(7, mainLayer.getTile(2, 1));
    EXPECT_EQ(-1, mainLayer.getTile(4, 1)) << "a colour one step from rock is water";
    EXPECT_EQ(10, foregroundLayer.getTile(4, 0));
    EXPECT_EQ(-1, mainLayer.getTile(4, 0)) << "weed in front is not solid";
    EXPECT_EQ(-1, foregroundLayer.getTile(0, 0));
    EXPECT_EQ(COLORCONV_TOTAL, get_color_conversion());
}

TEST_F(LevelLoaderTest, TheFishStartsAtTheLastStartMetOrStaysWhereItWas)
{
    writeLevels({ { 0, { "S..", ".S.", "S.." } }, { 1, { "w." } } });
    ASSERT_TRUE(load(0)) << "without a fish";
    ASSERT_TRUE(load(1));
    Player* player = makePlayer(5, 6);
    ASSERT_TRUE(load(0));
    EXPECT_EQ(std::make_pair(120.0f, 120.0f), at(player));
    EXPECT_FALSE(player->holdingPlunger);
    player->setPosition(5, 6);
    ASSERT_TRUE(load(1));
    EXPECT_EQ(std::make_pair(5.0f, 6.0f), at(player));
    EXPECT_TRUE(player->holdingPlunger) << "the swordfish's level";
}

TEST_F(LevelLoaderTest, FindsEachLevelsPictureOrReportsItMissing)
{
    writeLevels({ { 49, { "..." } }, { 51, { "......." } }, { 53, { "." } } });
    ASSERT_TRUE(load(1001));
    EXPECT_EQ(560, game.levelWidth);
    ASSERT_TRUE(load(49));
    EXPECT_EQ(240, game.levelWidth);
    for (int level : { 50, 999, -1, 1004 }) {
        EXPECT_FALSE(load(level));
        EXPECT_TRUE(logHas("Could not load level [" + std::to_string(level) + "]")) << level;
    }
    EXPECT_EQ(240, game.levelWidth);
    EXPECT_EQ(0, DatafileManager::referenceCount("lvl/levels.dat")) << "the file is let go";
    std::filesystem::remove("lvl/levels.dat");
    EXPECT_FALSE(load(0));
    EXPECT_TRUE(logHas("level [0]: lvl/levels.dat could not be read"));
}

TEST_F(LevelLoaderTest, APictureLargerThanTheTileGridIsRefused)
{
    writeLevels({ { 0, { std::string(301, '#') } }, { 1, std::vector<std::string>(151, "#") },
        { 2, std::vector<std::string>(150, std::string(300, '.')) } });
    EXPECT_FALSE(load(0));
    EXPECT_TRUE(logHas("level [0]: its picture of 301 x 1 cells is larger than the 300 x 150 cells of the "
                       "tile map"));
    EXPECT_TRUE(logHas("Could not load level [0]"));
    EXPECT_FALSE(load(1));
    EXPECT_TRUE(logHas("Could not load level [1]"));
    EXPECT_EQ(800, game.levelWidth);
    EXPECT_EQ(-1, mainLayer.getTile(0, 0)) << "nothing was written";
    EXPECT_TRUE(load(2)) << "the grid's own size fits";
}

} // namespace
