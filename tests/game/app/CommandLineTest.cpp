#include "game/app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

CommandLine parsed(const std::vector<std::string>& arguments, bool expectOk = true)
{
    CommandLine line;
    EXPECT_EQ(line.parse(arguments), expectOk) << line.error;
    return line;
}

TEST(CommandLineTest, NothingGivenChangesNothing)
{
    CommandLine line = parsed({});
    EXPECT_FALSE(line.help);
    EXPECT_EQ(line.fullscreen, -1);
    EXPECT_EQ(line.fps, 0);
    EXPECT_EQ(line.asLevel, 0);
    EXPECT_TRUE(line.dataFolder.empty());
}

TEST(CommandLineTest, OptionsTakeTheirValuesEitherWay)
{
    CommandLine line = parsed({ "--windowed", "--fps", "60", "--data=/opt/tw", "--map", "mine.txt", "--as=31",
        "--record", "out.txt" });
    EXPECT_EQ(line.fullscreen, 0);
    EXPECT_EQ(line.fps, 60);
    EXPECT_EQ(line.dataFolder, "/opt/tw");
    EXPECT_EQ(line.mapFile, "mine.txt");
    EXPECT_EQ(line.asLevel, 31);
    EXPECT_EQ(line.recordFile, "out.txt");
    // The last of --windowed and --fullscreen wins.
    EXPECT_EQ(parsed({ "--windowed", "--fullscreen" }).fullscreen, 1);
    EXPECT_TRUE(parsed({ "-h" }).help);
    EXPECT_TRUE(parsed({ "--version" }).showVersion);
}

TEST(CommandLineTest, BadOptionsAndValuesAreRefusedWithAReason)
{
    EXPECT_EQ(parsed({ "--fly" }, false).error, "Unknown option [--fly]");
    EXPECT_EQ(parsed({ "--fps" }, false).error, "Option --fps needs a value");
    EXPECT_NE(parsed({ "--fps", "0" }, false).error.find("not [0]"), std::string::npos);
    EXPECT_NE(parsed({ "--fps", "60x" }, false).error.find("not [60x]"), std::string::npos);
    EXPECT_NE(parsed({ "--fps", "99999999999999" }, false).error.find("--fps"), std::string::npos);
    EXPECT_NE(parsed({ "--as", "50" }, false).error.find("--as"), std::string::npos);
    EXPECT_EQ(parsed({ "--as", "1003" }).asLevel, 1003);
    EXPECT_EQ(parsed({ "--windowed=yes" }, false).error, "Option --windowed takes no value");
    EXPECT_EQ(parsed({ "--data=" }, false).error, "Option --data needs a folder");
    EXPECT_NE(parsed({ "--record", "a", "--replay", "b" }, false).error.find("together"), std::string::npos);
}

TEST(CommandLineTest, UsageNamesEveryOption)
{
    std::string usage = CommandLine::usage("tidewander");
    for (const char* option : { "--help", "--version", "--windowed", "--fullscreen", "--data", "--fps",
             "--map", "--as", "--record", "--replay" }) {
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    }
    EXPECT_EQ(CommandLine::version().rfind("Tidewander ", 0), 0u);
}

} // namespace
