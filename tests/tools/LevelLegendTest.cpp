#include "levels/LevelLegend.h"
#include "levels/LevelFile.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <utility>
#include <vector>

namespace {

using Reduce = int (*)(int r, int g, int b);

int to16(int r, int g, int b)
{
    return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
}

int to15(int r, int g, int b)
{
    return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
}

// Pairs of map characters whose colours meet after the reduction.
std::set<std::pair<char, char>> collisions(Reduce reduce)
{
    std::map<int, char> seen;
    std::set<std::pair<char, char>> found;
    int water = LevelLegend::WATER_KEY;
    seen[reduce((water >> 16) & 0xFF, (water >> 8) & 0xFF, water & 0xFF)] = '.';
    for (const LevelLegend::Entry& entry : LevelLegend::entries()) {
        int value = reduce(entry.red, entry.green, entry.blue);
        auto [it, fresh] = seen.emplace(value, entry.symbol);
        if (!fresh) {
            found.insert({ it->second, entry.symbol });
        }
    }
    return found;
}

} // namespace

TEST(LevelLegendTest, EveryRowOfTheColourTableHasItsOwnCharacterAndKey)
{
    const std::vector<LevelLegend::Entry>& entries = LevelLegend::entries();
    ASSERT_EQ(38u, entries.size());
    std::set<char> symbols;
    std::set<int> keys { LevelLegend::WATER_KEY };
    for (const LevelLegend::Entry& entry : entries) {
        EXPECT_FALSE(LevelLegend::isWater(entry.symbol)) << entry.name;
        EXPECT_TRUE(symbols.insert(entry.symbol).second) << "character used twice: " << entry.symbol;
        EXPECT_TRUE(keys.insert(LevelLegend::key(entry)).second) << "colour used twice: " << entry.name;
        EXPECT_EQ(&entry, LevelLegend::findKey(LevelLegend::key(entry)));
    }
    // Rock, the "every bit set" row as pure white, the player and the chest.
    EXPECT_EQ(0xFF0000, LevelLegend::key(*LevelLegend::find('#')));
    EXPECT_EQ(0xFFFFFF, LevelLegend::key(*LevelLegend::find('@')));
    EXPECT_EQ(0x0000FF, LevelLegend::key(*LevelLegend::find('P')));
    EXPECT_EQ(0xFFFF00, LevelLegend::key(*LevelLegend::find('T')));
    EXPECT_EQ(nullptr, LevelLegend::findKey(LevelLegend::WATER_KEY));
}

TEST(LevelLegendTest, KeysStayApartInSixteenBitsButTwoPairsMeetInFifteen)
{
    // The game runs in 16-bit colour, where a level picture converted on
    // loading still tells every row apart.
    EXPECT_TRUE(collisions(to16).empty());
    // In 15 bits the grey scenery tiles 10/11 and 13/14 would merge, which is
    // why the pictures are stored with 24 bits and compared as such.
    std::set<std::pair<char, char>> expected { { '0', '1' }, { '3', '4' } };
    EXPECT_EQ(expected, collisions(to15));
}

TEST(LevelFileTest, ReadsCommentsRowsAndPadding)
{
    LevelFile level;
    ASSERT_TRUE(level.parse("; a comment\n\n; another\r\n#####\r\n#P T\n#\n\n\n")) << level.error();
    EXPECT_EQ(5, level.width());
    EXPECT_EQ(3, level.height());
    EXPECT_EQ('P', level.at(1, 1));
    EXPECT_EQ(' ', level.at(2, 1));
    EXPECT_EQ('.', level.at(4, 1)); // padding of a short row
    EXPECT_EQ('.', level.at(3, 2));
    EXPECT_EQ('.', level.at(-1, 0));
    EXPECT_EQ('.', level.at(0, 3));
    ASSERT_EQ(1u, level.find('T').size());
    EXPECT_EQ(3, level.find('T')[0].x);
}

TEST(LevelFileTest, BrokenMapsNameTheLineAndCell)
{
    LevelFile level;
    EXPECT_FALSE(level.parse("; header\n####\n#P?#\n"));
    EXPECT_EQ("line 3, cell (2, 1): '?' is not in the level legend", level.error());
    EXPECT_FALSE(level.parse("#\t#\n"));
    EXPECT_NE(std::string::npos, level.error().find("tabs are not allowed")) << level.error();
    EXPECT_FALSE(level.parse("###\n; late comment\n"));
    EXPECT_NE(std::string::npos, level.error().find("comment lines belong above the map")) << level.error();
    EXPECT_FALSE(level.parse("; only a header\n\n"));
    EXPECT_EQ(0, level.height());
    EXPECT_FALSE(level.load("no/such/level.txt"));
    EXPECT_NE(std::string::npos, level.error().find("[no/such/level.txt]")) << level.error();
}
