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

// A datafile of `pictures` small bitmaps, then a nested file of three, then
// a block of bytes (so the nested file sits at index `pictures`).
void writeDatafile(const std::string& path, int pictures)
{
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder);
    }
    DatafileWriter out;
    BITMAP* picture = create_bitmap_ex(16, 2, 2);
    clear_to_color(picture, makecol16(0, 0, 255));
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
    DatafileManager first;
    DatafileManager second;
    first.load("coin.dat");
    ASSERT_TRUE(first.isLoaded());
    std::remove("coin.dat"); // the second handle must not need the disk
    second.load("coin.dat");
    ASSERT_TRUE(second.isLoaded());
    EXPECT_EQ(first.root, second.root);
    EXPECT_EQ("coin.dat", second.name);
    EXPECT_EQ(2, DatafileManager::referenceCount("coin.dat"));

    first.unload();
    first.unload(); // a second unload gives back nothing more
    EXPECT_EQ(1, DatafileManager::referenceCount("coin.dat"));
    EXPECT_FALSE(first.isLoaded());
    EXPECT_EQ(nullptr, first.current);
    EXPECT_EQ(nullptr, first.get(0));
    EXPECT_TRUE(logHas("datafile [coin.dat] - trying to access unloaded datafile"));
    EXPECT_NE(nullptr, second.get(0)); // still there for the other user
    EXPECT_FALSE(logHas("unloading coin.dat"));

    second.unload();
    EXPECT_EQ(0, DatafileManager::referenceCount("coin.dat"));
    EXPECT_TRUE(logHas("unloading coin.dat"));

    // Freed means gone: the next load goes to the disk again.
    second.load("coin.dat");
    EXPECT_FALSE(second.isLoaded());
    EXPECT_TRUE(logHas("datafile [coin.dat] - file not found"));
}

TEST_F(DatafileManagerTest, TheLastObjectIsOutOfReachExceptInNestedFiles)
{
    writeDatafile("fish.dat", 2); // 2 pictures, the nested file, the bytes
    DatafileManager handle;
    handle.load("fish.dat");
    EXPECT_EQ(3, handle.count);
    EXPECT_EQ(DAT_BITMAP, handle.getType(0));
    EXPECT_EQ(DAT_FILE, handle.getType(2));
    EXPECT_EQ(0, handle.getType(3));
    EXPECT_TRUE(logHas("datafile [fish.dat] - index [3] out of range"));
    EXPECT_EQ(nullptr, handle.get(-1));
    EXPECT_TRUE(logHas("datafile [fish.dat] - index [-1] out of range"));
    EXPECT_FALSE(handle.isValidIndex(3));
    EXPECT_TRUE(handle.isValidIndex(2));

    handle.useSubDatafile(2);
    EXPECT_EQ(3, handle.count);
    EXPECT_EQ(DAT_RLE_SPRITE, handle.getType(2));
    EXPECT_EQ(1, DatafileManager::referenceCount("fish.dat"));
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
    handle.useSubDatafile(-2);
    EXPECT_TRUE(logHas("datafile [crab.dat] - index [-2] out of range"));
    EXPECT_EQ(before, handle.current);
    EXPECT_EQ(2, handle.count);

    // The last object is a real object of the file, even though plain
    // indexes cannot reach it: a nested file there can be selected.
    DatafileWriter out;
    out.addData({ 7 });
    out.addNested().addData({ 8 });
    ASSERT_TRUE(out.save("tail.dat"));
    DatafileManager tail;
    tail.load("tail.dat");
    EXPECT_EQ(1, tail.count);
    tail.useSubDatafile(1);
    EXPECT_EQ(1, tail.count);
    EXPECT_EQ(DAT_DATA, tail.getType(0));
}

TEST_F(DatafileManagerTest, TheDirectoryIsPrefixedOnlyWhenMissing)
{
    writeDatafile("dat/x.dat", 1);
    writeDatafile("foo/dat/x.dat", 1);
    DatafileManager::setDirectory("dat/");
    EXPECT_EQ("dat/", DatafileManager::directory());

    DatafileManager plain;
    DatafileManager prefixed;
    DatafileManager deeper;
    plain.load("x.dat");
    prefixed.load("dat/x.dat");
    deeper.load("foo/dat/x.dat");
    EXPECT_EQ("dat/x.dat", plain.name);
    EXPECT_EQ("dat/x.dat", prefixed.name);
    EXPECT_EQ("foo/dat/x.dat", deeper.name);
    EXPECT_EQ(2, DatafileManager::referenceCount("dat/x.dat"));
    EXPECT_EQ(1, DatafileManager::referenceCount("foo/dat/x.dat"));

    // An empty name changes nothing; an explicit key names the cache entry.
    plain.load("");
    EXPECT_TRUE(plain.isLoaded());
    EXPECT_EQ("dat/x.dat", plain.name);
    DatafileManager keyed;
    keyed.load("x.dat", "special");
    EXPECT_EQ("special", keyed.name);
    EXPECT_EQ(1, DatafileManager::referenceCount("special"));

    // Loading again through a loaded handle gives its old reference back.
    plain.load("foo/dat/x.dat");
    EXPECT_EQ(1, DatafileManager::referenceCount("dat/x.dat"));
    EXPECT_EQ(2, DatafileManager::referenceCount("foo/dat/x.dat"));
}

TEST_F(DatafileManagerTest, MissingAndDamagedFilesLeaveTheHandleEmpty)
{
    DatafileManager handle;
    handle.load("nowhere.dat");
    EXPECT_TRUE(logHas("datafile [nowhere.dat] - file not found"));
    EXPECT_FALSE(handle.isLoaded());

    {
        std::ofstream junk("junk.dat", std::ios::binary);
        junk << "this is not a datafile at all";
    }
    handle.load("junk.dat");
    EXPECT_TRUE(logHas("datafile [junk.dat] - cannot parse file"));
    EXPECT_FALSE(handle.isLoaded());
    EXPECT_EQ(nullptr, handle.current);
    EXPECT_EQ(nullptr, handle.root);
    EXPECT_EQ(0, DatafileManager::referenceCount("junk.dat"));
    EXPECT_EQ(nullptr, handle.get(0));
    EXPECT_EQ(0, handle.getType(0));
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
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ("unloading b.dat", lines[lines.size() - 2]);
    EXPECT_EQ("a.dat", lines.back()); // b.dat was already freed
    EXPECT_EQ(0, DatafileManager::referenceCount("a.dat"));

    // Handles left over read as unloaded instead of reaching freed memory.
    EXPECT_EQ(nullptr, a1.get(0));
    EXPECT_TRUE(logHas("datafile [a.dat] - trying to access unloaded datafile"));
    a1.unload();
    EXPECT_EQ(0, DatafileManager::referenceCount("a.dat"));

    // And the file can be used again afterwards.
    a2.load("a.dat");
    EXPECT_TRUE(a2.isLoaded());
    EXPECT_EQ(1, DatafileManager::referenceCount("a.dat"));
}
