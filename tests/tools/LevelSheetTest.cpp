#include "levelsheet/LevelSheet.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace fs = std::filesystem;

namespace {

// Width and height from a PNG's header.
std::pair<int, int> pngSize(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) {
        return { -1, -1 };
    }
    auto word = [&](size_t at) {
        return (static_cast<unsigned char>(bytes[at]) << 24)
            | (static_cast<unsigned char>(bytes[at + 1]) << 16)
            | (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
    };
    return { static_cast<int>(word(16)), static_cast<int>(word(20)) };
}

} // namespace

TEST(LevelSheetTest, AWholeLevelIsDrawnShrunkToAPageAndAMissingOneIsRefused)
{
    const std::string run = TIDEWANDER_RUN_DIR;
    if (!fs::exists(run + "/lvl/levels.dat")) {
        GTEST_SKIP() << "no game data built yet in " << run;
    }
    ScratchDir scratch;
    fs::create_directory_symlink(run + "/dat", "dat");
    fs::create_directory_symlink(run + "/lvl", "lvl");

    // Level 0 is 48 x 17 cells: 3840 x 1360 pixels, a page is 1600 wide.
    std::string error;
    ASSERT_TRUE(LevelSheet::draw(0, "level00.png", error)) << error;
    EXPECT_EQ(
        std::make_pair(LevelSheet::PAGE_WIDTH, 1360 * LevelSheet::PAGE_WIDTH / 3840), pngSize("level00.png"));

    for (int missing : { 77, 1010 }) {
        EXPECT_FALSE(LevelSheet::draw(missing, "missing.png", error)) << missing;
        EXPECT_EQ("level " + std::to_string(missing) + " could not be built", error);
    }
    EXPECT_FALSE(fs::exists("missing.png"));
}
