#include "databuilder/audio/SoundEffects.h"

#include "databuilder/audio/Sequencer.h"
#include "databuilder/audio/SvFilter.h"
#include "databuilder/audio/Synth.h"

#include <cmath>
#include <functional>
#include <map>

namespace {

using Sound = std::vector<float>;

const float PEAK = 0.85f;
const double TWO_PI = 2.0 * M_PI;

// The dance floor's tempo: a bar of four beats every 2.0 seconds, the same
// bar the dancing fish counts in.
const double DANCE_BPM = 120.0;

Envelope env(double a, double d, double s, double r)
{
    Envelope e;
    e.attack = a;
    e.decay = d;
    e.sustain = s;
    e.release = r;
    return e;
}

// A voice through a vowel-like pair of resonances, for squawks and laughs.
Sound formant(const Sound& source, double f1, double f2)
{
    Sound a = source, b = source;
    Synth::bandpass(a, f1, 4.0);
    Synth::bandpass(b, f2, 5.0);
    for (size_t i = 0; i < a.size(); ++i) {
        a[i] = a[i] + 0.6f * b[i];
    }
    return a;
}

// A saw whose pitch follows a curve of (time, Hz) points.
Sound glideSaw(Synth& synth, const std::vector<std::pair<double, double>>& curve, double seconds,
    double vibratoHz = 0.0, double vibratoDepth = 0.0)
{
    int count = Synth::samples(seconds);
    Sound out(count);
    double phase = 0.0;
    size_t k = 0;
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / Synth::RATE;
        while (k + 2 < curve.size() && t > curve[k + 1].first) {
            ++k;
        }
        double t0 = curve[k].first, t1 = curve[k + 1].first;
        double x = std::clamp((t - t0) / std::max(1e-6, t1 - t0), 0.0, 1.0);
        double f = curve[k].second * std::pow(curve[k + 1].second / curve[k].second, x);
        f *= 1.0 + vibratoDepth * std::sin(TWO_PI * vibratoHz * t);
        double step = f / Synth::RATE;
        out[i] = Synth::osc(Wave::SAW, phase, step) + 0.02f * synth.noise();
        phase += step;
        phase -= std::floor(phase);
    }
    return out;
}

void shape(Sound& s, const Envelope& e)
{
    double held = std::max(0.0, static_cast<double>(s.size()) / Synth::RATE - e.release);
    for (size_t i = 0; i < s.size(); ++i) {
        s[i] *= static_cast<float>(Synth::envelope(e, static_cast<double>(i) / Synth::RATE, held));
    }
}

Sound bloop(Synth& synth, double f0, double f1, double seconds)
{
    Sound s = synth.sweep(Wave::SINE, f0, f1, seconds, env(0.004, 0.02, 0.7, seconds * 0.6));
    Sound t = synth.sweep(Wave::TRIANGLE, f0 * 2.0, f1 * 2.0, seconds, env(0.002, 0.03, 0.3, seconds * 0.5));
    Synth::mix(s, t, 0.0, 0.15f);
    return s;
}

Sound anglerSeesYou(Synth& synth)
{
    // A sinister sting: a low cluster swelling up a tritone, then a stab.
    Sound out;
    for (double f : { 110.0, 155.6, 233.1 }) {
        ToneSettings t;
        t.wave = Wave::SAW;
        t.detune = 14.0;
        t.envelope = env(0.25, 0.2, 0.8, 0.35);
        t.cutoff = 500.0;
        t.cutoffEnv = 1800.0;
        t.cutoffDecay = 0.4;
        t.glide = 3.0;
        Synth::mix(out, synth.tone(f, 0.45, t), 0.0, 0.3f);
    }
    Sound stab = synth.fm(466.2, 0.6, 3.5, 4.0, 0.15, 0.18);
    Synth::mix(out, stab, 0.28, 0.4f);
    return out;
}

Sound beat(Synth& synth)
{
    Sound k = synth.kick(0.32, 190.0, 50.0);
    Synth::mix(k, synth.clap(), 0.0, 0.25f);
    return k;
}

Sound bigSeagullHit(Synth& synth)
{
    Sound squawk = glideSaw(synth, { { 0.0, 700.0 }, { 0.08, 1100.0 }, { 0.35, 450.0 } }, 0.4, 28.0, 0.05);
    squawk = formant(squawk, 900.0, 1800.0);
    shape(squawk, env(0.01, 0.1, 0.8, 0.2));
    Sound thud = synth.kick(0.3, 220.0, 70.0);
    Synth::mix(squawk, thud, 0.0, 0.5f);
    Sound feathers = synth.noiseBurst(0.25, 2000.0, 7000.0, env(0.001, 0.05, 0.3, 0.15));
    Synth::mix(squawk, feathers, 0.02, 0.25f);
    return squawk;
}

Sound boing(Synth& synth)
{
    // A spring: the pitch leaps up and wobbles as it settles.
    double seconds = 0.5;
    int count = Synth::samples(seconds);
    Sound out(count);
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / Synth::RATE;
        double f = 180.0 + 260.0 * (1.0 - std::exp(-t / 0.05))
            + 70.0 * std::exp(-t / 0.18) * std::sin(TWO_PI * 16.0 * t);
        phase += f / Synth::RATE;
        double v = std::sin(TWO_PI * phase) + 0.3 * std::sin(2.0 * TWO_PI * phase);
        out[i] = static_cast<float>(v * std::exp(-t / 0.16) * std::min(1.0, t / 0.003));
    }
    (void)synth;
    return out;
}

Sound bubble(Synth& synth)
{
    return bloop(synth, 320.0, 950.0, 0.14);
}

Sound bubbleHit(Synth& synth)
{
    // The bubble wraps round a creature: a wobbling, watery rise.
    double seconds = 0.4;
    int count = Synth::samples(seconds);
    Sound out(count);
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / Synth::RATE;
        double f = 260.0 * std::pow(3.0, t / seconds) * (1.0 + 0.12 * std::sin(TWO_PI * 22.0 * t));
        phase += f / Synth::RATE;
        out[i]
            = static_cast<float>(std::sin(TWO_PI * phase) * std::exp(-t / 0.14) * std::min(1.0, t / 0.004));
    }
    Synth::mix(out, bloop(synth, 500.0, 1400.0, 0.09), 0.0, 0.5f);
    return out;
}

Sound cannon(Synth& synth)
{
    Sound boom = synth.kick(1.0, 120.0, 38.0);
    Sound rumble = synth.noiseBurst(1.3, 0.0, 400.0, env(0.002, 0.2, 0.4, 0.9));
    Synth::mix(boom, rumble, 0.0, 1.4f);
    Sound crack = synth.noiseBurst(0.12, 800.0, 6000.0, env(0.0005, 0.03, 0.2, 0.08));
    Synth::mix(boom, crack, 0.0, 0.7f);
    return boom;
}

// The dance cues each sit on a beat: one pitch and contour per direction so
// the player can learn them by ear.
Sound danceCue(Synth& synth, double f0, double f1, bool twoNotes)
{
    Sound out;
    if (twoNotes) {
        Synth::mix(out, synth.fm(f0, 0.14, 1.0, 2.5, 0.05, 0.06), 0.0, 0.7f);
        Synth::mix(out, synth.fm(f1, 0.22, 1.0, 2.5, 0.05, 0.08), 0.1, 0.7f);
    } else {
        Sound s = synth.sweep(Wave::SQUARE, f0, f1, 0.24, env(0.004, 0.05, 0.6, 0.1), 0.3);
        Synth::lowpass(s, 3000.0);
        Synth::mix(out, s, 0.0, 0.6f);
        Synth::mix(out, synth.fm(f1, 0.25, 2.0, 1.5, 0.05, 0.08), 0.12, 0.4f);
    }
    return out;
}

// One bar of the dance floor's groove. The game restarts it on every bar,
// so the bar is exactly 2.0 seconds and its tails wrap into its own start.
Sound danceSong(Synth& synth, int variant)
{
    Sequencer seq(DANCE_BPM, 4, 1, true);
    Instrument bass = [&synth](double f, double held) {
        ToneSettings t;
        t.wave = Wave::SAW;
        t.envelope = env(0.003, 0.12, 0.5, 0.05);
        t.cutoff = 300.0;
        t.cutoffEnv = 1500.0;
        t.cutoffDecay = 0.07;
        t.resonance = 2.0;
        return synth.tone(f, held, t);
    };
    Instrument keys = [&synth](double f, double) { return synth.fm(f, 0.35, 1.0, 1.8, 0.08, 0.15); };
    Instrument lead = [&synth](double f, double held) {
        ToneSettings t;
        t.wave = Wave::SQUARE;
        t.duty = 0.25;
        t.envelope = env(0.005, 0.08, 0.5, 0.06);
        t.cutoff = 2600.0;
        return synth.tone(f, held, t);
    };
    Sound hat = synth.hat(0.05);
    Sound openHat = synth.hat(0.2);
    Sound snare = synth.snare(0.2);
    // Every variant keeps the four-on-the-floor pulse of "beat" in mind and
    // adds its own bass figure and hook on top.
    switch (variant) {
    case 0:
        seq.drums(hat, "-x-x-x-x-x-x-x-x", 0, 0.25, 0.25f, 0.3f);
        seq.line(bass, "a2 - a2 a3 - a2 - a2 a2 - a3 - g2 - g2 a2", 0, 0.25, 0.5f, 0.0f);
        seq.line(keys, "- - a4 - - - c5 - - - e5 - - - c5 -", 0, 0.25, 0.35f, -0.3f);
        break;
    case 1:
        seq.drums(hat, "xxxxxxxxxxxxxxxx", 0, 0.25, 0.18f, 0.3f);
        seq.drums(snare, "----x-------x---", 0, 0.25, 0.35f, 0.0f);
        seq.line(bass, "a2 a2 a3 a2 c3 c3 c4 c3 d3 d3 d4 d3 e3 e3 e4 g3", 0, 0.25, 0.45f, 0.0f);
        seq.line(lead, "e5 . - e5 - g5 - e5 d5 . - c5 - d5 - -", 0, 0.25, 0.25f, 0.3f);
        break;
    default:
        seq.drums(openHat, "--x---x---x---x-", 0, 0.25, 0.22f, 0.3f);
        seq.drums(hat, "x-x-x-x-x-x-x-x-", 0, 0.25, 0.15f, -0.3f);
        seq.drums(snare, "----x--o----x-xo", 0, 0.25, 0.35f, 0.0f);
        seq.line(bass, "f2 - f3 f2 - f2 f3 - g2 - g3 g2 - g2 e3 g3", 0, 0.25, 0.5f, 0.0f);
        seq.line(keys, "a4 c5 f5 - a4 c5 f5 - b4 d5 g5 - b4 d5 g5 -", 0, 0.25, 0.28f, -0.3f);
        seq.line(lead, "- - - - a5 . g5 . - - - - b5 . c6 .", 0, 0.25, 0.2f, 0.3f);
        break;
    }
    seq.reverb(0.15f, 0.4f, 0.4f);
    auto stereo = seq.finish(PEAK);
    Sound mono(stereo[0].size());
    for (size_t i = 0; i < mono.size(); ++i) {
        mono[i] = 0.5f * (stereo[0][i] + stereo[1][i]);
    }
    return mono;
}

Sound eelCharge(Synth& synth)
{
    // Electricity building up: a buzzing, rising hum with crackles.
    double seconds = 1.5;
    int count = Synth::samples(seconds);
    Sound out(count);
    double phase = 0.0, buzz = 0.0;
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / Synth::RATE;
        double f = 90.0 * std::pow(4.0, t / seconds);
        phase += f / Synth::RATE;
        buzz += 50.0 / Synth::RATE;
        double v
            = Synth::osc(Wave::SQUARE, phase, f / Synth::RATE, 0.2) * (0.6 + 0.4 * std::sin(TWO_PI * buzz));
        double crackle = synth.uniform() < 0.004 ? synth.noise() * 3.0 : 0.0;
        out[i] = static_cast<float>(0.5 * v + crackle);
    }
    Synth::lowpass(out, 3500.0);
    shape(out, env(0.3, 0.5, 0.9, 0.3));
    return out;
}

Sound levDie(Synth& synth)
{
    // The leviathan's last roar sinking into a rumble.
    Sound roar = glideSaw(synth, { { 0.0, 140.0 }, { 0.3, 160.0 }, { 2.0, 40.0 } }, 2.2, 7.0, 0.06);
    roar = formant(roar, 500.0, 1000.0);
    shape(roar, env(0.05, 0.3, 0.8, 1.0));
    Sound rumble = synth.noiseBurst(2.4, 0.0, 250.0, env(0.2, 0.5, 0.7, 1.2));
    Synth::mix(roar, rumble, 0.0, 1.2f);
    Synth::mix(roar, synth.kick(1.0, 90.0, 30.0), 0.1, 0.6f);
    return roar;
}

Sound levelComplete(Synth& synth)
{
    Sequencer seq(150.0, 4, 1, false, 1.2);
    Instrument brass = [&synth](double f, double held) {
        ToneSettings t;
        t.wave = Wave::SAW;
        t.detune = 8.0;
        t.envelope = env(0.03, 0.1, 0.8, 0.25);
        t.cutoff = 900.0;
        t.cutoffEnv = 2500.0;
        t.cutoffDecay = 0.15;
        t.vibratoHz = 5.5;
        t.vibratoCents = 10.0;
        return synth.tone(f, held, t);
    };
    Instrument bell = [&synth](double f, double) { return synth.fm(f, 1.2, 3.5, 2.0, 0.2, 0.4); };
    seq.line(brass, "c5 e5 g5 c6 . . . .", 0, 0.5, 0.5f, 0.0f);
    seq.line(brass, "- - - e5 . . . .", 0, 0.5, 0.3f, -0.4f);
    seq.line(brass, "- - - g4 . . . .", 0, 0.5, 0.3f, 0.4f);
    seq.line(bell, "c6 e6 g6 c7 - - - -", 0, 0.5, 0.15f, 0.2f);
    seq.place(synth.kick(0.5, 150.0, 50.0), 1.5, 0.5f, 0.0f);
    seq.reverb(0.25f, 0.6f, 0.4f);
    auto stereo = seq.finish(PEAK);
    Sound mono(stereo[0].size());
    for (size_t i = 0; i < mono.size(); ++i) {
        mono[i] = 0.5f * (stereo[0][i] + stereo[1][i]);
    }
    Synth::fade(mono, 0.0, 0.2);
    return mono;
}

Sound levLaser(Synth& synth)
{
    Sound zap = synth.sweep(Wave::SQUARE, 2200.0, 180.0, 0.45, env(0.002, 0.1, 0.6, 0.2), 0.35);
    Sound ring = synth.sweep(Wave::SINE, 1600.0, 300.0, 0.45, env(0.002, 0.1, 0.5, 0.2));
    Synth::mix(zap, ring, 0.0, 0.6f);
    Synth::lowpass(zap, 5000.0);
    return zap;
}

Sound levOw(Synth& synth)
{
    Sound groan = glideSaw(synth, { { 0.0, 120.0 }, { 0.15, 150.0 }, { 0.7, 70.0 } }, 0.8, 9.0, 0.05);
    groan = formant(groan, 600.0, 1100.0);
    shape(groan, env(0.03, 0.2, 0.8, 0.35));
    Synth::mix(groan, synth.kick(0.4, 120.0, 50.0), 0.0, 0.4f);
    return groan;
}

Sound ow(Synth& synth)
{
    // The player's fish is hit: a bonk and a sad little falling "uh-oh".
    Sound out;
    Sound bonk = synth.tom(300.0, 0.15);
    Synth::mix(out, bonk, 0.0, 0.6f);
    ToneSettings t;
    t.wave = Wave::SQUARE;
    t.duty = 0.4;
    t.envelope = env(0.005, 0.05, 0.7, 0.08);
    t.cutoff = 1800.0;
    t.vibratoHz = 9.0;
    t.vibratoCents = 40.0;
    Synth::mix(out, synth.tone(622.0, 0.12, t), 0.03, 0.35f);
    Sound down = synth.sweep(Wave::SQUARE, 466.0, 220.0, 0.45, env(0.005, 0.1, 0.7, 0.2), 0.4);
    Synth::lowpass(down, 1800.0);
    Synth::mix(out, down, 0.18, 0.35f);
    return out;
}

Sound pop(Synth& synth)
{
    Sound click = synth.noiseBurst(0.02, 1500.0, 9000.0, env(0.0003, 0.005, 0.2, 0.012));
    Sound blip = synth.sweep(Wave::SINE, 1800.0, 700.0, 0.07, env(0.001, 0.02, 0.4, 0.04));
    Synth::mix(click, blip, 0.0, 0.7f);
    return click;
}

Sound refill(Synth& synth)
{
    // A quick rising run of bubbles topping the fish back up.
    Sound out;
    const double NOTES[6] = { 72, 76, 79, 84, 88, 91 };
    for (int i = 0; i < 6; ++i) {
        double f = Synth::midiFreq(NOTES[i]);
        Synth::mix(out, bloop(synth, f * 0.6, f, 0.12), i * 0.07, 0.5f + 0.05f * i);
    }
    Synth::mix(out, synth.fm(Synth::midiFreq(96), 0.4, 3.0, 1.2, 0.1, 0.15), 0.4, 0.25f);
    return out;
}

Sound seagull(Synth& synth)
{
    // "Kee-ow": a bright cry that arcs up and falls away.
    Sound cry = glideSaw(
        synth, { { 0.0, 900.0 }, { 0.1, 1500.0 }, { 0.25, 1300.0 }, { 0.55, 700.0 } }, 0.6, 30.0, 0.03);
    cry = formant(cry, 1400.0, 2600.0);
    shape(cry, env(0.02, 0.15, 0.8, 0.25));
    return cry;
}

Sound chomp(Synth& synth, double at)
{
    Sound out;
    Sound crunch = synth.noiseBurst(0.12, 200.0, 2500.0, env(0.001, 0.03, 0.4, 0.07));
    Sound thump = synth.kick(0.18, 200.0, 80.0);
    Synth::mix(out, crunch, at, 0.9f);
    Synth::mix(out, thump, at, 0.6f);
    return out;
}

Sound sharkBite(Synth& synth)
{
    Sound out = chomp(synth, 0.0);
    Synth::mix(out, chomp(synth, 0.16), 0.0, 0.8f);
    Sound snap = synth.noiseBurst(0.03, 3000.0, 0.0, env(0.0005, 0.01, 0.3, 0.015));
    Synth::mix(out, snap, 0.0, 0.6f);
    Synth::mix(out, snap, 0.16, 0.5f);
    return out;
}

Sound sharkGulp(Synth& synth)
{
    Sound gulp = synth.sweep(Wave::SINE, 300.0, 70.0, 0.5, env(0.01, 0.1, 0.8, 0.2));
    Sound gurgle;
    for (int i = 0; i < 4; ++i) {
        Synth::mix(gurgle, bloop(synth, 150.0 + 40.0 * i, 260.0 + 50.0 * i, 0.08), 0.12 + 0.07 * i, 0.35f);
    }
    Synth::mix(gulp, gurgle, 0.0, 1.0f);
    return gulp;
}

Sound squidShoot(Synth& synth)
{
    // A squirt of ink: a wet hiss sweeping down with a soft thump.
    double seconds = 0.35;
    int count = Synth::samples(seconds);
    Sound out(count);
    SvFilter filter;
    for (int i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / Synth::RATE;
        if ((i & 15) == 0) {
            filter.setup(3000.0 * std::pow(0.15, t / seconds), 3.0);
        }
        out[i] = filter.band(synth.noise()) * static_cast<float>(std::exp(-t / 0.12));
    }
    Synth::normalize(out, 0.8f);
    Synth::mix(out, synth.sweep(Wave::SINE, 400.0, 120.0, 0.15, env(0.002, 0.05, 0.5, 0.08)), 0.0, 0.6f);
    return out;
}

Sound swordClash(Synth& synth, double base)
{
    // Blade on blade: inharmonic ringing partials over a sharp scrape.
    Sound out;
    const double RATIOS[4] = { 1.0, 2.76, 5.40, 8.93 };
    for (int i = 0; i < 4; ++i) {
        Synth::mix(out, synth.fm(base * RATIOS[i], 0.7, 1.41, 1.2, 0.05, 0.25 / (1 + 0.5 * i)), 0.0,
            0.4f / (1 + i * 0.4f));
    }
    Sound scrape = synth.noiseBurst(0.15, 3000.0, 12000.0, env(0.0005, 0.03, 0.3, 0.1));
    Synth::mix(out, scrape, 0.0, 0.5f);
    return out;
}

Sound swordfishHit(Synth& synth)
{
    Sound out = synth.tom(180.0, 0.25);
    Sound smack = synth.noiseBurst(0.06, 600.0, 5000.0, env(0.0005, 0.02, 0.3, 0.03));
    Synth::mix(out, smack, 0.0, 0.7f);
    Sound grunt = glideSaw(synth, { { 0.0, 260.0 }, { 0.3, 170.0 } }, 0.3);
    grunt = formant(grunt, 650.0, 1100.0);
    shape(grunt, env(0.01, 0.1, 0.7, 0.12));
    Synth::mix(out, grunt, 0.05, 0.9f);
    return out;
}

Sound swordfishLaugh(Synth& synth)
{
    // "Ha-ha-ha-haa": vowel pulses stepping down, the last one held.
    Sound out;
    const double PITCHES[4] = { 330.0, 300.0, 270.0, 250.0 };
    for (int i = 0; i < 4; ++i) {
        double length = i == 3 ? 0.32 : 0.13;
        Sound ha = glideSaw(
            synth, { { 0.0, PITCHES[i] * 1.08 }, { length, PITCHES[i] * 0.92 } }, length, 6.0, 0.02);
        ha = formant(ha, 750.0, 1250.0);
        Sound breath = synth.noiseBurst(0.03, 1000.0, 4000.0, env(0.005, 0.01, 0.5, 0.015));
        Synth::mix(ha, breath, 0.0, 0.3f);
        shape(ha, env(0.015, 0.05, 0.8, length * 0.5));
        Synth::mix(out, ha, 0.04 + i * 0.17, 1.0f);
    }
    return out;
}

Sound swordfishLose(Synth& synth)
{
    // A deflating trombone: "wah wah wah waaah".
    Sound out;
    const double NOTES[4] = { 58, 57, 56, 55 };
    for (int i = 0; i < 4; ++i) {
        double length = i == 3 ? 0.8 : 0.28;
        ToneSettings t;
        t.wave = Wave::SAW;
        t.envelope = env(0.04, 0.1, 0.8, 0.12);
        t.cutoff = 500.0;
        t.cutoffEnv = 1400.0;
        t.cutoffDecay = 0.1;
        t.resonance = 1.5;
        t.vibratoHz = i == 3 ? 6.0 : 0.0;
        t.vibratoCents = i == 3 ? 35.0 : 0.0;
        Synth::mix(out, synth.tone(Synth::midiFreq(NOTES[i]), length, t), i * 0.32, 0.7f);
    }
    return out;
}

Sound treasure(Synth& synth)
{
    // A sparkle: a quick bright arpeggio of bells with a glitter on top.
    Sound out;
    const double NOTES[4] = { 88, 92, 95, 100 };
    for (int i = 0; i < 4; ++i) {
        Synth::mix(out, synth.fm(Synth::midiFreq(NOTES[i]), 0.5, 3.0, 1.5, 0.06, 0.15), i * 0.045, 0.4f);
    }
    Sound glitter = synth.noiseBurst(0.35, 6000.0, 0.0, env(0.01, 0.05, 0.5, 0.25));
    for (size_t i = 0; i < glitter.size(); ++i) {
        glitter[i] *= static_cast<float>(0.5 + 0.5 * std::sin(TWO_PI * 30.0 * i / Synth::RATE));
    }
    Synth::mix(out, glitter, 0.05, 0.12f);
    return out;
}

const std::map<std::string, std::function<Sound(Synth&)>>& effects()
{
    static const std::map<std::string, std::function<Sound(Synth&)>> table = {
        { "anglerseesyou", anglerSeesYou },
        { "beat", beat },
        { "bigseagull-hit", bigSeagullHit },
        { "boing", boing },
        { "bubble", bubble },
        { "bubblehit", bubbleHit },
        { "cannon", cannon },
        { "dancedown", [](Synth& s) { return danceCue(s, 880.0, 440.0, false); } },
        { "danceleft", [](Synth& s) { return danceCue(s, 440.0, 440.0, true); } },
        { "danceright", [](Synth& s) { return danceCue(s, 659.3, 659.3, true); } },
        { "dancesong", [](Synth& s) { return danceSong(s, 0); } },
        { "dancesong2", [](Synth& s) { return danceSong(s, 1); } },
        { "dancesong3", [](Synth& s) { return danceSong(s, 2); } },
        { "danceup", [](Synth& s) { return danceCue(s, 440.0, 880.0, false); } },
        { "eelcharge", eelCharge },
        { "levdie", levDie },
        { "levelcomplete", levelComplete },
        { "levlaser", levLaser },
        { "levow", levOw },
        { "ow", ow },
        { "pop", pop },
        { "refill", refill },
        { "seagull", seagull },
        { "sharkbite", sharkBite },
        { "sharkgulp", sharkGulp },
        { "squidshoot", squidShoot },
        { "swordclash", [](Synth& s) { return swordClash(s, 1250.0); } },
        { "swordclash2", [](Synth& s) { return swordClash(s, 1580.0); } },
        { "swordfish_hit", swordfishHit },
        { "swordfish_laugh", swordfishLaugh },
        { "swordfish_lose", swordfishLose },
        { "treasure", treasure },
    };
    return table;
}

// Sounds heard over and over (menu moves, coins, bubbles) sit below the big
// events, and the dance songs leave room for the "beat" played on top.
float levelOf(const std::string& name)
{
    static const std::map<std::string, float> SOFTER = {
        { "bubble", 0.6f },
        { "bubblehit", 0.8f },
        { "pop", 0.85f },
        { "treasure", 0.75f },
        { "refill", 0.8f },
        { "dancesong", 0.75f },
        { "dancesong2", 0.75f },
        { "dancesong3", 0.75f },
        { "beat", 0.85f },
        { "sharkgulp", 0.8f },
    };
    auto found = SOFTER.find(name);
    return found == SOFTER.end() ? 1.0f : found->second;
}

uint32_t seedOf(const std::string& name)
{
    uint32_t hash = 2166136261u; // FNV-1a: every effect gets its own noise
    for (unsigned char c : name) {
        hash = (hash ^ c) * 16777619u;
    }
    return hash;
}

} // namespace

const std::vector<std::string>& SoundEffects::names()
{
    static const std::vector<std::string> list = [] {
        std::vector<std::string> all;
        for (const auto& entry : effects()) {
            all.push_back(entry.first);
        }
        return all;
    }();
    return list;
}

bool SoundEffects::loops(const std::string& name)
{
    return name.rfind("dancesong", 0) == 0;
}

std::vector<float> SoundEffects::render(const std::string& name)
{
    auto found = effects().find(name);
    if (found == effects().end()) {
        return {};
    }
    Synth synth(seedOf(name));
    Sound sound = found->second(synth);
    if (!loops(name)) {
        // A one-shot starts and ends at silence: no click on either side.
        Synth::highpass(sound, 25.0);
        Synth::normalize(sound, PEAK);
        Synth::fade(sound, 0.001, 0.01);
    }
    Synth::gain(sound, levelOf(name));
    return sound;
}
