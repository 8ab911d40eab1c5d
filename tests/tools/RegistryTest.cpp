// The registry against itself, against small hand-made datafiles, and
// against every file of the built run folder, loaded the way the game loads
// them: through the datafile cache.
#include "databuilder/Registry.h"
#include "engine/media/DatafileManager.h"
#include "engine/media/DatafileWriter.h"
#include "support/ScratchDir.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>

namespace {

using Kind = Registry::Kind;

std::string joined(const std::vector<std::string>& faults)
{
    std::string all;
    for (const std::string& fault : faults) {
        all += fault + "\n";
    }
    return all;
}

BITMAP* smallPicture()
{
    BITMAP* bitmap = create_bitmap_ex(16, 4, 3);
    clear_to_color(bitmap, makecol_depth(16, 10, 200, 30));
    return bitmap;
}

// Loads a datafile the way the builder reads its own output back.
struct Loaded {
    explicit Loaded(const std::string& path)
    {
        data = load_datafile(path.c_str());
        while (data && data[total].type != DAT_END) {
            ++total;
        }
    }
    ~Loaded()
    {
        if (data) {
            unload_datafile(data);
        }
    }
    DATAFILE* data = nullptr;
    int total = 0;
};

} // namespace

TEST(RegistryTest, TableNamesEachFileOnceWithRunsFromZeroWithoutGaps)
{
    std::set<std::string> seen;
    for (const Registry::Datafile& file : Registry::datafiles()) {
        EXPECT_TRUE(seen.insert(file.path).second) << "listed twice: " << file.path;
        EXPECT_TRUE(file.owner == "art" || file.owner == "levels") << file.path;
        std::function<void(const std::vector<Registry::Run>&, const std::string&)> contiguous
            = [&](const std::vector<Registry::Run>& runs, const std::string& where) {
                  ASSERT_FALSE(runs.empty()) << where;
                  int next = 0;
                  for (const Registry::Run& run : runs) {
                      EXPECT_EQ(next, run.first) << where;
                      EXPECT_LE(run.first, run.last) << where;
                      EXPECT_FALSE(run.meaning.empty()) << where;
                      EXPECT_EQ(run.kind == Kind::Nested, !run.nested.empty()) << where;
                      if (run.kind == Kind::Nested) {
                          contiguous(run.nested, where + " nested " + std::to_string(run.first));
                      }
                      next = run.last + 1;
                  }
              };
        contiguous(file.runs, file.path);
    }
    // Every datafile name the game opens, one per file in dat/, and the levels.
    EXPECT_EQ(60u, seen.size());
    EXPECT_NE(nullptr, Registry::find("dat/cannonBall.dat"));
    EXPECT_EQ(nullptr, Registry::find("dat/nothing.dat"));
}

TEST(RegistryTest, CheckFindsWrongTypesMissingObjectsAndBadNestedFiles)
{
    ScratchDir scratch;
    Registry::Datafile entry { "x.dat", 16, "art",
        { Registry::Run { 0, 1, Kind::Bitmap, "pictures", {} },
            Registry::Run {
                2, 2, Kind::Nested, "frames", { Registry::Run { 0, 2, Kind::Bitmap, "frame", {} } } } } };

    auto write = [](int pictures, bool paletteAtOne, int nestedFrames) {
        DatafileWriter out;
        for (int i = 0; i < pictures; ++i) {
            BITMAP* picture = smallPicture();
            if (i == 1 && paletteAtOne) {
                PALETTE palette;
                get_palette(palette);
                out.addPalette(palette);
            } else {
                out.addBitmap(picture);
            }
            destroy_bitmap(picture);
        }
        DatafileWriter& nested = out.addNested();
        for (int i = 0; i < nestedFrames; ++i) {
            BITMAP* picture = smallPicture();
            nested.addBitmap(picture);
            destroy_bitmap(picture);
        }
        Registry::addTrailer(out);
        EXPECT_TRUE(out.save("x.dat"));
    };

    write(2, false, 3);
    {
        Loaded good("x.dat");
        ASSERT_NE(nullptr, good.data);
        EXPECT_EQ(4, good.total) << "three objects and the trailer";
        EXPECT_TRUE(Registry::check(entry, good.data, good.total - 1, true).empty())
            << joined(Registry::check(entry, good.data, good.total - 1, true));
        // With the trailer counted as addressable the count is wrong.
        EXPECT_EQ(1u, Registry::check(entry, good.data, good.total).size());
    }

    write(2, true, 3);
    {
        Loaded wrongType("x.dat");
        std::vector<std::string> faults = Registry::check(entry, wrongType.data, wrongType.total - 1);
        ASSERT_EQ(1u, faults.size());
        EXPECT_NE(std::string::npos, faults[0].find("object 1")) << faults[0];
        EXPECT_NE(std::string::npos, faults[0].find("bitmap")) << faults[0];
    }

    write(2, false, 2);
    {
        Loaded shortNested("x.dat");
        std::vector<std::string> faults = Registry::check(entry, shortNested.data, shortNested.total - 1);
        ASSERT_EQ(1u, faults.size());
        EXPECT_NE(std::string::npos, faults[0].find("object 2: 2 objects, expected 3")) << faults[0];
    }

    write(1, false, 3);
    {
        Loaded missing("x.dat");
        EXPECT_FALSE(Registry::check(entry, missing.data, missing.total - 1).empty());
    }
    EXPECT_EQ(1u, Registry::check(entry, nullptr, 0).size());
}

TEST(RegistryTest, EveryFileOfTheRunFolderMatchesThroughTheDatafileCache)
{
    DatafileManager::setDirectory("");
    for (const Registry::Datafile& entry : Registry::datafiles()) {
        std::string path = std::string(TIDEWANDER_RUN_DIR) + "/" + entry.path;
        ASSERT_TRUE(exists(path.c_str())) << "missing: " << path;
        DatafileManager handle;
        handle.load(path);
        ASSERT_TRUE(handle.loaded) << path;
        EXPECT_EQ(entry.objectCount(), handle.count)
            << path << ": the game can address every registered object";
        std::vector<std::string> faults = Registry::check(entry, handle.root, handle.count);
        EXPECT_TRUE(faults.empty()) << joined(faults);
        // Nested datafiles are selected whole: all their frames are addressable.
        for (const Registry::Run& run : entry.runs) {
            if (run.kind == Kind::Nested) {
                handle.useSubDatafile(run.first);
                EXPECT_EQ(run.nested.back().last + 1, handle.count) << path;
                EXPECT_TRUE(handle.isValidIndex(run.nested.back().last));
                EXPECT_NE(nullptr, handle.get(0));
            }
        }
    }
}

TEST(RegistryTest, RunFolderPicturesKeepTheirColourDepth)
{
    // The artwork is drawn at 16 bits, the levels are 24-bit colour keys.
    int conversion = get_color_conversion();
    set_color_conversion(COLORCONV_NONE);
    for (const Registry::Datafile& entry : Registry::datafiles()) {
        Loaded file(std::string(TIDEWANDER_RUN_DIR) + "/" + entry.path);
        ASSERT_NE(nullptr, file.data) << entry.path;
        std::vector<std::string> faults = Registry::check(entry, file.data, file.total - 1, true);
        EXPECT_TRUE(faults.empty()) << joined(faults);
    }
    set_color_conversion(conversion);
}
