// Encoding sounds as OGG Vorbis: lengths kept to the sample, loops clean.
#include "databuilder/audio/OggEncoder.h"
#include "databuilder/audio/Synth.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<std::vector<float>> decodeBytes(const std::string& bytes)
{
    // vorbisfile reads from a file; a temporary one keeps the test simple.
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    OggVorbis_File vorbis;
    std::vector<std::vector<float>> out;
    if (ov_open(file, &vorbis, nullptr, 0) != 0) {
        std::fclose(file);
        return out;
    }
    out.assign(ov_info(&vorbis, -1)->channels, {});
    float** pcm = nullptr;
    int section = 0;
    long count;
    while ((count = ov_read_float(&vorbis, &pcm, 4096, &section)) > 0) {
        for (size_t c = 0; c < out.size(); ++c) {
            out[c].insert(out[c].end(), pcm[c], pcm[c] + count);
        }
    }
    ov_clear(&vorbis); // closes the file too
    return out;
}

// A loud low chord that does not sit at zero where the loop closes: the
// hardest case for a loop point.
std::vector<float> loudLoop(size_t frames)
{
    std::vector<float> v(frames);
    for (size_t i = 0; i < frames; ++i) {
        double t = static_cast<double>(i) / frames;
        v[i] = static_cast<float>(
            0.5 * std::cos(2.0 * M_PI * 40.0 * t) + 0.3 * std::cos(2.0 * M_PI * 97.0 * t));
    }
    return v;
}

} // namespace

TEST(OggEncoder, KeepsTheExactLengthOfOneShotsAndLoops)
{
    for (size_t frames : { 100u, 4410u, 44101u }) {
        SCOPED_TRACE(frames);
        std::vector<float> sound = loudLoop(frames);
        for (bool looping : { false, true }) {
            auto decoded = decodeBytes(OggEncoder::encode({ sound, sound }, Synth::RATE, 0.3f, "t", looping));
            ASSERT_EQ(decoded.size(), 2u);
            EXPECT_EQ(decoded[0].size(), frames);
        }
    }
}

TEST(OggEncoder, ALoopsEndFlowsIntoItsStart)
{
    const size_t FRAMES = 2 * Synth::RATE;
    std::vector<float> sound = loudLoop(FRAMES);
    auto decoded = decodeBytes(OggEncoder::encode({ sound }, Synth::RATE, 0.3f, "loop", true));
    ASSERT_EQ(decoded.size(), 1u);
    ASSERT_EQ(decoded[0].size(), FRAMES);
    // The true wave moves by about 0.003 per sample here; the coded end must
    // land close to where the start picks up.
    EXPECT_NEAR(decoded[0].back(), sound.back(), 0.02);
    EXPECT_NEAR(decoded[0].front(), sound.front(), 0.02);
}
