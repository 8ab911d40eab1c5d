#include "engine/media/DatafileChecker.h"

#include "engine/media/DatafileManager.h"
#include "engine/media/DatafileWriter.h"
#include "support/LogLines.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes readRaw(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeRaw(const std::string& path, const Bytes& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes readUnpacked(const std::string& path)
{
    Bytes bytes;
    PACKFILE* file = pack_fopen(path.c_str(), F_READ_PACKED);
    if (file == nullptr) {
        return bytes;
    }
    for (int c = pack_getc(file); c != EOF; c = pack_getc(file)) {
        bytes.push_back(static_cast<unsigned char>(c));
    }
    pack_fclose(file);
    return bytes;
}

void writePacked(const std::string& path, const Bytes& bytes)
{
    PACKFILE* file = pack_fopen(path.c_str(), F_WRITE_PACKED);
    ASSERT_NE(nullptr, file);
    pack_fwrite(bytes.data(), static_cast<long>(bytes.size()), file);
    pack_fclose(file);
}

// A small file with one object of every kind the game's files hold: pictures
// at several depths, run-length sprites with holes, a font, a palette, bytes
// and a nested file.
void writeEveryKind(const std::string& path)
{
    DatafileWriter out;
    for (int depth : { 8, 16, 24, 32 }) {
        BITMAP* picture = create_bitmap_ex(depth, 5, 3);
        clear_to_color(picture, bitmap_mask_color(picture));
        putpixel(picture, 1, 1, makecol_depth(depth, 200, 10, 10));
        putpixel(picture, 3, 2, makecol_depth(depth, 10, 200, 10));
        out.addBitmap(picture, "PICTURE");
        out.addRleSprite(picture);
        destroy_bitmap(picture);
    }
    std::vector<BITMAP*> glyphs;
    for (int i = 0; i < 3; ++i) {
        glyphs.push_back(create_bitmap_ex(8, 2 + i, 4));
        clear_to_color(glyphs.back(), i);
    }
    out.addFont(' ', glyphs, "FONT");
    for (BITMAP* glyph : glyphs) {
        destroy_bitmap(glyph);
    }
    PALETTE palette;
    for (int i = 0; i < PAL_SIZE; ++i) {
        palette[i].r = palette[i].g = palette[i].b = static_cast<unsigned char>(i / 4);
    }
    out.addPalette(palette);
    DatafileWriter& nested = out.addNested("SET");
    BITMAP* tile = create_bitmap_ex(16, 4, 4);
    clear_to_color(tile, makecol16(0, 0, 255));
    nested.addRleSprite(tile);
    nested.addBitmap(tile);
    destroy_bitmap(tile);
    out.addData({ 1, 2, 3, 4 });
    ASSERT_TRUE(out.save(path));
}

// What matters about a damaged file: either the checker names a fault, or
// Allegro loads it without harm.
void expectRefusedOrLoaded(const std::string& path, const std::string& what)
{
    std::string problem = DatafileChecker::checkFile(path);
    if (!problem.empty()) {
        return;
    }
    DATAFILE* data = load_datafile(path.c_str());
    EXPECT_NE(nullptr, data) << what << ": passed the check but did not load";
    if (data != nullptr) {
        unload_datafile(data);
    }
}

// Damages the file at many places and lengths, both in its unpacked
// contents and in the packed bytes on disk.
void damageEverywhere(const std::string& original)
{
    Bytes contents = readUnpacked(original);
    Bytes packed = readRaw(original);
    ASSERT_GT(contents.size(), 16u);
    const std::string damaged = "damaged.dat";

    size_t stride = contents.size() / 60 + 1;
    for (size_t length = 0; length < contents.size(); length += stride) {
        writePacked(damaged, Bytes(contents.begin(), contents.begin() + length));
        EXPECT_NE("", DatafileChecker::checkFile(damaged)) << "cut to " << length;
    }
    for (size_t bit = 0; bit < contents.size() * 8; bit += stride * 3 + 1) {
        Bytes flipped = contents;
        flipped[bit / 8] ^= static_cast<unsigned char>(1 << (bit % 8));
        writePacked(damaged, flipped);
        expectRefusedOrLoaded(damaged, "unpacked bit " + std::to_string(bit));
    }
    size_t packedStride = packed.size() / 60 + 1;
    for (size_t length = 12; length < packed.size(); length += packedStride) {
        writeRaw(damaged, Bytes(packed.begin(), packed.begin() + length));
        expectRefusedOrLoaded(damaged, "packed file cut to " + std::to_string(length));
    }
    for (size_t bit = 0; bit < packed.size() * 8; bit += packedStride * 3 + 1) {
        Bytes flipped = packed;
        flipped[bit / 8] ^= static_cast<unsigned char>(1 << (bit % 8));
        writeRaw(damaged, flipped);
        expectRefusedOrLoaded(damaged, "packed bit " + std::to_string(bit));
    }
    std::remove(damaged.c_str());
}

std::string builtFile(const char* name)
{
#ifdef TIDEWANDER_RUN_DIR
    std::string path = std::string(TIDEWANDER_RUN_DIR) + "/" + name;
    if (exists(path.c_str())) {
        return path;
    }
#endif
    (void)name;
    return "";
}

} // namespace

TEST(DatafileCheckerTest, SoundFilesPassAndLoad)
{
    writeEveryKind("every.dat");
    EXPECT_EQ("", DatafileChecker::checkFile("every.dat"));
    // Every datafile the data builder made, when they have been built.
    std::string levels = builtFile("lvl/levels.dat");
    if (levels.empty()) {
        return;
    }
    int checked = 0;
    for (const char* folder : { "dat", "lvl" }) {
        std::filesystem::path path = std::filesystem::path(levels).parent_path().parent_path() / folder;
        for (const auto& entry : std::filesystem::directory_iterator(path)) {
            if (entry.path().extension() == ".dat") {
                EXPECT_EQ("", DatafileChecker::checkFile(entry.path().string())) << entry.path();
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 10);
}

TEST(DatafileCheckerTest, NamesWhatIsWrong)
{
    writeEveryKind("every.dat");
    Bytes contents = readUnpacked("every.dat");

    EXPECT_EQ("not a datafile", DatafileChecker::checkContents(Bytes { 'A', 'L', 'L' }));
    EXPECT_EQ("the object count is missing",
        DatafileChecker::checkContents(Bytes(contents.begin(), contents.begin() + 4)));

    // The count, then the first object's property chunk and type.
    Bytes hugeCount = contents;
    hugeCount[4] = 0x7F;
    EXPECT_NE(std::string::npos, DatafileChecker::checkContents(hugeCount).find("object count"));

    Bytes longProperty = contents;
    longProperty[16] = 0x7F; // the size of the first property, "NAME"
    EXPECT_EQ(
        "object 0 has a property NAME longer than the file", DatafileChecker::checkContents(longProperty));

    Bytes unknownType = contents;
    unknownType[20 + 7 + 3] ^= 1; // "BMP " becomes "BMP!"
    EXPECT_EQ("object 0 has an unknown type BMP!", DatafileChecker::checkContents(unknownType));

    // A type Allegro has no loader for at all: this is what used to crash.
    Bytes endType = contents;
    for (int i = 0; i < 4; ++i) {
        endType[27 + i] = 0xFF;
    }
    EXPECT_EQ("object 0 has an unknown type ????", DatafileChecker::checkContents(endType));

    Bytes biggerPicture = contents;
    biggerPicture[31 + 8 + 3] = 50; // the first picture's width
    EXPECT_EQ(
        "object 0 (BMP ): its 50 x 3 picture is cut short", DatafileChecker::checkContents(biggerPicture));
}

TEST(DatafileCheckerTest, RunLengthSpritesMustStayInsideTheirSize)
{
    // One 8-bit sprite: header, then the runs of its rows.
    auto sprite = [](std::vector<unsigned char> runs, int size) {
        Bytes bytes = { 'A', 'L', 'L', '.', 0, 0, 0, 1, 'R', 'L', 'E', ' ' };
        Bytes payload = { 0, 8, 0, 4, 0, 2, 0, 0, 0, static_cast<unsigned char>(size) };
        payload.insert(payload.end(), runs.begin(), runs.end());
        for (int twice = 0; twice < 2; ++twice) {
            bytes.insert(bytes.end(), { 0, 0, 0, static_cast<unsigned char>(payload.size()) });
        }
        bytes.insert(bytes.end(), payload.begin(), payload.end());
        return bytes;
    };
    EXPECT_EQ("", DatafileChecker::checkContents(sprite({ 2, 7, 7, 0xFE, 0, 4, 1, 2, 3, 4, 0 }, 11)));
    EXPECT_EQ("object 0 (RLE ): its sprite runs past its stated size",
        DatafileChecker::checkContents(sprite({ 2, 7, 7, 0xFE, 0, 4, 1, 2, 3, 4, 0 }, 6)));
    EXPECT_EQ("object 0 (RLE ): its sprite row 1 is wider than the sprite",
        DatafileChecker::checkContents(sprite({ 0, 5, 1, 2, 3, 4, 5, 0 }, 20)));
    EXPECT_EQ("object 0 (RLE ): its sprite data is cut short in row 1",
        DatafileChecker::checkContents(sprite({ 0, 0xFE }, 20)));
}

TEST(DatafileCheckerTest, DamagedFilesAreRefusedOrLoadSafely)
{
    writeEveryKind("every.dat");
    damageEverywhere("every.dat");
    for (const char* name : { "dat/font.dat", "lvl/levels.dat" }) {
        std::string path = builtFile(name);
        if (path.empty()) {
            continue;
        }
        SCOPED_TRACE(name);
        damageEverywhere(path);
    }
}

TEST(DatafileCheckerTest, TheCacheRefusesADamagedFileByName)
{
    startFreshLog();
    DatafileManager::setDirectory("");
    writeEveryKind("every.dat");
    Bytes contents = readUnpacked("every.dat");
    writePacked("cut.dat", Bytes(contents.begin(), contents.begin() + 12));
    DatafileManager handle;
    handle.load("cut.dat");
    EXPECT_FALSE(handle.isLoaded());
    EXPECT_EQ(0, DatafileManager::referenceCount("cut.dat"));
    EXPECT_TRUE(logHas("datafile [cut.dat] - cannot parse file: the object count 12 does not fit the file"));
}
