#include "engine/media/OggStreamReader.h"

#include "support/OggTone.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

namespace {

const long RATE = 22050;
const long FRAMES = 4410; // a fifth of a second
const int CENTRE = 0x8000;

std::vector<unsigned short> channel(const std::vector<char>& pcm, long bytes, int channels, int which)
{
    std::vector<unsigned short> values;
    for (long at = 2L * which; at + 1 < bytes; at += 2L * channels) {
        unsigned short value;
        std::memcpy(&value, pcm.data() + at, 2);
        values.push_back(value);
    }
    return values;
}

class OggStreamReaderTest : public ::testing::Test {
protected:
    ScratchDir scratch;
};

TEST_F(OggStreamReaderTest, DecodesToUnsignedSixteenBitFrames)
{
    ASSERT_TRUE(writeOggTone("tone.ogg", 1, RATE, FRAMES));
    OggStreamReader reader;
    ASSERT_TRUE(reader.open("tone.ogg"));
    EXPECT_EQ(reader.channels(), 1);
    EXPECT_EQ(reader.rate(), RATE);

    std::vector<char> pcm(FRAMES * 2 * 3);
    long got = reader.read(pcm.data(), static_cast<long>(pcm.size()), false);
    EXPECT_EQ(got, FRAMES * 2); // exactly the frames encoded: the end is short

    // A half-scale sine around the middle value, never wrapped round.
    std::vector<unsigned short> values = channel(pcm, got, 1, 0);
    auto [low, high] = std::minmax_element(values.begin(), values.end());
    EXPECT_LT(*low, CENTRE - 12000);
    EXPECT_GT(*high, CENTRE + 12000);
    EXPECT_GT(*low, CENTRE - 20000);
    EXPECT_LT(*high, CENTRE + 20000);

    EXPECT_EQ(reader.read(pcm.data(), 1024, false), 0);
}

TEST_F(OggStreamReaderTest, LoopingStartsOverAndFillsEveryByte)
{
    ASSERT_TRUE(writeOggTone("tone.ogg", 1, RATE, FRAMES));
    OggStreamReader reader;
    ASSERT_TRUE(reader.open("tone.ogg"));
    const long once = FRAMES * 2;
    std::vector<char> pcm(once * 2 + 100);
    ASSERT_EQ(reader.read(pcm.data(), static_cast<long>(pcm.size()), true), static_cast<long>(pcm.size()));
    EXPECT_TRUE(std::equal(pcm.begin(), pcm.begin() + once, pcm.begin() + once));

    // An odd request is cut to whole frames.
    ASSERT_TRUE(reader.rewind());
    EXPECT_EQ(reader.read(pcm.data(), 7, true), 6);
}

TEST_F(OggStreamReaderTest, StereoIsInterleavedLeftFirst)
{
    ASSERT_TRUE(writeOggTone("stereo.ogg", 2, 44100, FRAMES));
    OggStreamReader reader;
    ASSERT_TRUE(reader.open("stereo.ogg"));
    EXPECT_EQ(reader.channels(), 2);
    std::vector<char> pcm(FRAMES * 4);
    long got = reader.read(pcm.data(), static_cast<long>(pcm.size()), false);
    ASSERT_EQ(got, FRAMES * 4);

    std::vector<unsigned short> left = channel(pcm, got, 2, 0);
    std::vector<unsigned short> right = channel(pcm, got, 2, 1);
    EXPECT_GT(*std::max_element(left.begin(), left.end()), CENTRE + 12000);
    for (unsigned short value : right) {
        ASSERT_NEAR(value, CENTRE, 2000);
    }
}

TEST_F(OggStreamReaderTest, RefusesWhatItCannotPlay)
{
    std::ofstream("notes.ogg") << "this is not an OGG file\n";
    ASSERT_TRUE(writeOggTone("surround.ogg", 3, RATE, FRAMES));
    std::ofstream("empty.ogg").close();

    for (const char* path : { "missing.ogg", "notes.ogg", "surround.ogg", "empty.ogg" }) {
        SCOPED_TRACE(path);
        OggStreamReader reader;
        EXPECT_FALSE(reader.open(path));
        EXPECT_FALSE(reader.isOpen());
        char buffer[64];
        EXPECT_EQ(reader.read(buffer, sizeof buffer, true), 0);
        EXPECT_FALSE(reader.rewind());
    }
}

} // namespace
