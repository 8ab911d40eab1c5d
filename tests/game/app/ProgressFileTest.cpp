#include "game/app/ProgressFile.h"

#include "TestGame.h"
#include "support/LogLines.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace apptest {
namespace {

// The unpacked bytes of a packfile, read back the way the game reads them.
std::string unpack(const std::string& path)
{
    std::string bytes;
    PACKFILE* file = pack_fopen(path.c_str(), "rp");
    if (file == nullptr) {
        return bytes;
    }
    char buffer[256];
    long got = 0;
    while ((got = pack_fread(buffer, sizeof buffer, file)) > 0) {
        bytes.append(buffer, static_cast<size_t>(got));
    }
    pack_fclose(file);
    return bytes;
}

int32_t wordAt(const std::string& bytes, size_t offset)
{
    uint32_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        bits |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    }
    return static_cast<int32_t>(bits);
}

using ProgressFileTest = GameTest;

TEST_F(ProgressFileTest, ProgressIsEightHundredSixteenPackedBytesAndComesBackWhole)
{
    TestGame game;
    game.currentProfile = "P";
    game.highestLevel = 12;
    game.bubbleLimit = 5;
    game.coins = -3;
    game.waterEffect = false;
    game.levelPercent[0] = 100;
    game.levelPercent[99] = 42;
    game.levelPercent[1000] = 77; // a mini-game: not kept
    game.bestTimes[7] = 75;
    game.saveProgress();

    std::string bytes = unpack("profiles/P.dat");
    ASSERT_EQ(bytes.size(), 816u);
    EXPECT_EQ(wordAt(bytes, 0), 12);
    EXPECT_EQ(wordAt(bytes, 4), 5);
    EXPECT_EQ(wordAt(bytes, 8), -3);
    EXPECT_EQ(wordAt(bytes, 12), 0);
    EXPECT_EQ(wordAt(bytes, 16), 100);
    EXPECT_EQ(wordAt(bytes, 16 + 4 * 99), 42);
    EXPECT_EQ(wordAt(bytes, 416 + 4 * 7), 75);
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("profiles")) {
        ++files;
    }
    EXPECT_EQ(files, 1);

    game.coins = 0;
    game.waterEffect = true;
    game.loadProgress();
    EXPECT_EQ(game.highestLevel, 12);
    EXPECT_EQ(game.bubbleLimit, 5);
    EXPECT_EQ(game.coins, -3);
    EXPECT_FALSE(game.waterEffect);
    EXPECT_EQ(game.levelPercent[99], 42);
    EXPECT_EQ(game.bestTimes[7], 75);
    EXPECT_EQ(game.levelPercent.count(1000), 0u);
}

TEST_F(ProgressFileTest, AFreshProfileHasTheDefaultsAndItsFileAtOnce)
{
    ::rmdir("profiles");
    TestGame game;
    game.currentProfile = "Old";
    game.coins = 300;
    game.highestLevel = 40;
    game.waterEffect = false;
    game.bubbleLimit = 6;
    game.levelPercent[3] = 90;
    game.bestTimes[3] = 61;
    game.saveProgress();

    game.currentProfile = "New";
    game.loadProgress();
    EXPECT_EQ(game.coins, 25);
    EXPECT_EQ(game.highestLevel, 0);
    EXPECT_TRUE(game.waterEffect);
    EXPECT_EQ(game.bubbleLimit, 3);
    EXPECT_EQ(game.levelPercent[3], 0);
    EXPECT_EQ(game.bestTimes[3], 0);
    EXPECT_EQ(unpack("profiles/New.dat").size(), 816u);
}

TEST_F(ProgressFileTest, ADamagedFileIsKeptAsideAndTheProfileStartsAfresh)
{
    for (const char* kind : { "garbage", "truncated" }) {
        SCOPED_TRACE(kind);
        TestGame game;
        game.currentProfile = "Sal";
        std::string damaged;
        if (std::string(kind) == "garbage") {
            damaged = "garbage, no packfile magic here";
        } else {
            game.coins = 400;
            game.saveProgress();
            damaged = readFile("profiles/Sal.dat").substr(0, 20);
        }
        writeFile("profiles/Sal.dat", damaged);
        std::remove("profiles/Sal.dat.bad");
        startFreshLog();

        game.coins = 400;
        game.highestLevel = 7;
        game.loadProgress();

        EXPECT_EQ(game.coins, 25);
        EXPECT_EQ(game.highestLevel, 0);
        EXPECT_EQ(readFile("profiles/Sal.dat.bad"), damaged);
        EXPECT_EQ(unpack("profiles/Sal.dat").size(), 816u);
        EXPECT_TRUE(logHas("Progress file [profiles/Sal.dat] is damaged; kept as "
                           "[profiles/Sal.dat.bad], the profile starts afresh"));
    }
}

} // namespace
} // namespace apptest
