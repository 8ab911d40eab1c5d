// Arranging music: note lines, chords and the wrap-around of looping tracks.
#include "databuilder/audio/Sequencer.h"
#include "databuilder/audio/Synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

struct Played {
    double freq;
    double held;
};

// An instrument that writes down what it was asked to play and sounds a
// short click.
Instrument recorder(std::vector<Played>& played)
{
    return [&played](double freq, double held) {
        played.push_back({ freq, held });
        return std::vector<float>(10, 0.5f);
    };
}

} // namespace

TEST(Sequencer, ReadsNotesHoldsRestsAndBarMarks)
{
    // 120 beats a minute: a beat is half a second, a step of 0.5 beats a quarter.
    Sequencer seq(120.0, 4, 1, true);
    std::vector<Played> played;
    Instrument inst = recorder(played);
    int steps = seq.line(inst, "a4 . - | c#5 bb3 . . x9", 0.0, 0.5, 1.0f, 0.0f);
    EXPECT_EQ(steps, 8);
    ASSERT_EQ(played.size(), 3u);
    EXPECT_NEAR(played[0].freq, 440.0, 0.01);
    EXPECT_NEAR(played[0].held, 0.5, 1e-3); // two steps
    EXPECT_NEAR(played[1].freq, 554.37, 0.01);
    EXPECT_NEAR(played[1].held, 0.25, 1e-3);
    EXPECT_NEAR(played[2].freq, 233.08, 0.01);
    EXPECT_NEAR(played[2].held, 0.75, 1e-3);
    // The same note again comes from the cache, not a second rendering.
    seq.line(inst, "a4 .", 2.0, 0.5, 1.0f, 0.0f);
    EXPECT_EQ(played.size(), 3u);
}

TEST(Sequencer, ChordSymbolsGiveTheirNotesAboveTheBase)
{
    EXPECT_EQ(Sequencer::chord("C", 60), (std::vector<int> { 60, 64, 67 }));
    EXPECT_EQ(Sequencer::chord("Am7", 60), (std::vector<int> { 69, 72, 76, 79 }));
    EXPECT_EQ(Sequencer::chord("Bbmaj7", 60), (std::vector<int> { 70, 74, 77, 81 }));
    EXPECT_EQ(Sequencer::chord("F#dim", 48), (std::vector<int> { 54, 57, 60, 63 }));
    EXPECT_EQ(Sequencer::chord("Dbmaj7", 36), (std::vector<int> { 37, 41, 44, 48 }));
    EXPECT_TRUE(Sequencer::chord("H7", 60).empty());
    EXPECT_EQ(Sequencer::noteMidi("c4"), 60);
    EXPECT_EQ(Sequencer::noteMidi("eb2"), 39);
    EXPECT_EQ(Sequencer::noteMidi("c"), -1);
}

TEST(Sequencer, LoopingTracksWrapTailsIntoTheirStartAndOneShotsKeepThem)
{
    // One bar of four beats at 60 a minute: four seconds.
    Sequencer loop(60.0, 4, 1, true);
    std::vector<float> ring(Synth::samples(2.0), 0.25f);
    loop.place(ring, 3.0, 1.0f, 0.0f); // one second before the end, two seconds long
    auto wrapped = loop.finish(0.8f);
    ASSERT_EQ(wrapped[0].size(), static_cast<size_t>(Synth::samples(4.0)));
    // The second after the loop point carries the tail as much as the last second.
    EXPECT_NEAR(wrapped[0][Synth::samples(0.5)], wrapped[0][Synth::samples(3.5)], 1e-4);
    EXPECT_NEAR(wrapped[0][Synth::samples(2.0)], wrapped[0][Synth::samples(1.5)], 1e-4);
    EXPECT_LT(wrapped[0][Synth::samples(2.0)], wrapped[0][Synth::samples(0.5)]);

    Sequencer once(60.0, 4, 1, false, 1.5);
    once.place(ring, 3.0, 1.0f, 0.0f);
    auto kept = once.finish(0.8f);
    ASSERT_EQ(kept[0].size(), static_cast<size_t>(Synth::samples(5.5)));
    EXPECT_EQ(kept[0][Synth::samples(0.5)], 0.0f);
    EXPECT_GT(kept[0][Synth::samples(4.5)], 0.1f);
}

TEST(Sequencer, EchoAndReverbOfALoopRingOnAcrossTheLoopPoint)
{
    auto energy = [](const std::vector<float>& v, double from, double to) {
        double e = 0.0;
        for (int i = Synth::samples(from); i < Synth::samples(to); ++i) {
            e += std::fabs(v[i]);
        }
        return e;
    };
    std::vector<float> hit(Synth::samples(0.05));
    for (size_t i = 0; i < hit.size(); ++i) {
        hit[i] = static_cast<float>(std::sin(2.0 * M_PI * 1000.0 * i / Synth::RATE));
    }

    // A hit hard left near the end: its ping-pong echo comes back on the
    // right just after the loop point.
    Sequencer echoed(60.0, 4, 1, true);
    echoed.place(hit, 3.5, 1.0f, -1.0f);
    echoed.echo(0.25, 0.5f, 0.5f, 0.0f);
    auto out = echoed.finish(0.8f);
    EXPECT_GT(energy(out[1], 0.0, 0.1), 10.0 * energy(out[1], 0.2, 0.3));

    Sequencer reverberant(60.0, 4, 1, true);
    reverberant.place(hit, 3.9, 1.0f, 0.0f);
    reverberant.reverb(0.5f, 0.8f, 0.3f);
    out = reverberant.finish(0.8f);
    EXPECT_GT(energy(out[0], 0.1, 0.3), 5.0 * energy(out[0], 3.0, 3.2));
}
