#include "engine/media/PackedStream.h"

#include "engine/media/DatafileManager.h"
#include "support/LogLines.h"

#include <allegro.h>
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

Bytes packedWithAllegro(const Bytes& contents)
{
    const char* path = "packed.bin";
    PACKFILE* file = pack_fopen(path, F_WRITE_PACKED);
    EXPECT_NE(nullptr, file);
    pack_fwrite(contents.data(), static_cast<long>(contents.size()), file);
    pack_fclose(file);
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

Bytes packedBy(std::initializer_list<unsigned char> stream)
{
    Bytes file;
    for (unsigned char byte : { 's', 'l', 'h', '!' }) {
        file.push_back(byte);
    }
    for (unsigned char byte : stream) {
        file.push_back(byte);
    }
    return file;
}

TEST(PackedStreamTest, WhatAllegroPacksIsSteady)
{
    // Long runs make the packer copy, random bytes make it write plainly,
    // and more than the window's 4096 bytes wrap it around.
    std::mt19937 random(7);
    Bytes contents;
    for (int block = 0; block < 40; ++block) {
        int length = 1 + static_cast<int>(random() % 400);
        bool run = block % 2 == 0;
        unsigned char value = static_cast<unsigned char>(random());
        for (int i = 0; i < length; ++i) {
            contents.push_back(run ? value : static_cast<unsigned char>(random()));
        }
    }
    ASSERT_GT(contents.size(), 4096u);
    EXPECT_EQ("", PackedStream::checkBytes(packedWithAllegro(contents)));
    EXPECT_EQ("", PackedStream::checkBytes(packedWithAllegro(Bytes(10000, 0))));
    EXPECT_EQ("", PackedStream::checkBytes(packedWithAllegro(Bytes())));
}

TEST(PackedStreamTest, CopiesFromSlotsNeverWrittenAreRefused)
{
    // Flag byte 0: eight copies. Slot 0xFEE is the first the stream
    // writes; copying it first reads memory Allegro never set.
    EXPECT_EQ("its packed data copies bytes it never wrote (at byte 5)",
        PackedStream::checkBytes(packedBy({ 0x00, 0xEE, 0xF0 })));
    // The same copy after a literal has filled that slot is fine, and the
    // zeroed front of the window may be copied from at any time.
    EXPECT_EQ("", PackedStream::checkBytes(packedBy({ 0x01, 'A', 0xEE, 0xF0 })));
    EXPECT_EQ("", PackedStream::checkBytes(packedBy({ 0x00, 0x00, 0x0F })));
    // A copy may overlap what it writes itself (a run of 'A's), but not
    // start beyond what has been written.
    EXPECT_EQ("", PackedStream::checkBytes(packedBy({ 0x01, 'A', 0xEE, 0xF5 })));
    EXPECT_NE("", PackedStream::checkBytes(packedBy({ 0x01, 'A', 0xEF, 0xF0 })));
    // Plain files, other files and a token cut off at the end.
    EXPECT_EQ("", PackedStream::checkBytes({ 's', 'l', 'h', '.', 0x00, 0xEE, 0xF0 }));
    EXPECT_EQ("", PackedStream::checkBytes({ 'A', 'L', 'L' }));
    EXPECT_EQ("", PackedStream::checkBytes(packedBy({ 0x00, 0xEE })));
}

TEST(PackedStreamTest, TheCacheRefusesAnUnsteadyDatafile)
{
    // Found by the datafile fuzzer: a packed stream that unpacked to an
    // empty file for the check and to a count of four billion objects for
    // Allegro's loader.
    const Bytes found = { 0x73, 0x6c, 0x68, 0x21, 0xef, 0x41, 0x4c, 0x4c, 0x2e, 0xfe, 0xff, 0xff, 0xff, 0x4d,
        0xbf, 0x04, 0x42, 0x4d, 0xbf, 0x40, 0x50, 0x20, 0x71, 0x00, 0x02, 0x06, 0xfa, 0xf8, 0x08, 0x46, 0x03,
        0x83, 0xd9, 0x00, 0xb6, 0x01 };
    {
        std::ofstream out("unsteady.dat", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(found.data()), static_cast<std::streamsize>(found.size()));
    }
    startFreshLog();
    DatafileManager::setDirectory("");
    DatafileManager handle;
    handle.load("unsteady.dat");
    EXPECT_FALSE(handle.isLoaded());
    EXPECT_TRUE(logHas("datafile [unsteady.dat] - cannot parse file: its packed data copies bytes it never "
                       "wrote (at byte 9)"));
}

} // namespace
