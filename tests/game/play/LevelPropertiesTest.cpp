#include "game/play/LevelProperties.h"

#include <gtest/gtest.h>

#include <string>

using Cues = LevelProperties::Cues;
using Ride = LevelProperties::Ride;

TEST(LevelPropertiesTest, EachLevelsPictureTilesBackgroundKindAndCoins)
{
    struct Case {
        int level, picture;
        const char *tiles, *background;
        int kind, coins;
    };
    const Case cases[] = {
        { 0, 0, "tiles0.dat", "bg0.dat", 0, 0 },
        { 3, 3, "tiles0.dat", "bg0.dat", 1, 10 },
        { 7, 7, "tiles0.dat", "bg0.dat", 2, 0 },
        { 9, 9, "tiles0.dat", "bg0.dat", 4, 0 },
        { 14, 14, "tiles1.dat", "bg1.dat", 3, 0 },
        { 16, 16, "tiles1.dat", "bg1.dat", 1, 15 },
        { 25, 25, "tiles2.dat", "bg2.dat", 1, 20 },
        { 39, 39, "tiles2.dat", "bg3.dat", 4, 0 },
        { 44, 44, "tiles4.dat", "bg4.dat", 1, 30 },
        { 45, 45, "tiles4.dat", "bg4.dat", 0, 0 },
        { 1000, 50, "tiles0.dat", "bg0.dat", 5, 0 },
        { 1001, 51, "tiles1.dat", "bg0.dat", 5, 0 },
        { 1002, 52, "tiles2.dat", "bg0.dat", 5, 0 },
        { 1003, 53, "tiles0.dat", "bg0.dat", 5, 0 },
        // Past the story and outside the numbering: no picture (50 must not
        // open the shell game's) and no tiles.
        { 50, -1, "", "bg0.dat", 0, 0 },
        { 1004, -1, "", "bg0.dat", 0, 0 },
        { -15, -1, "", "bg0.dat", 0, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.level);
        EXPECT_EQ(c.picture, LevelProperties::pictureIndex(c.level));
        EXPECT_EQ(c.tiles, LevelProperties::tileSet(c.level));
        EXPECT_EQ(c.background, LevelProperties::background(c.level));
        EXPECT_EQ(c.kind, LevelProperties::setup(c.level).levelKind);
        EXPECT_EQ(c.coins, LevelProperties::setup(c.level).coinsRequired);
    }
    // Out of the water in 30-39, except on the rocket of level 38.
    EXPECT_EQ(Ride::ROCKET, LevelProperties::setup(38).ride);
    EXPECT_FALSE(LevelProperties::setup(38).outOfWater);
    EXPECT_TRUE(LevelProperties::setup(30).outOfWater);
    EXPECT_FALSE(LevelProperties::setup(40).outOfWater);
}

TEST(LevelPropertiesTest, MusicFollowsTheFirstCueThatHolds)
{
    // Every cue at once, then one fewer each time, from the strongest down.
    Cues c;
    c.level = 1003;
    c.miniGameMusic = c.sharkChase = c.holdsPlunger = c.bossBattle = c.ridesFriend = true;
    c.coinsRequired = 10;
    EXPECT_EQ("", LevelProperties::music(c));
    c.miniGameMusic = false;
    EXPECT_EQ("mus/shark.ogg", LevelProperties::music(c));
    c.sharkChase = false;
    EXPECT_EQ("mus/boss.ogg", LevelProperties::music(c));
    c.holdsPlunger = false;
    EXPECT_EQ("mus/squidbattle.ogg", LevelProperties::music(c));
    c.bossBattle = false;
    EXPECT_EQ("mus/rayblues.ogg", LevelProperties::music(c));
    c.ridesFriend = false;
    EXPECT_EQ("mus/montyrag.ogg", LevelProperties::music(c));
    c.coinsRequired = 0;
    EXPECT_EQ("mus/heroics.ogg", LevelProperties::music(c));

    // The real levels' cues, with the music and the opening banner.
    struct Case {
        int level;
        bool plunger;
        const char* track;
        int banner;
    };
    const Case cases[] = {
        { 2, false, "mus/underwater.ogg", 0 },
        { 3, false, "mus/montyrag.ogg", 1 },
        { 5, false, "mus/rayblues.ogg", 1 },
        { 7, false, "mus/shark.ogg", 3 },
        { 9, false, "mus/squidbattle.ogg", 2 },
        { 12, false, "mus/piratelevel.ogg", 0 },
        { 21, false, "mus/underwatercity.ogg", 0 },
        { 19, true, "mus/boss.ogg", 2 },
        { 29, false, "mus/squidbattle.ogg", 2 },
        { 35, false, "mus/underwater.ogg", 0 },
        { 49, false, "mus/heroics.ogg", 0 }, // the big shark sets no battle flag
        { 1001, false, "mus/piratelevel.ogg", 0 },
        { 1002, false, "", 1 },
        { 50, false, "", 0 },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.level);
        Cues cues = LevelProperties::cues(k.level, k.plunger);
        EXPECT_EQ(k.track, LevelProperties::music(cues));
        EXPECT_EQ(k.banner, LevelProperties::bannerFrame(cues));
    }
}
