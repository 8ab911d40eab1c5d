#include "game/app/ProgressFile.h"

#include "TestGame.h"
#include "support/LogLines.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <climits>
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
    game.coins = 1234;
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
    EXPECT_EQ(wordAt(bytes, 8), 1234);
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
    EXPECT_EQ(game.coins, 1234);
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
    for (const char* kind : { "garbage", "truncated", "unsteady" }) {
        SCOPED_TRACE(kind);
        TestGame game;
        game.currentProfile = "Sal";
        std::string damaged;
        if (std::string(kind) == "garbage") {
            damaged = "garbage, no packfile magic here";
        } else if (std::string(kind) == "unsteady") {
            // Enough copies of 18 bytes for a whole file, the first from
            // slots the stream never wrote: it unpacks to whatever memory
            // Allegro's window happened to hold.
            damaged = "slh!";
            for (int token = 0; token < 48; ++token) {
                if (token % 8 == 0) {
                    damaged += '\0';
                }
                damaged += token == 0 ? "\xEE\xFF" : std::string("\0\x0F", 2);
            }
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

// Packs the given bytes as the game would, whatever they hold.
void writePacked(const std::string& path, const std::string& bytes)
{
    PACKFILE* file = pack_fopen(path.c_str(), "wp");
    ASSERT_NE(file, nullptr);
    pack_fwrite(bytes.data(), static_cast<long>(bytes.size()), file);
    pack_fclose(file);
}

void putWord(std::string& bytes, size_t offset, int32_t value)
{
    for (int i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<char>((static_cast<uint32_t>(value) >> (8 * i)) & 0xff);
    }
}

TEST_F(ProgressFileTest, ValuesNoGameCouldReachAreTakenForDamage)
{
    ProgressFile sound;
    sound.highestLevel = 50;
    sound.bubbleLimit = 10;
    sound.coins = ProgressFile::MAX_COINS;
    sound.levelPercent[49] = 100;
    sound.bestTimes[49] = 599;
    const std::string good = sound.encode();
    ASSERT_EQ(sound.outOfRange(), "");

    struct Case {
        size_t offset;
        int32_t value;
        const char* problem;
    };
    const Case cases[] = {
        { 0, -1, "highest level -1" },
        { 0, 101, "highest level 101" },
        { 4, 0, "bubble limit 0" },
        { 4, 11, "bubble limit 11" },
        { 8, -1, "coins -1" },
        { 8, ProgressFile::MAX_COINS + 1, "coins 100000001" },
        { 16 + 4 * 7, 101, "rating 101 of level 7" },
        { 16 + 4 * 99, -5, "rating -5 of level 99" },
        { 416 + 4 * 3, 600, "time 600 of level 3" },
        { 416, INT32_MIN, "time -2147483648 of level 0" },
    };
    TestGame game;
    game.currentProfile = "Kim";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.problem);
        std::string bytes = good;
        putWord(bytes, c.offset, c.value);
        writePacked("profiles/Kim.dat", bytes);
        ProgressFile file;
        EXPECT_EQ(file.load("profiles/Kim.dat"), ProgressFile::Result::OutOfRange);
        EXPECT_EQ(file.problem, c.problem);
        EXPECT_EQ(file.coins, 25);
        EXPECT_TRUE(file.levelPercent.empty());
    }

    // Through the game: kept aside, defaults, a line in the log, and the
    // copies of earlier damage are not overwritten.
    for (auto& entry : std::filesystem::directory_iterator("profiles")) {
        std::filesystem::remove(entry.path());
    }
    for (int round = 0; round < 3; ++round) {
        std::string bytes = good;
        putWord(bytes, 8, -100 - round);
        writePacked("profiles/Kim.dat", bytes);
        startFreshLog();
        game.coins = 1;
        game.loadProgress();
        EXPECT_EQ(game.coins, 25);
        std::string aside
            = round == 0 ? "profiles/Kim.dat.bad" : "profiles/Kim.dat.bad." + std::to_string(round);
        EXPECT_EQ(wordAt(unpack(aside), 8), -100 - round);
        EXPECT_TRUE(logHas("Progress file [profiles/Kim.dat] holds values no game could reach (coins "
            + std::to_string(-100 - round) + "); kept as [" + aside + "], the profile starts afresh"));
        EXPECT_EQ(unpack("profiles/Kim.dat"), ProgressFile().encode());
    }

    // Random bytes that unpack to the full size are not taken as progress.
    std::string noise(ProgressFile::SIZE, '\0');
    unsigned seed = 7;
    int taken = 0;
    for (int round = 0; round < 50; ++round) {
        for (char& c : noise) {
            seed = seed * 1103515245u + 12345u;
            c = static_cast<char>(seed >> 16);
        }
        writePacked("noise.dat", noise);
        ProgressFile file;
        taken += file.load("noise.dat") == ProgressFile::Result::Loaded ? 1 : 0;
    }
    EXPECT_EQ(taken, 0);
}

TEST_F(ProgressFileTest, SavingLeavesNoTemporaryAndKeepsTheFormat)
{
    ProgressFile file;
    file.highestLevel = 3;
    file.levelPercent[2] = 80;
    ASSERT_TRUE(file.save("profiles/Lu.dat"));
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("profiles")) {
        ++files;
    }
    EXPECT_EQ(files, 1);
    ProgressFile back;
    EXPECT_EQ(back.load("profiles/Lu.dat"), ProgressFile::Result::Loaded);
    EXPECT_EQ(back.encode(), file.encode());
    // Into a folder that is not there: refused, nothing left.
    EXPECT_FALSE(file.save("nowhere/Lu.dat"));
}

} // namespace
} // namespace apptest
