// The game's sounds and music, decoded back from the files the builder writes.
#include "databuilder/audio/AudioBuilder.h"
#include "databuilder/BuildContext.h"
#include "databuilder/audio/MusicTracks.h"
#include "databuilder/audio/OggEncoder.h"
#include "databuilder/audio/SoundEffects.h"
#include "databuilder/audio/Synth.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Every effect name the game plays, and every music file it opens.
const std::vector<std::string> EFFECTS = {
    "anglerseesyou",
    "beat",
    "bigseagull-hit",
    "boing",
    "bubble",
    "bubblehit",
    "cannon",
    "dancedown",
    "danceleft",
    "danceright",
    "dancesong",
    "dancesong2",
    "dancesong3",
    "danceup",
    "eelcharge",
    "levdie",
    "levelcomplete",
    "levlaser",
    "levow",
    "ow",
    "pop",
    "refill",
    "seagull",
    "sharkbite",
    "sharkgulp",
    "squidshoot",
    "swordclash",
    "swordclash2",
    "swordfish_hit",
    "swordfish_laugh",
    "swordfish_lose",
    "treasure",
};
const std::vector<std::string> TRACKS = {
    "title",
    "kvl",
    "eog",
    "shark",
    "boss",
    "squidbattle",
    "rayblues",
    "montyrag",
    "underwater",
    "piratelevel",
    "underwatercity",
    "heroics",
};

struct Decoded {
    bool ok = false;
    int channels = 0;
    long rate = 0;
    std::vector<std::vector<float>> samples;

    double seconds() const { return samples.empty() ? 0.0 : static_cast<double>(samples[0].size()) / rate; }
};

Decoded decode(const std::string& path)
{
    Decoded out;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0) {
        return out;
    }
    vorbis_info* info = ov_info(&file, -1);
    out.channels = info->channels;
    out.rate = info->rate;
    out.samples.assign(out.channels, {});
    float** pcm = nullptr;
    int section = 0;
    long count;
    while ((count = ov_read_float(&file, &pcm, 4096, &section)) > 0) {
        for (int c = 0; c < out.channels; ++c) {
            out.samples[c].insert(out.samples[c].end(), pcm[c], pcm[c] + count);
        }
    }
    ov_clear(&file);
    out.ok = count == 0 && !out.samples.empty() && !out.samples[0].empty();
    return out;
}

double peakOf(const Decoded& d)
{
    double peak = 0.0;
    for (const auto& channel : d.samples) {
        for (float v : channel) {
            peak = std::max(peak, static_cast<double>(std::fabs(v)));
        }
    }
    return peak;
}

double rmsOf(const Decoded& d)
{
    double sum = 0.0;
    size_t count = 0;
    for (const auto& channel : d.samples) {
        for (float v : channel) {
            sum += v * v;
        }
        count += channel.size();
    }
    return std::sqrt(sum / std::max<size_t>(1, count));
}

// The jump from the last sample back to the first, against the ordinary
// sample-to-sample movement on both sides of the loop point.
void expectSeamless(const Decoded& d)
{
    for (const auto& channel : d.samples) {
        size_t n = channel.size();
        const size_t SIDE = 64;
        double local = 0.0;
        for (size_t i = 1; i < SIDE; ++i) {
            local += std::fabs(channel[i] - channel[i - 1]) + std::fabs(channel[n - i] - channel[n - i - 1]);
        }
        local /= 2.0 * (SIDE - 1);
        double jump = std::fabs(channel[0] - channel[n - 1]);
        EXPECT_LT(jump, std::max(3.0 * local, 0.015)) << "local step " << local;
    }
}

} // namespace

TEST(AudioBuilder, WritesEveryEffectAndTrackAsCleanOggVorbis)
{
    ScratchDir scratch;
    BuildContext context;
    context.outDir = scratch.path() + "/run";
    ASSERT_TRUE(buildAudio(context));

    size_t totalBytes = 0;
    for (const std::string& name : EFFECTS) {
        SCOPED_TRACE("sfx/" + name);
        std::string path = context.outDir + "/sfx/" + name + ".ogg";
        totalBytes += std::filesystem::file_size(path);
        Decoded d = decode(path);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.channels, 1);
        EXPECT_EQ(d.rate, Synth::RATE);
        EXPECT_GT(rmsOf(d), 0.03);
        EXPECT_LE(peakOf(d), 1.0);
        if (name.rfind("dancesong", 0) == 0) {
            // Restarted on every 2-second bar of the dance floor, so one bar
            // long exactly and seamless when played back to back.
            EXPECT_EQ(d.samples[0].size(), static_cast<size_t>(2 * Synth::RATE));
            expectSeamless(d);
        } else {
            EXPECT_GE(d.seconds(), 0.05);
            EXPECT_LE(d.seconds(), 3.0);
        }
        bool cue = name.rfind("dance", 0) == 0 && name.find("song") == std::string::npos;
        if (name == "beat" || cue) {
            // Sounded on every half-second beat, at most three at a time.
            EXPECT_LE(d.seconds(), 0.5);
        }
    }
    for (const std::string& name : TRACKS) {
        SCOPED_TRACE("mus/" + name);
        std::string path = context.outDir + "/mus/" + name + ".ogg";
        totalBytes += std::filesystem::file_size(path);
        Decoded d = decode(path);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.channels, 2);
        // Slow motion slides the music's playback rate relative to 44100 Hz.
        EXPECT_EQ(d.rate, 44100);
        EXPECT_GT(rmsOf(d), 0.05);
        EXPECT_LE(peakOf(d), 1.0);
        if (name == "kvl") {
            // The logo screen lasts five seconds; its jingle ends in silence.
            EXPECT_GE(d.seconds(), 3.0);
            EXPECT_LE(d.seconds(), 5.0);
            EXPECT_LT(std::fabs(d.samples[0].back()), 0.01);
        } else {
            EXPECT_GE(d.seconds(), 28.0);
            EXPECT_LE(d.seconds(), 65.0);
            expectSeamless(d);
        }
    }
    EXPECT_LT(totalBytes, 8u * 1024 * 1024);

    // Nothing beyond the names the game plays.
    size_t written = 0;
    for (const auto& entry : std::filesystem::directory_iterator(context.outDir + "/sfx")) {
        (void)entry;
        ++written;
    }
    EXPECT_EQ(written, EFFECTS.size());
}

TEST(AudioBuilder, SameSoundsGiveTheSameBytesOnEveryBuild)
{
    for (const char* name : { "treasure", "dancesong3", "eelcharge" }) {
        SCOPED_TRACE(name);
        std::string first = OggEncoder::encode({ SoundEffects::render(name) }, Synth::RATE, 0.3f, name);
        std::string second = OggEncoder::encode({ SoundEffects::render(name) }, Synth::RATE, 0.3f, name);
        ASSERT_FALSE(first.empty());
        EXPECT_EQ(first, second);
    }
    std::string first = OggEncoder::encode(MusicTracks::render("kvl"), Synth::RATE, 0.3f, "kvl");
    std::string second = OggEncoder::encode(MusicTracks::render("kvl"), Synth::RATE, 0.3f, "kvl");
    EXPECT_EQ(first, second);
    // Different effects do differ: the generator is seeded per sound.
    EXPECT_NE(SoundEffects::render("swordclash"), SoundEffects::render("swordclash2"));
}

TEST(AudioBuilder, UnknownNamesRenderNothingAndBadInputEncodesNothing)
{
    EXPECT_TRUE(SoundEffects::render("no-such-sound").empty());
    EXPECT_TRUE(MusicTracks::render("no-such-track").empty());
    EXPECT_TRUE(OggEncoder::encode({}, Synth::RATE, 0.3f, "empty").empty());
    EXPECT_TRUE(OggEncoder::encode({ { 0.0f, 0.1f }, { 0.0f } }, Synth::RATE, 0.3f, "ragged").empty());
}

TEST(AudioBuilder, FailsCleanlyWhenTheRunFolderCannotBeMade)
{
    ScratchDir scratch;
    std::ofstream(scratch.path() + "/blocker") << "a file where a folder should be";
    BuildContext context;
    context.outDir = scratch.path() + "/blocker";
    EXPECT_FALSE(buildAudio(context));
}
