#include "levels/LevelCompiler.h"
#include "BuildContext.h"
#include "levels/LevelBuilder.h"
#include "levels/LevelFile.h"
#include "levels/LevelLegend.h"
#include "levels/LevelRules.h"
#include "levels/LevelValidator.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const std::string LEVELS = std::string(TIDEWANDER_SOURCE_DIR) + "/data/levels";

std::vector<int> shippedLevels()
{
    return { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 1000, 1001, 1002, 1003 };
}

LevelFile mapOf(int number)
{
    LevelFile level;
    if (LevelRules::exists(number) && fs::exists(LEVELS + "/" + LevelRules::fileName(number))) {
        EXPECT_TRUE(level.load(LEVELS + "/" + LevelRules::fileName(number))) << level.error();
    } else {
        level.parse(LevelCompiler::PLACEHOLDER);
    }
    return level;
}

// The colour a cell holds in a picture of the given depth.
int expectedPixel(int depth, char symbol)
{
    const LevelLegend::Entry* entry = LevelLegend::find(symbol);
    int rgb = entry ? LevelLegend::key(*entry) : LevelLegend::WATER_KEY;
    return makecol_depth(depth, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// Loads the datafile as the game would at that colour conversion and checks
// every level's picture cell by cell against its map.
void expectPicturesMatchMaps(const std::string& path, int conversion, int depth)
{
    int previous = get_color_conversion();
    set_color_conversion(conversion);
    DATAFILE* data = load_datafile(path.c_str());
    set_color_conversion(previous);
    ASSERT_NE(nullptr, data) << path;

    int count = 0;
    while (data[count].type != DAT_END) {
        ++count;
    }
    // The last object is the spare that the game's cache cannot reach.
    EXPECT_EQ(LevelCompiler::OBJECT_COUNT, count);

    std::vector<int> numbers;
    for (int number = 0; number < 50; ++number) {
        numbers.push_back(number);
    }
    for (int number = 1000; number <= 1003; ++number) {
        numbers.push_back(number);
    }
    for (int number : numbers) {
        int index = LevelRules::objectIndex(number);
        ASSERT_LT(index, count);
        ASSERT_EQ(DAT_BITMAP, data[index].type) << "level " << number;
        BITMAP* picture = static_cast<BITMAP*>(data[index].dat);
        EXPECT_EQ(depth, bitmap_color_depth(picture)) << "level " << number;
        LevelFile level = mapOf(number);
        ASSERT_EQ(level.width(), picture->w) << "level " << number;
        ASSERT_EQ(level.height(), picture->h) << "level " << number;
        int wrong = 0;
        for (int y = 0; y < level.height(); ++y) {
            for (int x = 0; x < level.width(); ++x) {
                if (getpixel(picture, x, y) != expectedPixel(depth, level.at(x, y)) && ++wrong <= 3) {
                    ADD_FAILURE() << "level " << number << ", cell (" << x << ", " << y << ") '"
                                  << level.at(x, y) << "'";
                }
            }
        }
    }
    unload_datafile(data);
}

} // namespace

TEST(LevelCompilerTest, EveryShippedLevelPassesTheChecks)
{
    for (int number : shippedLevels()) {
        std::string path = LEVELS + "/" + LevelRules::fileName(number);
        ASSERT_TRUE(fs::exists(path)) << path;
        LevelFile level;
        ASSERT_TRUE(level.load(path)) << level.error();
        LevelValidator validator(LevelRules::forLevel(number));
        for (const LevelValidator::Problem& problem : validator.check(level)) {
            ADD_FAILURE() << validator.describe(problem);
        }
    }
}

TEST(LevelCompilerTest, WritesEveryLevelAtItsIndexWithExactColours)
{
    ScratchDir scratch;
    BuildContext context { TIDEWANDER_SOURCE_DIR "/data", scratch.path(), "", "" };
    ASSERT_TRUE(buildLevels(context));
    std::string path = scratch.path() + "/lvl/levels.dat";
    expectPicturesMatchMaps(path, COLORCONV_NONE, 24);
    // The game runs at 16 bits, where Allegro converts the pictures on
    // loading: every cell must still read as its own row of the table.
    set_color_depth(16);
    expectPicturesMatchMaps(path, COLORCONV_TOTAL, 16);

    // A few cells the game's set-up relies on.
    LevelFile den = mapOf(9);
    EXPECT_EQ('#', den.at(8, 6)); // the plug the beaten squid drops
    EXPECT_TRUE(LevelLegend::isWater(den.at(7, 5)));
    EXPECT_EQ(1u, mapOf(3).find('D').size());
    EXPECT_EQ(1u, mapOf(7).find('S').size());
    EXPECT_TRUE(mapOf(1002).find('P').empty());

    std::ifstream credits(scratch.path() + "/credits.txt");
    EXPECT_TRUE(credits.good());

    // The same bytes every build.
    std::ifstream first(path, std::ios::binary);
    std::string before((std::istreambuf_iterator<char>(first)), std::istreambuf_iterator<char>());
    ASSERT_TRUE(buildLevels(context));
    std::ifstream second(path, std::ios::binary);
    std::string after((std::istreambuf_iterator<char>(second)), std::istreambuf_iterator<char>());
    EXPECT_EQ(before, after);
}

TEST(LevelCompilerTest, TheRunFolderHoldsTheCurrentLevels)
{
    std::string path = std::string(TIDEWANDER_RUN_DIR) + "/lvl/levels.dat";
    if (!fs::exists(path)) {
        GTEST_SKIP() << "no game data built yet in " << TIDEWANDER_RUN_DIR;
    }
    expectPicturesMatchMaps(path, COLORCONV_NONE, 24);
}

TEST(LevelCompilerTest, ABrokenMapStopsTheBuildAndWritesNothing)
{
    ScratchDir scratch;
    fs::create_directories("data/levels");
    std::ofstream("data/levels/level00.txt") << "#####\n#P.P#\n#.T.#\n#####\n";
    std::ofstream("data/levels/level7.txt") << "#P.T#\n";
    std::ofstream("data/credits.txt") << "Tidewander\n";

    LevelCompiler compiler;
    EXPECT_FALSE(compiler.build("data/levels", "run/lvl/levels.dat"));
    std::vector<std::string> expected {
        "[level7.txt] in data/levels is not a level the game loads (levelNN.txt for 0-49, "
        "minigame1000.txt-1003)",
        "level 0 (level00.txt), cell (3, 1): a second player start 'P' (the first is at (1, 1))"
    };
    EXPECT_EQ(expected, compiler.problems());
    EXPECT_FALSE(fs::exists("run/lvl/levels.dat"));

    BuildContext context { "data", "run", "", "" };
    EXPECT_FALSE(buildLevels(context));

    // Unreadable maps are named too.
    fs::remove("data/levels/level7.txt");
    std::ofstream("data/levels/level00.txt") << "#P?T#\n";
    EXPECT_FALSE(compiler.build("data/levels", "run/lvl/levels.dat"));
    ASSERT_EQ(1u, compiler.problems().size());
    EXPECT_EQ("level00.txt: line 1, cell (2, 0): '?' is not in the level legend", compiler.problems()[0]);

    // Fixed, the build goes through with placeholders for the rest.
    std::ofstream("data/levels/level00.txt") << "#P.T#\n";
    EXPECT_TRUE(buildLevels(context));
    EXPECT_TRUE(fs::exists("run/lvl/levels.dat"));
    EXPECT_TRUE(fs::exists("run/credits.txt"));
}
