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

TEST_F(ProgressFileTest, SavesTheTableAsEightHundredSixteenPackedBytesAndReadsItBack)
{
    ProgressFile progress;
    progress.highestLevel = 12;
    progress.bubbleLimit = 5;
    progress.coins = -3;
    progress.waterEffect = false;
    progress.levelPercent[0] = 100;
    progress.levelPercent[99] = 42;
    progress.levelPercent[1000] = 77; // a mini-game: not kept
    progress.bestTimes[7] = 75;
    ASSERT_TRUE(progress.save("profiles/p.dat"));

    std::string bytes = unpack("profiles/p.dat");
    ASSERT_EQ(bytes.size(), 816u);
    EXPECT_EQ(wordAt(bytes, 0), 12);
    EXPECT_EQ(wordAt(bytes, 4), 5);
    EXPECT_EQ(wordAt(bytes, 8), -3);
    EXPECT_EQ(wordAt(bytes, 12), 0);
    EXPECT_EQ(wordAt(bytes, 16), 100);
    EXPECT_EQ(wordAt(bytes, 16 + 4 * 99), 42);
    EXPECT_EQ(wordAt(bytes, 416 + 4 * 7), 75);
    // Nothing but the table, and no temporary file left behind.
    EXPECT_EQ(bytes, progress.encode());
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("profiles")) {
        ++files;
    }
    EXPECT_EQ(files, 1);

    ProgressFile back;
    ASSERT_EQ(back.load("profiles/p.dat"), ProgressFile::Result::Loaded);
    EXPECT_EQ(back.highestLevel, 12);
    EXPECT_EQ(back.bubbleLimit, 5);
    EXPECT_EQ(back.coins, -3);
    EXPECT_FALSE(back.waterEffect);
    EXPECT_EQ(back.levelPercent[0], 100);
    EXPECT_EQ(back.levelPercent[99], 42);
    EXPECT_EQ(back.bestTimes[7], 75);
    EXPECT_EQ(back.levelPercent.count(1000), 0u);
}

TEST_F(ProgressFileTest, TheWaterFlagIsOneByteFollowedByThreeZeros)
{
    ProgressFile progress;
    std::string bytes = progress.encode();
    EXPECT_EQ(bytes.substr(12, 4), std::string("\x01\x00\x00\x00", 4));

    // Reading looks at byte 12 only.
    bytes[13] = 5;
    bytes[12] = 0;
    ASSERT_TRUE(progress.decode(bytes));
    EXPECT_FALSE(progress.waterEffect);
}

TEST_F(ProgressFileTest, MissingGarbageAndShortFilesGiveTheDefaults)
{
    ProgressFile progress;
    progress.coins = 999;
    EXPECT_EQ(progress.load("profiles/none.dat"), ProgressFile::Result::Missing);
    EXPECT_EQ(progress.coins, 25);

    writeFile("profiles/junk.dat", "this is not a packfile at all");
    progress.coins = 999;
    EXPECT_EQ(progress.load("profiles/junk.dat"), ProgressFile::Result::Damaged);
    EXPECT_EQ(progress.coins, 25);

    // A real packfile that holds fewer than 816 bytes.
    PACKFILE* file = pack_fopen("profiles/short.dat", "wp");
    ASSERT_NE(file, nullptr);
    int32_t words[3] = { 30, 9, 500 };
    pack_fwrite(words, sizeof words, file);
    pack_fclose(file);
    progress.coins = 999;
    EXPECT_EQ(progress.load("profiles/short.dat"), ProgressFile::Result::Damaged);
    EXPECT_EQ(progress.coins, 25);
    EXPECT_EQ(progress.highestLevel, 0);
}

// The game's side: what a profile gets from each kind of file.

TEST_F(ProgressFileTest, AFreshProfileHasTheDefaultsAndItsFileAtOnce)
{
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

    game.currentProfile = "Old";
    game.loadProgress();
    EXPECT_EQ(game.coins, 300);
    EXPECT_EQ(game.highestLevel, 40);
    EXPECT_FALSE(game.waterEffect);
    EXPECT_EQ(game.levelPercent[3], 90);
    EXPECT_EQ(game.bestTimes[3], 61);
}

TEST_F(ProgressFileTest, MiniGameResultsAreNotKeptAcrossRuns)
{
    TestGame game;
    game.currentProfile = "P";
    game.levelPercent[1000] = 100;
    game.bestTimes[1000] = 30;
    game.saveProgress();
    game.loadProgress();
    EXPECT_EQ(game.levelPercent.count(1000), 0u);
    EXPECT_EQ(game.bestTimes.count(1000), 0u);
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

TEST_F(ProgressFileTest, TheProfileFolderIsMadeWhenMissing)
{
    ::rmdir("profiles");
    TestGame game;
    game.currentProfile = "Ned";
    game.saveProgress();
    EXPECT_EQ(unpack("profiles/Ned.dat").size(), 816u);
}

} // namespace
} // namespace apptest
