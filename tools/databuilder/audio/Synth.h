#pragma once

#include <cstdint>
#include <vector>

// Oscillator shapes of the game's little synthesiser.
enum class Wave { SINE, SQUARE, SAW, TRIANGLE, NOISE };

// Attack, decay and release in seconds; sustain as a level 0-1.
struct Envelope {
    double attack = 0.005;
    double decay = 0.1;
    double sustain = 0.7;
    double release = 0.1;
};

// A tone's shape: wave, envelope, an optional low-pass sweep and vibrato.
struct ToneSettings {
    Wave wave = Wave::SINE;
    Envelope envelope;
    double duty = 0.5; // pulse width of SQUARE
    double detune = 0.0; // cents of a second, detuned copy (0: none)
    double cutoff = 0.0; // low-pass cutoff in Hz (0: open)
    double cutoffEnv = 0.0; // extra cutoff in Hz at the start, decaying
    double cutoffDecay = 0.2; // seconds for that extra cutoff to fade
    double resonance = 0.7; // filter Q
    double vibratoHz = 0.0;
    double vibratoCents = 0.0;
    double glide = 0.0; // semitones the pitch slides up into the note from below
};

// Every sound of the game is drawn from these voices: each call renders one
// mono voice at RATE, and everything random comes from a seeded generator of
// our own so that a build gives the same bytes every time.
class Synth {
public:
    static constexpr int RATE = 44100;

    explicit Synth(uint32_t seed = 0x5eab3d);

    uint32_t next();
    float noise(); // white noise in [-1, 1)
    double uniform(); // [0, 1)

    static double midiFreq(double midi);
    static float osc(Wave wave, double phase, double step, double duty = 0.5);
    // Level of the envelope at time t of a note held for `held` seconds.
    static double envelope(const Envelope& env, double t, double held);

    // A note: `held` seconds of gate, plus the release tail.
    std::vector<float> tone(double freq, double held, const ToneSettings& settings);
    // A plucked string (delay line fed with a burst of noise).
    std::vector<float> pluck(double freq, double seconds, double brightness = 0.5, double decay = 0.996);
    // A two-operator FM bell or electric piano.
    std::vector<float> fm(double freq, double seconds, double ratio, double index, double indexDecay,
        double ampDecay, double attack = 0.002);
    // A soft, slowly breathing chord pad voice of detuned saws.
    std::vector<float> pad(double freq, double held, double brightness = 800.0);
    // A struck piano-like tone of decaying partials.
    std::vector<float> piano(double freq, double seconds);
    // A slide from f0 to f1 (exponential) over the length, with an envelope.
    std::vector<float> sweep(
        Wave wave, double f0, double f1, double seconds, const Envelope& env, double duty = 0.5);

    std::vector<float> kick(double seconds = 0.45, double startHz = 160.0, double endHz = 45.0);
    std::vector<float> snare(double seconds = 0.22, double tone = 190.0);
    std::vector<float> hat(double seconds = 0.05);
    std::vector<float> clap();
    std::vector<float> tom(double freq, double seconds = 0.35);
    std::vector<float> noiseBurst(double seconds, double lowHz, double highHz, const Envelope& env);

    // In-place helpers on a mono voice.
    static void lowpass(std::vector<float>& buffer, double cutoff, double resonance = 0.7);
    static void highpass(std::vector<float>& buffer, double cutoff, double resonance = 0.7);
    static void bandpass(std::vector<float>& buffer, double centre, double q);
    static void normalize(std::vector<float>& buffer, float peak);
    static void fade(std::vector<float>& buffer, double inSeconds, double outSeconds);
    static void mix(
        std::vector<float>& into, const std::vector<float>& voice, double atSeconds, float gain = 1.0f);
    static void gain(std::vector<float>& buffer, float factor);

    static int samples(double seconds);

private:
    uint32_t state;
};
