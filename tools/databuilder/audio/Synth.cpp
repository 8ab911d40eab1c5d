#include "databuilder/audio/Synth.h"

#include "databuilder/audio/SvFilter.h"

#include <algorithm>
#include <cmath>

namespace {

const double TWO_PI = 2.0 * M_PI;

// Softens the jump of a saw or pulse edge so high notes do not alias into
// whistles.
double polyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

double wrap(double phase)
{
    return phase - std::floor(phase);
}

} // namespace

Synth::Synth(uint32_t seed)
    : state(seed ? seed : 1u)
{
}

uint32_t Synth::next()
{
    // xorshift32: tiny, fast and the same on every machine.
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

float Synth::noise()
{
    return static_cast<float>(next() >> 8) / 8388608.0f - 1.0f;
}

double Synth::uniform()
{
    return static_cast<double>(next() >> 8) / 16777216.0;
}

int Synth::samples(double seconds)
{
    return std::max(0, static_cast<int>(std::lround(seconds * RATE)));
}

double Synth::midiFreq(double midi)
{
    return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}

float Synth::osc(Wave wave, double phase, double step, double duty)
{
    phase = wrap(phase);
    switch (wave) {
    case Wave::SINE:
        return static_cast<float>(std::sin(TWO_PI * phase));
    case Wave::SQUARE: {
        double v = phase < duty ? 1.0 : -1.0;
        v += polyBlep(phase, step);
        v -= polyBlep(wrap(phase + 1.0 - duty), step);
        return static_cast<float>(v);
    }
    case Wave::SAW:
        return static_cast<float>(2.0 * phase - 1.0 - polyBlep(phase, step));
    case Wave::TRIANGLE:
        return static_cast<float>(phase < 0.5 ? 4.0 * phase - 1.0 : 3.0 - 4.0 * phase);
    case Wave::NOISE:
        break;
    }
    return 0.0f;
}

double Synth::envelope(const Envelope& env, double t, double held)
{
    auto gateLevel = [&env](double time) {
        if (time < env.attack) {
            return time / env.attack;
        }
        time -= env.attack;
        if (time < env.decay) {
            return 1.0 - (1.0 - env.sustain) * (time / env.decay);
        }
        return env.sustain;
    };
    if (t < held) {
        return gateLevel(t);
    }
    double release = t - held;
    if (release >= env.release) {
        return 0.0;
    }
    // Exponential-looking release from wherever the gate left the level.
    double x = 1.0 - release / env.release;
    return gateLevel(held) * x * x;
}

std::vector<float> Synth::tone(double freq, double held, const ToneSettings& s)
{
    int count = samples(held + s.envelope.release);
    std::vector<float> out(count);
    double phase = 0.0, phase2 = uniform();
    double detuneRatio = std::pow(2.0, s.detune / 1200.0);
    SvFilter filter;
    bool filtered = s.cutoff > 0.0;
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / RATE;
        double f = freq;
        if (s.vibratoCents > 0.0) {
            double depth = std::min(1.0, t / 0.25); // vibrato fades in like a singer's
            f *= std::pow(2.0, depth * s.vibratoCents / 1200.0 * std::sin(TWO_PI * s.vibratoHz * t));
        }
        if (s.glide > 0.0) {
            f *= std::pow(2.0, -s.glide / 12.0 * std::exp(-t / 0.03));
        }
        double step = f / RATE;
        float v;
        if (s.wave == Wave::NOISE) {
            v = noise();
        } else {
            v = osc(s.wave, phase, step, s.duty);
            if (s.detune != 0.0) {
                v = 0.5f * (v + osc(s.wave, phase2, step * detuneRatio, s.duty));
                phase2 += step * detuneRatio;
            }
        }
        phase += step;
        if (phase > 1.0) {
            phase -= 1.0;
        }
        if (phase2 > 1.0) {
            phase2 -= 1.0;
        }
        if (filtered) {
            if ((i & 15) == 0) {
                filter.setup(s.cutoff + s.cutoffEnv * std::exp(-t / s.cutoffDecay), s.resonance);
            }
            v = filter.low(v);
        }
        out[i] = static_cast<float>(v * envelope(s.envelope, t, held));
    }
    return out;
}

std::vector<float> Synth::pluck(double freq, double seconds, double brightness, double decay)
{
    int count = samples(seconds);
    std::vector<float> out(count);
    // The string is the output's own history: each new sample averages two
    // neighbours one period back (the average adds half a sample of delay,
    // which the fractional read takes off again, keeping the string in tune).
    double delay = std::max(2.0, RATE / freq - 0.5);
    int whole = static_cast<int>(delay);
    double frac = delay - whole;
    int burst = std::min(count, whole + 2);
    // The pick: a burst of noise, darker for a softer pluck.
    double smooth = 0.0, mean = 0.0;
    for (int i = 0; i < burst; ++i) {
        smooth += (noise() - smooth) * (0.2 + 0.8 * brightness);
        out[i] = static_cast<float>(smooth);
        mean += smooth;
    }
    for (int i = 0; i < burst; ++i) {
        out[i] -= static_cast<float>(mean / std::max(1, burst));
    }
    for (int i = burst; i < count; ++i) {
        double a = (1.0 - frac) * out[i - whole] + frac * out[i - whole - 1];
        double b = (1.0 - frac) * out[i - whole - 1] + frac * out[i - whole - 2 >= 0 ? i - whole - 2 : 0];
        out[i] = static_cast<float>(decay * 0.5 * (a + b));
    }
    fade(out, 0.002, std::min(0.05, seconds * 0.3));
    return out;
}

std::vector<float> Synth::fm(double freq, double seconds, double ratio, double index, double indexDecay,
    double ampDecay, double attack)
{
    int count = samples(seconds);
    std::vector<float> out(count);
    double carrier = 0.0;
    double cStep = freq / RATE;
    // The modulator turns as a phasor and both decays shrink by a constant
    // factor per sample: a bell costs one sine a sample.
    double mStep = TWO_PI * freq * ratio / RATE;
    double rotRe = std::cos(mStep), rotIm = std::sin(mStep);
    double modRe = 1.0, modIm = 0.0;
    double depth = index, depthFactor = std::exp(-1.0 / (indexDecay * RATE));
    double level = 1.0, levelFactor = std::exp(-1.0 / (ampDecay * RATE));
    int attackSamples = std::max(1, samples(attack));
    for (int i = 0; i < count; ++i) {
        double ramp = i < attackSamples ? static_cast<double>(i) / attackSamples : 1.0;
        out[i] = static_cast<float>(level * ramp * std::sin(TWO_PI * carrier + depth * modIm));
        carrier = wrap(carrier + cStep);
        double re = modRe * rotRe - modIm * rotIm;
        modIm = modRe * rotIm + modIm * rotRe;
        modRe = re;
        depth *= depthFactor;
        level *= levelFactor;
    }
    fade(out, 0.0, std::min(0.05, seconds * 0.2));
    return out;
}

std::vector<float> Synth::pad(double freq, double held, double brightness)
{
    ToneSettings s;
    s.wave = Wave::SAW;
    s.detune = 11.0;
    s.envelope = { 0.6, 0.5, 0.8, 1.2 };
    s.cutoff = brightness;
    s.resonance = 0.6;
    s.vibratoHz = 0.3 + uniform() * 0.3;
    s.vibratoCents = 6.0;
    return tone(freq, held, s);
}

std::vector<float> Synth::piano(double freq, double seconds)
{
    int count = samples(seconds);
    std::vector<float> out(count);
    // A few slightly stretched partials, the high ones dying first.
    const int PARTIALS = 6;
    double amps[PARTIALS] = { 1.0, 0.5, 0.32, 0.2, 0.12, 0.07 };
    double steps[PARTIALS];
    double decays[PARTIALS];
    int used = 0;
    for (int p = 0; p < PARTIALS; ++p) {
        double n = p + 1;
        double f = freq * n * (1.0 + 0.00015 * n * n);
        if (f > RATE * 0.45) {
            break;
        }
        steps[p] = f / RATE;
        decays[p] = (0.9 + 200.0 / freq) / (1.0 + 0.6 * p);
        used = p + 1;
    }
    // Each partial turns as a phasor and decays by a constant factor per
    // sample, which keeps the piano cheap enough for a whole rag.
    double re[PARTIALS], im[PARTIALS], rotRe[PARTIALS], rotIm[PARTIALS], factor[PARTIALS];
    for (int p = 0; p < used; ++p) {
        re[p] = amps[p];
        im[p] = 0.0;
        rotRe[p] = std::cos(TWO_PI * steps[p]);
        rotIm[p] = std::sin(TWO_PI * steps[p]);
        factor[p] = std::exp(-1.0 / (decays[p] * RATE));
    }
    int hammer = samples(0.004);
    for (int i = 0; i < count; ++i) {
        double v = 0.0;
        for (int p = 0; p < used; ++p) {
            v += im[p];
            double r = (re[p] * rotRe[p] - im[p] * rotIm[p]) * factor[p];
            im[p] = (re[p] * rotIm[p] + im[p] * rotRe[p]) * factor[p];
            re[p] = r;
        }
        double strike = i < hammer ? static_cast<double>(i) / hammer : 1.0;
        out[i] = static_cast<float>(0.5 * v * strike);
    }
    fade(out, 0.0, std::min(0.08, seconds * 0.3));
    return out;
}

std::vector<float> Synth::sweep(
    Wave wave, double f0, double f1, double seconds, const Envelope& env, double duty)
{
    int count = samples(seconds);
    std::vector<float> out(count);
    double held = std::max(0.0, seconds - env.release);
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / RATE;
        double f = f0 * std::pow(f1 / f0, t / seconds);
        double step = f / RATE;
        float v = wave == Wave::NOISE ? noise() : osc(wave, phase, step, duty);
        phase = wrap(phase + step);
        out[i] = static_cast<float>(v * envelope(env, t, held));
    }
    return out;
}

std::vector<float> Synth::kick(double seconds, double startHz, double endHz)
{
    int count = samples(seconds);
    std::vector<float> out(count);
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / RATE;
        double f = endHz + (startHz - endHz) * std::exp(-t / 0.04);
        phase = wrap(phase + f / RATE);
        double body = std::sin(TWO_PI * phase) * std::exp(-t / (seconds * 0.4));
        double click = noise() * std::exp(-t / 0.003) * 0.3;
        out[i] = static_cast<float>(std::tanh(1.6 * (body + click)));
    }
    fade(out, 0.0015, 0.02);
    return out;
}

std::vector<float> Synth::snare(double seconds, double toneHz)
{
    int count = samples(seconds);
    std::vector<float> out(count);
    SvFilter filter;
    filter.setup(5000.0, 0.5);
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / RATE;
        double f = toneHz * (1.0 + 0.5 * std::exp(-t / 0.01));
        phase = wrap(phase + f / RATE);
        double body = std::sin(TWO_PI * phase) * std::exp(-t / 0.05) * 0.6;
        double rattle = filter.low(noise()) * std::exp(-t / (seconds * 0.35));
        out[i] = static_cast<float>(body + rattle);
    }
    highpass(out, 120.0);
    fade(out, 0.0015, 0.02);
    return out;
}

std::vector<float> Synth::hat(double seconds)
{
    int count = samples(seconds);
    std::vector<float> out(count);
    SvFilter filter;
    filter.setup(7000.0, 0.9);
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / RATE;
        // Noise mixed with a cluster of detuned squares gives the metal.
        double metal = 0.0;
        const double ratios[4] = { 1.0, 1.342, 1.2312, 1.6532 };
        for (double r : ratios) {
            metal += std::sin(TWO_PI * 3100.0 * r * t) > 0 ? 0.25 : -0.25;
        }
        double v = filter.high(static_cast<float>(0.6 * noise() + 0.4 * metal));
        out[i] = static_cast<float>(v * std::exp(-t / (seconds * 0.3)));
    }
    fade(out, 0.0015, 0.01);
    return out;
}

std::vector<float> Synth::clap()
{
    int count = samples(0.25);
    std::vector<float> out(count);
    SvFilter filter;
    filter.setup(1400.0, 1.2);
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / RATE;
        // Three quick slaps then a short room tail.
        double env = 0.0;
        for (int k = 0; k < 3; ++k) {
            double start = k * 0.011;
            if (t >= start) {
                env = std::max(env, std::exp(-(t - start) / 0.006));
            }
        }
        env = std::max(env, 0.5 * std::exp(-(t - 0.033) / 0.06) * (t > 0.033 ? 1.0 : 0.0));
        out[i] = static_cast<float>(filter.band(noise()) * env * 2.5);
    }
    fade(out, 0.0015, 0.02);
    return out;
}

std::vector<float> Synth::tom(double freq, double seconds)
{
    int count = samples(seconds);
    std::vector<float> out(count);
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / RATE;
        double f = freq * (1.0 + 0.6 * std::exp(-t / 0.03));
        phase = wrap(phase + f / RATE);
        double v = std::sin(TWO_PI * phase) + 0.15 * noise() * std::exp(-t / 0.01);
        out[i] = static_cast<float>(v * std::exp(-t / (seconds * 0.35)));
    }
    fade(out, 0.0015, 0.02);
    return out;
}

std::vector<float> Synth::noiseBurst(double seconds, double lowHz, double highHz, const Envelope& env)
{
    int count = samples(seconds);
    std::vector<float> out(count);
    double held = std::max(0.0, seconds - env.release);
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / RATE;
        out[i] = static_cast<float>(noise() * envelope(env, t, held));
    }
    if (highHz > 0.0) {
        lowpass(out, highHz);
    }
    if (lowHz > 0.0) {
        highpass(out, lowHz);
    }
    fade(out, 0.0015, 0.0);
    return out;
}

void Synth::lowpass(std::vector<float>& buffer, double cutoff, double resonance)
{
    SvFilter filter;
    filter.setup(cutoff, resonance);
    for (float& v : buffer) {
        v = filter.low(v);
    }
}

void Synth::highpass(std::vector<float>& buffer, double cutoff, double resonance)
{
    SvFilter filter;
    filter.setup(cutoff, resonance);
    for (float& v : buffer) {
        v = filter.high(v);
    }
}

void Synth::bandpass(std::vector<float>& buffer, double centre, double q)
{
    SvFilter filter;
    filter.setup(centre, q);
    for (float& v : buffer) {
        v = filter.band(v);
    }
}

void Synth::normalize(std::vector<float>& buffer, float peak)
{
    float top = 0.0f;
    for (float v : buffer) {
        top = std::max(top, std::fabs(v));
    }
    if (top > 1e-9f) {
        gain(buffer, peak / top);
    }
}

void Synth::fade(std::vector<float>& buffer, double inSeconds, double outSeconds)
{
    int n = static_cast<int>(buffer.size());
    int in = std::min(n, samples(inSeconds));
    int out = std::min(n, samples(outSeconds));
    for (int i = 0; i < in; ++i) {
        buffer[i] *= static_cast<float>(i) / in;
    }
    for (int i = 0; i < out; ++i) {
        buffer[n - 1 - i] *= static_cast<float>(i) / out;
    }
}

void Synth::mix(std::vector<float>& into, const std::vector<float>& voice, double atSeconds, float level)
{
    int start = samples(atSeconds);
    if (into.size() < start + voice.size()) {
        into.resize(start + voice.size(), 0.0f);
    }
    for (size_t i = 0; i < voice.size(); ++i) {
        into[start + i] += voice[i] * level;
    }
}

void Synth::gain(std::vector<float>& buffer, float factor)
{
    for (float& v : buffer) {
        v *= factor;
    }
}
