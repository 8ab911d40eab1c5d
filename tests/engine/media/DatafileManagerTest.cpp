#include "engine/media/DatafileManager.h"

#include "engine/media/DatafileWriter.h"
#include "support/LogLines.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// `pictures` small bitmaps, a nested file of three sprites (at index
// `pictures`), then a block of bytes.
void writeDatafile(const std::string& path, int pictures)
{
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder);
    }
    BITMAP* picture = create_bitmap_ex(16, 2, 2);
    clear_to_color(picture, makecol16(0, 0, 255));
    DatafileWriter out;
    for (int i = 0; i < pictures; ++i) {
        out.addBitmap(picture);
    }
    DatafileWriter& nested = out.addNested("SET");
    for (int i = 0; i < 3; ++i) {
        nested.addRleSprite(picture);
    }
    out.addData({ 1, 2, 3 });
    destroy_bitmap(picture);
    ASSERT_TRUE(out.save(path));
}

class DatafileManagerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        startFreshLog();
        DatafileManager::setDirectory("");
    }
    void TearDown() override { DatafileManager::setDirectory(""); }
};

} // namespace

TEST_F(DatafileManagerTest, SharedFilesAreReadOnceAndFreedByTheLastUser)
{
    writeDatafile("coin.dat", 2);
    DatafileManager first, second;
    first.load("coin.dat");
    std::remove("coin.dat"); // the second handle must not need the disk
    second.load("coin.dat");
    ASSERT_TRUE(first.isLoaded() && second.isLoaded());
    EXPECT_EQ(first.root, second.root);
    EXPECT_EQ(2, DatafileManager::referenceCount("coin.dat"));

    first.unload();
    first.unload(); // a second unload gives back nothing more
    EXPECT_EQ(1, DatafileManager::referenceCount("coin.dat"));
    EXPECT_EQ(nullptr, first.get(0));
    EXPECT_TRUE(logHas("datafile [coin.dat] - trying to access unloaded datafile"));
    EXPECT_NE(nullptr, second.get(0));
    EXPECT_FALSE(logHas("unloading coin.dat"));

    second.unload();
    EXPECT_TRUE(logHas("unloading coin.dat"));
    second.load("coin.dat"); // freed means gone: back to the disk
    EXPECT_FALSE(second.isLoaded());
    EXPECT_TRUE(logHas("datafile [coin.dat] - file not found"));
}

TEST_F(DatafileManagerTest, TheLastObjectIsOutOfReachExceptInNestedFiles)
{
    writeDatafile("fish.dat", 2); // 2 pictures, the nested file, the bytes
    DatafileManager handle;
    handle.load("fish.dat");
    EXPECT_EQ(3, handle.count);
    EXPECT_EQ(DAT_FILE, handle.getType(2));
    EXPECT_EQ(0, handle.getType(3));
    EXPECT_TRUE(logHas("datafile [fish.dat] - index [3] out of range"));
    EXPECT_EQ(nullptr, handle.get(-1));
    EXPECT_TRUE(logHas("datafile [fish.dat] - index [-1] out of range"));

    handle.useSubDatafile(2);
    EXPECT_EQ(3, handle.count);
    EXPECT_EQ(DAT_RLE_SPRITE, handle.getType(2));
}

TEST_F(DatafileManagerTest, BadSubDatafilesAreReportedAndLeaveTheHandleAlone)
{
    writeDatafile("crab.dat", 1); // picture, nested file, bytes
    DatafileManager handle;
    handle.useSubDatafile(0);
    EXPECT_TRUE(logHas("datafile [] - trying to access unloaded datafile"));
    handle.load("crab.dat");
    DATAFILE* before = handle.current;
    handle.useSubDatafile(0);
    EXPECT_TRUE(logHas("datafile [crab.dat] - object [0] is not a nested datafile"));
    handle.useSubDatafile(3);
    EXPECT_TRUE(logHas("datafile [crab.dat] - index [3] out of range"));
    EXPECT_TRUE(handle.current == before && handle.count == 2);

    // The last object is a real object of the file, even though plain
    // indexes cannot reach it: a nested file there can be selected.
    DatafileWriter out;
    out.addData({ 7 });
    out.addNested().addData({ 8 });
    ASSERT_TRUE(out.save("tail.dat"));
    DatafileManager tail;
    tail.load("tail.dat");
    tail.useSubDatafile(1);
    EXPECT_EQ(DAT_DATA, tail.getType(0));
}

TEST_F(DatafileManagerTest, TheDirectoryIsPrefixedOnlyWhenMissing)
{
    writeDatafile("dat/x.dat", 1);
    writeDatafile("foo/dat/x.dat", 1);
    DatafileManager::setDirectory("dat/");
    DatafileManager plain, prefixed, deeper;
    plain.load("x.dat");
    prefixed.load("dat/x.dat");
    deeper.load("foo/dat/x.dat");
    EXPECT_EQ("dat/x.dat", plain.name);
    EXPECT_EQ("dat/x.dat", prefixed.name);
    EXPECT_EQ("foo/dat/x.dat", deeper.name);
    EXPECT_EQ(2, DatafileManager::referenceCount("dat/x.dat"));

    plain.load(""); // untouched
    EXPECT_TRUE(plain.isLoaded() && plain.name == "dat/x.dat");
    plain.load("foo/dat/x.dat"); // gives its old reference back first
    EXPECT_EQ(1, DatafileManager::referenceCount("dat/x.dat"));
    EXPECT_EQ(2, DatafileManager::referenceCount("foo/dat/x.dat"));
}

TEST_F(DatafileManagerTest, DamagedFilesAreReportedAndNotKept)
{
    {
        std::ofstream junk("junk.dat", std::ios::binary);
        junk << "this is not a datafile at all";
    }
    DatafileManager handle;
    handle.load("junk.dat");
    EXPECT_TRUE(logHas("datafile [junk.dat] - cannot parse file: not a datafile"));
    EXPECT_FALSE(handle.isLoaded());
    EXPECT_TRUE(handle.current == nullptr && handle.root == nullptr);
    EXPECT_EQ(0, DatafileManager::referenceCount("junk.dat"));
}

TEST_F(DatafileManagerTest, UnloadAllFreesEverythingAndOldHandlesGoQuiet)
{
    writeDatafile("a.dat", 1);
    writeDatafile("b.dat", 1);
    DatafileManager a1, a2, b;
    a1.load("a.dat");
    a2.load("a.dat");
    b.load("b.dat");
    b.unload();
    DatafileManager::unloadAll();
    std::vector<std::string> lines = logLines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ("unloading b.dat", lines[lines.size() - 2]);
    EXPECT_EQ("a.dat", lines.back());

    // Handles left over read as unloaded instead of reaching freed memory.
    EXPECT_EQ(nullptr, a1.get(0));
    EXPECT_TRUE(logHas("datafile [a.dat] - trying to access unloaded datafile"));
    a1.unload();
    a2.load("a.dat");
    EXPECT_EQ(1, DatafileManager::referenceCount("a.dat"));
}
