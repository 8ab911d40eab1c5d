// The synthesiser's voices: in tune, ending in silence, and repeatable.
#include "databuilder/audio/Synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

// The strongest repetition period between 0.8 and 1.25 times the expected
// one, refined between samples, as a frequency.
double measuredPitch(const std::vector<float>& v, double expected)
{
    auto correlation = [&v](int lag) {
        double c = 0.0;
        for (size_t i = 2000; i + lag < v.size() && i < 20000; ++i) {
            c += v[i] * v[i + lag];
        }
        return c;
    };
    int low = static_cast<int>(Synth::RATE / (expected * 1.25));
    int high = static_cast<int>(Synth::RATE / (expected * 0.8));
    int best = low;
    double bestValue = -1e30;
    for (int lag = low; lag <= high; ++lag) {
        double c = correlation(lag);
        if (c > bestValue) {
            bestValue = c;
            best = lag;
        }
    }
    double y0 = correlation(best - 1), y1 = bestValue, y2 = correlation(best + 1);
    double shift = 0.5 * (y0 - y2) / (y0 - 2.0 * y1 + y2);
    return Synth::RATE / (best + shift);
}

double cents(double measured, double expected)
{
    return 1200.0 * std::log2(measured / expected);
}

} // namespace

TEST(Synth, StringsTonesAndPianoPlayInTune)
{
    Synth synth(7);
    for (double freq : { 82.41, 196.0, 440.0, 987.77 }) {
        SCOPED_TRACE(freq);
        EXPECT_NEAR(cents(measuredPitch(synth.pluck(freq, 0.6), freq), freq), 0.0, 5.0);
        ToneSettings saw;
        saw.wave = Wave::SAW;
        saw.cutoff = 3000.0;
        EXPECT_NEAR(cents(measuredPitch(synth.tone(freq, 0.5, saw), freq), freq), 0.0, 5.0);
        EXPECT_NEAR(cents(measuredPitch(synth.piano(freq, 0.6), freq), freq), 0.0, 5.0);
    }
    EXPECT_NEAR(Synth::midiFreq(69), 440.0, 1e-9);
    EXPECT_NEAR(Synth::midiFreq(60), 261.63, 0.01);
}

TEST(Synth, DrumsAndNotesEndInSilenceWithinTheirLength)
{
    Synth synth(3);
    ToneSettings lead;
    lead.wave = Wave::SQUARE;
    lead.envelope.release = 0.2;
    std::vector<std::vector<float>> voices
        = { synth.kick(), synth.snare(), synth.hat(), synth.clap(), synth.tom(100.0),
              synth.tone(300.0, 0.3, lead), synth.pad(220.0, 0.5), synth.fm(880.0, 0.5, 3.5, 2.0, 0.1, 0.1) };
    for (size_t i = 0; i < voices.size(); ++i) {
        SCOPED_TRACE(i);
        const std::vector<float>& v = voices[i];
        ASSERT_GT(v.size(), 100u);
        float peak = 0.0f;
        for (float s : v) {
            peak = std::max(peak, std::fabs(s));
        }
        EXPECT_GT(peak, 0.05f);
        EXPECT_LT(peak, 2.0f);
        // A voice that stopped abruptly would click every time it is played.
        EXPECT_LT(std::fabs(v.back()), 0.01f);
        EXPECT_LT(std::fabs(v.front()), 0.05f);
    }
}

TEST(Synth, TheSameSeedGivesTheSameNoise)
{
    Synth a(42), b(42), c(43);
    std::vector<float> first = a.pluck(330.0, 0.2), second = b.pluck(330.0, 0.2), other = c.pluck(330.0, 0.2);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, other);
    for (int i = 0; i < 1000; ++i) {
        float n = a.noise();
        ASSERT_GE(n, -1.0f);
        ASSERT_LT(n, 1.0f);
    }
}
