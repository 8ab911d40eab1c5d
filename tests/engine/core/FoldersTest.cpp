#include "engine/core/Folders.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

void makeData(const std::string& folder)
{
    ASSERT_TRUE(Folders::makeFolders(folder + "/dat"));
}

class FoldersTest : public ::testing::Test {
protected:
    void TearDown() override { Folders::setWritable(""); }
    ScratchDir scratch;
};

TEST_F(FoldersTest, TheRunFolderKeepsEverythingWhereItIs)
{
    makeData(".");
    Folders::Choice choice = Folders::choose("", "/usr/games/bin/tidewander", "/home/p/.data", "/home/p");
    EXPECT_EQ(choice.problem, "");
    EXPECT_EQ(choice.data, "");
    EXPECT_EQ(choice.writable, "");
    EXPECT_EQ(Folders::writable("settings.cfg"), "settings.cfg");
}

TEST_F(FoldersTest, AnInstalledGameReadsSharedDataAndWritesIntoThePlayersFolder)
{
    std::string prefix = scratch.path() + "/prefix";
    makeData(prefix + "/share/tidewander");
    std::string program = prefix + "/bin/tidewander";

    Folders::Choice choice = Folders::choose("", program, "/home/p/.data", "/home/p");
    EXPECT_EQ(choice.data, prefix + "/share/tidewander");
    EXPECT_EQ(choice.writable, "/home/p/.data/tidewander");

    // Without XDG_DATA_HOME, or with one that is not absolute, the default.
    EXPECT_EQ(Folders::choose("", program, "", "/home/p").writable, "/home/p/.local/share/tidewander");
    EXPECT_EQ(Folders::choose("", program, "rel/dir", "/home/p").writable, "/home/p/.local/share/tidewander");
}

TEST_F(FoldersTest, ARunFolderStartedFromElsewhereStaysTheGamesOwn)
{
    std::string run = scratch.path() + "/build/run";
    makeData(run);
    Folders::Choice choice = Folders::choose("", run + "/tidewander", "", "/home/p");
    EXPECT_EQ(choice.data, run);
    EXPECT_EQ(choice.writable, run);
}

TEST_F(FoldersTest, DataOptionIsCheckedAndSavesGoToThePlayersFolder)
{
    std::string data = scratch.path() + "/mydata";
    makeData(data);
    Folders::Choice given = Folders::choose(data, "/nowhere/bin/tidewander", "/x", "/home/p");
    EXPECT_EQ(given.problem, "");
    EXPECT_EQ(given.data, data);
    EXPECT_EQ(given.writable, "/x/tidewander");

    Folders::Choice empty = Folders::choose(scratch.path(), "/nowhere/bin/tidewander", "/x", "/home/p");
    EXPECT_NE(empty.problem.find("No game data (dat/) in"), std::string::npos) << empty.problem;
}

TEST_F(FoldersTest, NoDataAnywhereIsAProblemNamingWhereItLooked)
{
    Folders::Choice choice = Folders::choose("", "/nowhere/bin/tidewander", "", "/home/p");
    EXPECT_NE(choice.problem.find("/nowhere/share/tidewander"), std::string::npos) << choice.problem;
    EXPECT_NE(choice.problem.find("--data"), std::string::npos) << choice.problem;
}

TEST_F(FoldersTest, WritableFilesLiveInTheirFolderMadeWithItsParents)
{
    std::string deep = scratch.path() + "/a/b/c";
    ASSERT_TRUE(Folders::makeFolders(deep));
    struct stat info { };
    EXPECT_EQ(stat(deep.c_str(), &info), 0);
    Folders::setWritable(deep);
    EXPECT_EQ(Folders::writable("profiles.cfg"), deep + "/profiles.cfg");
    Folders::setWritable(deep + "/");
    EXPECT_EQ(Folders::writable("profiles.cfg"), deep + "/profiles.cfg");
}

} // namespace
