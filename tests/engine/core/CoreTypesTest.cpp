#include "engine/core/SafeFile.h"
#include "engine/core/Vector2.h"

#include "support/ScratchDir.h"
#include "support/TextFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

TEST(SafeFile, ReplacesTheFileOnlyOnCommit)
{
    ScratchDir dir;
    std::ofstream("save.dat") << "old";
    {
        SafeFile file("save.dat");
        file.stream() << "half";
    } // never committed
    EXPECT_EQ(readFile("save.dat"), "old");

    std::string binary("a\0b\r\n\xff", 6);
    EXPECT_TRUE(SafeFile::write("save.dat", binary));
    EXPECT_EQ(readFile("save.dat"), binary);
    EXPECT_EQ(
        std::distance(std::filesystem::directory_iterator("."), std::filesystem::directory_iterator()), 1);

    struct stat info { };
    ASSERT_EQ(stat("save.dat", &info), 0);
    EXPECT_NE(info.st_mode & S_IRUSR, 0u);
    EXPECT_NE(info.st_mode & S_IWUSR, 0u);

    EXPECT_FALSE(SafeFile::write("no/such/folder/save.dat", "x"));
    EXPECT_FALSE(SafeFile::write("", "x"));
}

TEST(Vector2, Arithmetic)
{
    Vector2 v(3.0f, 4.0f);
    EXPECT_FLOAT_EQ(v.length(), 5.0f);
    EXPECT_EQ(v.withLength(10.0f), Vector2(6.0f, 8.0f));
    EXPECT_EQ(v, Vector2(3.0f, 4.0f)); // the copy form leaves v alone
    v.setLength(1.0f);
    EXPECT_FLOAT_EQ(v.x, 0.6f);
    EXPECT_FLOAT_EQ(v.y, 0.8f);
    Vector2 zero;
    zero.setLength(5.0f); // no direction to keep: stays put instead of NaN
    EXPECT_EQ(zero, Vector2());

    EXPECT_DOUBLE_EQ(distanceSquared(0, 0, 64, 0), 4096.0);
    EXPECT_DOUBLE_EQ(distanceSquared(10.5f, 2, 7.5f, -2), 25.0);
    EXPECT_DOUBLE_EQ(distanceSquared(-30000, -30000, 30000, 30000), 7.2e9);
}

} // namespace
