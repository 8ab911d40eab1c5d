#include "databuilder/audio/MusicTracks.h"

#include "databuilder/audio/Sequencer.h"
#include "databuilder/audio/Synth.h"

#include <cmath>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <map>
#include <sstream>

namespace {

using Stereo = std::vector<std::vector<float>>;
using Sound = std::vector<float>;

const float PEAK = 0.84f;

Envelope env(double a, double d, double s, double r)
{
    Envelope e;
    e.attack = a;
    e.decay = d;
    e.sustain = s;
    e.release = r;
    return e;
}

std::vector<std::string> words(const std::string& text)
{
    std::istringstream in(text);
    std::vector<std::string> out;
    std::string word;
    while (in >> word) {
        if (word != "|") {
            out.push_back(word);
        }
    }
    return out;
}

// ---- Instruments -----------------------------------------------------------

Instrument softBass(Synth& synth)
{
    return [&synth](double f, double held) {
        ToneSettings t;
        t.wave = Wave::TRIANGLE;
        t.envelope = env(0.02, 0.3, 0.7, 0.15);
        t.cutoff = 600.0;
        Sound s = synth.tone(f, held, t);
        ToneSettings sub;
        sub.envelope = t.envelope;
        Synth::mix(s, synth.tone(f, held, sub), 0.0, 0.8f);
        return s;
    };
}

Instrument synthBass(Synth& synth, double cutoff, double sweep)
{
    return [&synth, cutoff, sweep](double f, double held) {
        ToneSettings t;
        t.wave = Wave::SAW;
        t.envelope = env(0.004, 0.15, 0.6, 0.06);
        t.cutoff = cutoff;
        t.cutoffEnv = sweep;
        t.cutoffDecay = 0.08;
        t.resonance = 1.4;
        Sound s = synth.tone(f, held, t);
        ToneSettings sub;
        sub.envelope = t.envelope;
        Synth::mix(s, synth.tone(f, held, sub), 0.0, 0.6f);
        return s;
    };
}

Instrument pluck(Synth& synth, double brightness, double ring)
{
    return [&synth, brightness, ring](double f, double held) {
        Sound s = synth.pluck(f, held + ring, brightness, 0.997);
        return s;
    };
}

Instrument bell(Synth& synth, double ratio, double index, double decay)
{
    return [&synth, ratio, index, decay](
               double f, double) { return synth.fm(f, decay * 4.0, ratio, index, decay * 0.4, decay); };
}

Instrument padVoice(Synth& synth, double brightness)
{
    return [&synth, brightness](double f, double held) { return synth.pad(f, held, brightness); };
}

Instrument lead(Synth& synth, Wave wave, double cutoff, double vibratoCents, double attack = 0.01)
{
    return [&synth, wave, cutoff, vibratoCents, attack](double f, double held) {
        ToneSettings t;
        t.wave = wave;
        t.duty = 0.35;
        t.envelope = env(attack, 0.15, 0.75, 0.12);
        t.cutoff = cutoff;
        t.cutoffEnv = cutoff;
        t.cutoffDecay = 0.15;
        t.vibratoHz = 5.2;
        t.vibratoCents = vibratoCents;
        t.detune = 5.0;
        return synth.tone(f, held, t);
    };
}

Instrument flute(Synth& synth)
{
    return [&synth](double f, double held) {
        ToneSettings t;
        t.wave = Wave::TRIANGLE;
        t.envelope = env(0.06, 0.2, 0.8, 0.25);
        t.vibratoHz = 4.8;
        t.vibratoCents = 14.0;
        Sound s = synth.tone(f, held, t);
        // A breath of air on top.
        Sound air = synth.noiseBurst(held + 0.25, 1500.0, 5000.0, env(0.05, 0.2, 0.3, 0.25));
        Synth::mix(s, air, 0.0, 0.08f);
        return s;
    };
}

Instrument brass(Synth& synth)
{
    return [&synth](double f, double held) {
        ToneSettings t;
        t.wave = Wave::SAW;
        t.detune = 7.0;
        t.envelope = env(0.04, 0.2, 0.75, 0.15);
        t.cutoff = 700.0 + f;
        t.cutoffEnv = 2200.0;
        t.cutoffDecay = 0.18;
        t.vibratoHz = 5.5;
        t.vibratoCents = 9.0;
        t.glide = 0.4;
        return synth.tone(f, held, t);
    };
}

Instrument strings(Synth& synth, double release)
{
    return [&synth, release](double f, double held) {
        ToneSettings t;
        t.wave = Wave::SAW;
        t.detune = 9.0;
        t.envelope = env(0.01, 0.08, 0.6, release);
        t.cutoff = 1800.0;
        t.cutoffEnv = 1500.0;
        t.cutoffDecay = 0.05;
        return synth.tone(f, held, t);
    };
}

Instrument piano(Synth& synth)
{
    return [&synth](double f, double held) {
        // Two strings a shade apart: the honky-tonk shimmer of an old upright.
        double length = held + 0.35;
        Sound s = synth.piano(f, length);
        Synth::mix(s, synth.piano(f * 1.0035, length), 0.0, 0.6f);
        return s;
    };
}

Instrument organ(Synth& synth)
{
    return [&synth](double f, double held) {
        int count = Synth::samples(held + 0.08);
        Sound s(count);
        const double DRAWBARS[4] = { 1.0, 0.6, 0.35, 0.25 };
        const double RATIOS[4] = { 1.0, 2.0, 3.0, 4.0 };
        Envelope e = env(0.01, 0.05, 1.0, 0.08);
        for (int i = 0; i < count; ++i) {
            double t = static_cast<double>(i) / Synth::RATE;
            double v = 0.0;
            for (int k = 0; k < 4; ++k) {
                v += DRAWBARS[k]
                    * std::sin(
                        2.0 * M_PI * f * RATIOS[k] * t * (1.0 + 0.002 * std::sin(2.0 * M_PI * 6.0 * t)));
            }
            s[i] = static_cast<float>(0.35 * v * Synth::envelope(e, t, held));
        }
        (void)synth;
        return s;
    };
}

Instrument accordion(Synth& synth)
{
    return [&synth](double f, double held) {
        ToneSettings t;
        t.wave = Wave::SQUARE;
        t.duty = 0.3;
        t.detune = 14.0; // the musette reeds, a touch apart
        t.envelope = env(0.03, 0.1, 0.85, 0.08);
        t.cutoff = 2200.0;
        t.vibratoHz = 5.0;
        t.vibratoCents = 4.0;
        return synth.tone(f, held, t);
    };
}

Sound crash(Synth& synth)
{
    Sound s = synth.noiseBurst(1.6, 4000.0, 0.0, env(0.001, 0.1, 0.5, 1.4));
    Synth::mix(s, synth.hat(0.6), 0.0, 0.5f);
    return s;
}

// ---- Arranging helpers -------------------------------------------------------

int degreeOffset(const std::string& token, const std::vector<int>& notes)
{
    static const std::map<std::string, int> DEGREES = {
        { "1", 0 },
        { "b2", 1 },
        { "2", 2 },
        { "b3", 3 },
        { "4", 5 },
        { "#4", 6 },
        { "5", 7 },
        { "b6", 8 },
        { "6", 9 },
        { "b7", 10 },
        { "7", 11 },
        { "8", 12 },
    };
    if (token == "3") {
        // The chord's own third, major or minor.
        return notes.size() > 1 ? notes[1] - notes[0] : 4;
    }
    auto found = DEGREES.find(token);
    return found == DEGREES.end() ? -100 : found->second;
}

// A bass line written as scale degrees over each chord ("1 . 5 8"), the
// pattern repeating for as long as each chord lasts.
void bassLine(Sequencer& seq, const Instrument& inst, const std::string& chords, double beatsPerChord,
    const std::string& pattern, double stepBeats, int base, float gain)
{
    std::vector<std::string> symbols = words(chords);
    std::vector<std::string> tokens = words(pattern);
    int stepsPerChord = static_cast<int>(std::lround(beatsPerChord / stepBeats));
    for (size_t c = 0; c < symbols.size(); ++c) {
        std::vector<int> notes = Sequencer::chord(symbols[c], base);
        double chordStart = c * beatsPerChord;
        int k = 0;
        while (k < stepsPerChord) {
            const std::string& token = tokens[k % tokens.size()];
            int offset = degreeOffset(token, notes);
            int held = 1;
            while (k + held < stepsPerChord && tokens[(k + held) % tokens.size()] == ".") {
                ++held;
            }
            if (offset > -100 && !notes.empty()) {
                double begin = seq.stepBeat(k, stepBeats);
                double end = seq.stepBeat(k + held, stepBeats);
                seq.note(inst, notes[0] + offset, chordStart + begin, end - begin, gain, 0.0f);
            }
            k += held;
        }
    }
}

// Chord tones picked in a repeating order; an index past the chord's size
// climbs an octave.
void arpeggio(Sequencer& seq, const Instrument& inst, const std::string& chords, double beatsPerChord,
    double stepBeats, const std::vector<int>& order, int base, double noteBeats, float gain, float pan)
{
    std::vector<std::string> symbols = words(chords);
    int steps = static_cast<int>(std::lround(beatsPerChord / stepBeats));
    for (size_t c = 0; c < symbols.size(); ++c) {
        std::vector<int> notes = Sequencer::chord(symbols[c], base);
        if (notes.empty()) {
            continue;
        }
        int size = static_cast<int>(notes.size());
        for (int k = 0; k < steps; ++k) {
            int index = order[k % order.size()];
            if (index < 0) {
                continue;
            }
            int midi = notes[index % size] + 12 * (index / size);
            seq.note(inst, midi, c * beatsPerChord + seq.stepBeat(k, stepBeats), noteBeats, gain, pan);
        }
    }
}

// Whole chords struck on the "x" steps of a rhythm, held for noteBeats.
void chordHits(Sequencer& seq, const Instrument& inst, const std::string& chords, double beatsPerChord,
    const std::string& rhythm, double stepBeats, int base, double noteBeats, float gain)
{
    std::vector<std::string> symbols = words(chords);
    std::string hits;
    for (char ch : rhythm) {
        if (ch != ' ' && ch != '|') {
            hits += ch;
        }
    }
    int steps = static_cast<int>(std::lround(beatsPerChord / stepBeats));
    for (size_t c = 0; c < symbols.size(); ++c) {
        std::vector<int> notes = Sequencer::chord(symbols[c], base);
        for (int k = 0; k < steps; ++k) {
            char hit = hits[k % hits.size()];
            if (hit != 'x' && hit != 'o') {
                continue;
            }
            float level = hit == 'x' ? gain : gain * 0.5f;
            for (size_t n = 0; n < notes.size(); ++n) {
                float pan = notes.size() > 1 ? -0.5f + static_cast<float>(n) / (notes.size() - 1) : 0.0f;
                seq.note(
                    inst, notes[n], c * beatsPerChord + seq.stepBeat(k, stepBeats), noteBeats, level, pan);
            }
        }
    }
}

void padChords(Sequencer& seq, const Instrument& inst, const std::string& chords, double beatsPerChord,
    int base, float gain)
{
    chordHits(seq, inst, chords, beatsPerChord, "x", beatsPerChord, base, beatsPerChord, gain);
}

// The same drum bar over a range of bars.
void drumBars(Sequencer& seq, const Sound& hit, const std::string& pattern, double stepBeats, int fromBar,
    int toBar, float gain, float pan)
{
    for (int bar = fromBar; bar < toBar; ++bar) {
        seq.drums(hit, pattern, bar * seq.beatsPerBar(), stepBeats, gain, pan);
    }
}

// A snare run closing a phrase, so the ear hears the eight bars end and the
// loop begin again.
void fills(Sequencer& seq, const Sound& snare, const std::string& pattern, std::initializer_list<int> bars,
    float gain)
{
    for (int bar : bars) {
        seq.drums(snare, pattern, bar * seq.beatsPerBar(), 0.25, gain, -0.1f);
    }
}

// A melody written bar by bar; a bar of the wrong length is reported, since
// it would push every later note off the beat.
void melody(Sequencer& seq, const Instrument& inst, const std::vector<std::string>& bars, double startBeat,
    double stepBeats, float gain, float pan, const char* track, int transpose = 0)
{
    int stepsPerBar = static_cast<int>(std::lround(seq.beatsPerBar() / stepBeats));
    std::string joined;
    for (size_t b = 0; b < bars.size(); ++b) {
        int steps = static_cast<int>(words(bars[b]).size());
        if (steps != stepsPerBar) {
            std::fprintf(
                stderr, "music %s: bar %zu has %d steps, not %d\n", track, b + 1, steps, stepsPerBar);
        }
        joined += bars[b] + " ";
    }
    seq.line(inst, joined, startBeat, stepBeats, gain, pan, transpose);
}

void bubbles(Sequencer& seq, Synth& synth, int count, float gain)
{
    for (int i = 0; i < count; ++i) {
        double f = 500.0 + synth.uniform() * 900.0;
        Sound b = synth.sweep(Wave::SINE, f, f * 2.2, 0.09, env(0.003, 0.02, 0.6, 0.05));
        seq.place(b, synth.uniform() * seq.totalBeats(),
            gain * static_cast<float>(0.5 + synth.uniform() * 0.5),
            static_cast<float>(synth.uniform() * 1.6 - 0.8));
    }
}

// ---- The tracks --------------------------------------------------------------

Stereo underwater(Synth& synth)
{
    // Calm and dreamy: slow open chords, a glassy arpeggio and drifting bubbles.
    Sequencer seq(72.0, 4, 12, true);
    const std::string CHORDS = "Fmaj7 Em7 Dm7 Cmaj7 Fmaj7 Em7 Am7 Gsus4 Fmaj7 Em7 Dm7 Gsus4";
    Instrument pad = padVoice(synth, 900.0);
    Instrument glass = bell(synth, 3.0, 1.1, 0.6);
    Instrument bass = softBass(synth);
    Instrument song = flute(synth);
    padChords(seq, pad, CHORDS, 4, 53, 0.09f);
    arpeggio(seq, glass, CHORDS, 4, 0.5, { 0, 2, 1, 3, 2, 4, 3, 1 }, 60, 0.5, 0.11f, 0.35f);
    bassLine(seq, bass, CHORDS, 4, "1 . . . . . 5 .", 0.5, 36, 0.32f);
    melody(seq, song,
        { "- - - - - - - -", "- - - - - - - -", "- - - - - - - -", "- - - - - - g4 a4", "c5 . . . e5 . a4 .",
            "g4 . . . . . e4 g4", "c5 . b4 . c5 . e5 .", "d5 . . . . . - -", "e5 . . . g5 . e5 .",
            "d5 . . . b4 . g4 .", "a4 . . . f4 . a4 c5", "d5 . . . . . . ." },
        0, 0.5, 0.22f, -0.15f, "underwater");
    drumBars(seq, synth.hat(0.04), "-o-o-o-o", 0.5, 4, 12, 0.05f, 0.5f);
    bubbles(seq, synth, 24, 0.08f);
    seq.echo(0.75, 0.35f, 0.22f, 0.3f);
    seq.reverb(0.4f, 0.85f, 0.3f);
    return seq.finish(PEAK);
}

Stereo title(Synth& synth)
{
    // Bright and inviting: the game's main theme over a bouncing groove.
    Sequencer seq(112.0, 4, 16, true);
    const std::string CHORDS = "C G Am F C G F G Am F C G Am F Dm G";
    Instrument theme = lead(synth, Wave::SQUARE, 2600.0, 14.0);
    Instrument arp = pluck(synth, 0.6, 0.3);
    Instrument bass = synthBass(synth, 400.0, 1200.0);
    Instrument pad = padVoice(synth, 1200.0);
    Instrument sparkle = bell(synth, 3.5, 1.5, 0.35);
    melody(seq, theme,
        { "e5 . g5 . c6 . b5 a5", "g5 . . . d5 . - -", "c5 . e5 . a5 . g5 e5", "f5 . . . - - c5 d5",
            "e5 . g5 . c6 . d6 e6", "d6 . b5 . g5 . - g5", "a5 . c6 . f5 . a5 g5", "g5 . . . . . - -",
            "a5 . . b5 c6 . a5 .", "f5 . a5 . c6 . . -", "g5 . e5 . c5 . e5 g5", "b5 . . . d6 . . -",
            "c6 . b5 a5 e5 . a5 .", "a5 . g5 f5 c5 . f5 .", "f5 . e5 d5 a4 . d5 f5", "g5 . . . b5 . d6 ." },
        0, 0.5, 0.2f, 0.1f, "title");
    arpeggio(seq, arp, CHORDS, 4, 0.25, { 0, 1, 2, 3, 2, 1, 0, 1 }, 60, 0.25, 0.24f, -0.35f);
    bassLine(seq, bass, CHORDS, 4, "1 . 1 8 - 1 5 8", 0.5, 36, 0.24f);
    padChords(seq, pad, CHORDS, 4, 55, 0.05f);
    arpeggio(seq, sparkle, CHORDS, 4, 2.0, { 4, 5 }, 72, 0.5, 0.06f, 0.5f);
    drumBars(seq, synth.kick(), "x---x---x---x-o-", 0.25, 0, 16, 0.5f, 0.0f);
    Sound snare = synth.snare();
    drumBars(seq, snare, "----x-------x---", 0.25, 0, 16, 0.3f, 0.05f);
    fills(seq, snare, "----------o--oxx", { 7, 15 }, 0.28f);
    drumBars(seq, synth.hat(), "x-x-x-x-x-x-x-xo", 0.25, 0, 16, 0.14f, 0.3f);
    seq.place(crash(synth), 0, 0.2f, -0.3f);
    seq.place(crash(synth), 32, 0.15f, -0.3f);
    seq.echo(0.75, 0.25f, 0.12f, 0.3f);
    seq.reverb(0.22f, 0.6f, 0.4f);
    return seq.finish(PEAK);
}

Stereo kvl(Synth& synth)
{
    // The logo jingle: a rising run of bells that blooms into one bright chord.
    Sequencer seq(120.0, 4, 2, false, 0.7);
    Instrument chime = bell(synth, 3.5, 1.6, 0.4);
    Instrument glow = bell(synth, 1.0, 1.2, 1.0);
    Instrument pad = padVoice(synth, 1800.0);
    seq.line(chime, "g4 c5 e5 g5 c6 e6 g6 c7", 0, 0.25, 0.3f, 0.0f);
    for (int midi : { 48, 55, 60, 64, 67, 74 }) {
        seq.note(glow, midi, 2.0, 4.0, 0.18f, (midi % 5) * 0.3f - 0.6f);
        seq.note(pad, midi, 1.5, 3.0, 0.08f, (midi % 3) * 0.5f - 0.5f);
    }
    seq.note(chime, 84, 2.0, 1.0, 0.25f, 0.4f);
    seq.note(chime, 91, 2.25, 1.0, 0.15f, -0.4f);
    Sound swell = synth.noiseBurst(1.0, 2000.0, 9000.0, env(0.9, 0.05, 0.5, 0.05));
    seq.place(swell, 0.0, 0.12f, 0.0f);
    seq.place(synth.kick(0.8, 110.0, 40.0), 2.0, 0.45f, 0.0f);
    bubbles(seq, synth, 6, 0.07f);
    seq.reverb(0.35f, 0.75f, 0.3f);
    Stereo out = seq.finish(PEAK);
    for (auto& channel : out) {
        Synth::fade(channel, 0.0, 1.2);
    }
    return out;
}

Stereo eog(Synth& synth)
{
    // The journey's end: warm, proud and a little wistful.
    Sequencer seq(84.0, 4, 16, true);
    const std::string CHORDS = "F C Dm Bb F C Bb C Dm Bb F C Bb Gm C C";
    Instrument keys = piano(synth);
    Instrument pad = padVoice(synth, 1000.0);
    Instrument bass = softBass(synth);
    Instrument chime = bell(synth, 3.5, 1.0, 0.7);
    Instrument song = flute(synth);
    arpeggio(seq, keys, CHORDS, 4, 0.5, { 0, 2, 3, 2, 1, 2, 3, 2 }, 53, 0.5, 0.17f, -0.2f);
    padChords(seq, pad, CHORDS, 4, 53, 0.07f);
    bassLine(seq, bass, CHORDS, 4, "1 . . . 5 . . .", 0.5, 36, 0.32f);
    const std::vector<std::string> TUNE = {
        "a5 . . . g5 . f5 .",
        "e5 . . . c5 . . .",
        "d5 . e5 . f5 . a5 .",
        "g5 . . . . . f5 g5",
        "a5 . . . c6 . a5 .",
        "g5 . . . e5 . c5 .",
        "d5 . f5 . bb5 . a5 .",
        "g5 . . . . . - -",
        "f5 . . . a5 . d6 .",
        "d6 . c6 . bb5 . . .",
        "a5 . . . c6 . f5 .",
        "g5 . . . e5 . . .",
        "f5 . g5 . a5 . bb5 .",
        "bb5 . a5 . g5 . d5 .",
        "e5 . . . g5 . . .",
        "c5 . . . - - - -",
    };
    melody(seq, song, TUNE, 0, 0.5, 0.2f, 0.15f, "eog");
    melody(seq, chime, TUNE, 0, 0.5, 0.07f, 0.4f, "eog", 12);
    drumBars(seq, synth.hat(0.08), "x-o-x-o-", 0.5, 0, 16, 0.06f, 0.3f);
    drumBars(seq, synth.kick(0.4, 120.0, 45.0), "x-------", 0.5, 0, 16, 0.25f, 0.0f);
    seq.reverb(0.35f, 0.8f, 0.35f);
    return seq.finish(PEAK);
}

Stereo shark(Synth& synth)
{
    // The chase: a fast, restless ostinato with stabbing strings and a sonar
    // ping, the brass theme snapping at the player's tail.
    Sequencer seq(168.0, 4, 24, true);
    const std::string CHORDS = "Em Em C C Em Em F F Em Em C C Em Em F F Am Am B B Em C B B";
    Instrument bass = synthBass(synth, 250.0, 1800.0);
    Instrument stabs = strings(synth, 0.05);
    Instrument horn = brass(synth);
    Instrument ping = bell(synth, 1.0, 0.3, 0.6);
    bassLine(seq, bass, CHORDS, 4, "1 1 8 1 b2 1 8 5", 0.5, 28, 0.28f);
    chordHits(seq, stabs, CHORDS, 4, "x--x--x-", 0.5, 64, 0.25, 0.16f);
    melody(seq, horn,
        { "- - - -", "- - - -", "- - - -", "- - - -", "- - - -", "- - - -", "- - - -", "- - - -",
            "e5 . . f#5", "g5 . f#5 e5", "e5 . . d5", "c5 . b4 .", "e5 . . g5", "b5 . a5 g5", "a5 . . g5",
            "f5 . e5 .", "a5 . . b5", "c6 . b5 a5", "b5 . . a5", "f#5 . d#5 .", "e5 . g5 b5", "c6 . b5 g5",
            "f#5 . a5 f#5", "d#5 . b4 ." },
        0, 1.0, 0.22f, 0.1f, "shark");
    for (int bar = 0; bar < 24; bar += 4) {
        seq.note(ping, 83, bar * 4.0, 2.0, 0.12f, 0.6f);
    }
    drumBars(seq, synth.kick(0.3), "x---x---x---x---", 0.25, 0, 24, 0.45f, 0.0f);
    drumBars(seq, synth.snare(0.18), "----x-------x---", 0.25, 0, 24, 0.3f, 0.0f);
    drumBars(seq, synth.hat(0.04), "x-xxx-xxx-xxx-xx", 0.25, 0, 24, 0.1f, 0.35f);
    Sound lowTom = synth.tom(110.0), highTom = synth.tom(160.0);
    for (int bar = 3; bar < 24; bar += 4) {
        seq.drums(highTom, "--------x-x-----", bar * 4.0, 0.25, 0.3f, -0.3f);
        seq.drums(lowTom, "------------x-xx", bar * 4.0, 0.25, 0.35f, 0.3f);
    }
    seq.place(crash(synth), 32, 0.18f, 0.4f);
    seq.reverb(0.18f, 0.5f, 0.5f);
    return seq.finish(PEAK);
}

Stereo boss(Synth& synth)
{
    // The swordfish duel: a swaggering minor-key fight with clanging blades.
    Sequencer seq(138.0, 4, 20, true);
    const std::string CHORDS = "Dm Dm Bb C Dm Dm Bb A Gm Gm Dm Dm Bb C A A Dm Bb C A";
    Instrument bass = synthBass(synth, 300.0, 2200.0);
    Instrument power = strings(synth, 0.08);
    Instrument hero = lead(synth, Wave::SAW, 2200.0, 18.0);
    Instrument steel = bell(synth, 1.41, 3.0, 0.25);
    bassLine(seq, bass, CHORDS, 4, "1 8 1 8 1 8 1 5", 0.5, 38, 0.26f);
    chordHits(seq, power, CHORDS, 4, "x--x--x-", 0.5, 50, 0.3, 0.2f);
    melody(seq, hero,
        { "d5 . . a4 d5 . f5 .", "e5 . d5 . c#5 . a4 .", "d5 . . bb4 d5 . f5 .", "g5 . f5 . e5 . c5 .",
            "a5 . . f5 a5 . d6 .", "c6 . a5 . f5 . d5 .", "f5 . e5 . d5 . bb4 .", "c#5 . . . e5 . . .",
            "g5 . . d5 g5 . bb5 .", "a5 . g5 . f5 . d5 .", "f5 . . d5 f5 . a5 .", "g5 . f5 . e5 . d5 .",
            "bb5 . a5 . g5 . f5 .", "e5 . g5 . c6 . . .", "c#6 . . . a5 . . .", "e5 . . . c#5 . a4 .",
            "- - - - - - - -", "- - - - - - - -", "- - - - - - - -", "- - - - - - - -" },
        0, 0.5, 0.2f, 0.1f, "boss");
    for (int bar = 16; bar < 20; ++bar) {
        seq.note(steel, 86 + (bar % 2) * 3, bar * 4.0, 1.0, 0.15f, bar % 2 ? 0.5f : -0.5f);
        seq.note(steel, 81, bar * 4.0 + 2.5, 1.0, 0.1f, 0.2f);
    }
    drumBars(seq, synth.kick(0.35), "x-----x-x-----x-", 0.25, 0, 20, 0.5f, 0.0f);
    Sound snare = synth.snare();
    drumBars(seq, snare, "----x-------x--o", 0.25, 0, 20, 0.32f, 0.0f);
    fills(seq, snare, "------xx--x-oxx-", { 7, 15, 19 }, 0.3f);
    drumBars(seq, synth.hat(), "x-x-x-x-x-x-x-x-", 0.25, 0, 20, 0.12f, 0.3f);
    for (int bar = 0; bar < 20; bar += 8) {
        seq.place(crash(synth), bar * 4.0, 0.18f, -0.4f);
    }
    seq.reverb(0.2f, 0.55f, 0.45f);
    return seq.finish(PEAK);
}

Stereo squidBattle(Synth& synth)
{
    // The giant squid: a churning organ arpeggio, pounding toms and a dark
    // brass theme rising out of the deep.
    Sequencer seq(150.0, 4, 24, true);
    const std::string CHORDS = "Cm Cm Ab Ab Fm Fm G G Cm Cm Ab Ab Fm G Cm Cm Ab Bb Cm Cm Ab Bb G G";
    Instrument keys = organ(synth);
    Instrument choir = padVoice(synth, 1300.0);
    Instrument bass = synthBass(synth, 260.0, 1400.0);
    Instrument horn = brass(synth);
    arpeggio(seq, keys, CHORDS, 4, 0.5, { 0, 1, 2, 3, 2, 1, 2, 1 }, 60, 0.45, 0.14f, -0.3f);
    padChords(seq, choir, CHORDS, 4, 48, 0.06f);
    bassLine(seq, bass, CHORDS, 4, "1 1 8 1 1 1 8 b7", 0.5, 36, 0.22f);
    melody(seq, horn,
        { "- - - -", "- - - -", "- - - -", "- - - -", "- - - -", "- - - -", "- - - -", "- - - -",
            "c5 . eb5 g5", "c6 . b5 g5", "ab5 . g5 f5", "eb5 . . .", "f5 . ab5 c6", "b5 . g5 d5",
            "eb5 . d5 c5", "g5 . . .", "ab5 . . c6", "bb5 . . d6", "eb6 . d6 c6", "g5 . . .", "ab5 g5 f5 eb5",
            "d5 f5 bb5 ab5", "g5 . . .", "b5 . d6 ." },
        0, 1.0, 0.24f, 0.15f, "squidbattle");
    drumBars(seq, synth.kick(0.4), "x-------x-x-----", 0.25, 0, 24, 0.5f, 0.0f);
    drumBars(seq, synth.snare(0.25), "----x-------x---", 0.25, 0, 24, 0.28f, 0.0f);
    drumBars(seq, synth.hat(), "x-x-x-x-x-x-x-x-", 0.25, 8, 24, 0.1f, 0.35f);
    Sound lowTom = synth.tom(90.0, 0.4), midTom = synth.tom(130.0, 0.4);
    for (int bar = 1; bar < 24; bar += 2) {
        seq.drums(midTom, "--------x--x----", bar * 4.0, 0.25, 0.3f, -0.35f);
        seq.drums(lowTom, "-------------x-x", bar * 4.0, 0.25, 0.35f, 0.35f);
    }
    seq.place(crash(synth), 32, 0.2f, 0.4f);
    seq.place(crash(synth), 64, 0.2f, -0.4f);
    seq.reverb(0.25f, 0.7f, 0.4f);
    return seq.finish(PEAK);
}

Stereo rayBlues(Synth& synth)
{
    // Riding the ray: a lazy shuffle through twelve bars of blues.
    Sequencer seq(84.0, 4, 12, true);
    seq.setSwing(0.33);
    const std::string CHORDS = "G7 C7 G7 G7 C7 C7 G7 G7 D7 C7 G7 D7";
    Instrument bass = pluck(synth, 0.25, 0.15);
    Instrument keys = organ(synth);
    Instrument harp = lead(synth, Wave::SQUARE, 1400.0, 22.0, 0.03);
    seq.line(bass,
        "g2 b2 d3 e3 | c3 e3 g3 a3 | g2 b2 d3 e3 | f3 d3 b2 g2 | c3 e3 g3 a3 | bb3 a3 g3 e3 | "
        "g2 b2 d3 e3 | f3 e3 d3 b2 | d3 f#3 a3 c4 | c3 e3 g3 e3 | g2 b2 d3 b2 | d3 c3 a2 f#2",
        0, 1.0, 0.42f, 0.0f);
    chordHits(seq, keys, CHORDS, 4, "--x---x-", 0.5, 55, 0.4, 0.12f);
    chordHits(seq, keys, CHORDS, 4, "-----o--", 0.5, 55, 0.2, 0.12f);
    melody(seq, harp,
        { "d5 . f5 g5 . . f5 d5", "e5 . . . c5 . bb4 g4", "b4 . d5 . g4 . . .", "- - f5 f#5 g5 . d5 .",
            "e5 . g5 . bb5 . a5 g5", "e5 . . . c5 . e5 .", "d5 . b4 . g4 . bb4 b4", "d5 . . . - - - -",
            "a5 . f#5 . d5 . c5 .", "bb4 . g4 . e5 . c5 .", "d5 . bb4 b4 g4 . . .", "- - a4 c5 d5 . f#5 ." },
        0, 0.5, 0.15f, 0.2f, "rayblues");
    drumBars(seq, synth.hat(0.06), "xoxoxoxo", 0.5, 0, 12, 0.12f, 0.35f);
    drumBars(seq, synth.kick(0.35, 120.0, 45.0), "x---x---", 0.5, 0, 12, 0.35f, 0.0f);
    drumBars(seq, synth.snare(0.2, 220.0), "--x---x-", 0.5, 0, 12, 0.2f, -0.1f);
    seq.reverb(0.25f, 0.65f, 0.5f);
    return seq.finish(PEAK);
}

Stereo montyRag(Synth& synth)
{
    // A ragtime romp on an old upright: oom-pah left hand, syncopated right.
    Sequencer seq(100.0, 2, 32, true);
    const std::string CHORDS = "C C7 F F C G7 C G7 C C7 F F C G7 C C "
                               "F F C C D7 G7 C C F Fm C A7 D7 G7 C G7";
    Instrument keys = piano(synth);
    // Left hand: a low bass note on each beat, a chord on each off-beat.
    bassLine(seq, keys, CHORDS, 2, "1 - 5 -", 0.5, 36, 0.3f);
    chordHits(seq, keys, CHORDS, 2, "-x-x", 0.5, 55, 0.2, 0.12f);
    std::vector<std::string> a = { "- e5 f5 g5 - c6 . g5", "a5 g5 . e5 c5 . bb4 .", "- a4 c5 f5 - a5 . f5",
        "g5 f5 . d5 c5 . a4 .", "- g4 c5 e5 - g5 . e5", "f5 d5 . b4 g4 . f5 ." };
    std::vector<std::string> tune = a;
    tune.insert(tune.end(), { "e5 . g5 . c6 . . .", "b5 a5 g5 f5 e5 d5 c5 b4" });
    tune.insert(tune.end(), a.begin(), a.end());
    tune.insert(tune.end(), { "e5 . g5 . c6 . b5 .", "c6 . g5 e5 c5 . - -" });
    tune.insert(tune.end(),
        { "a5 . c6 a5 - f5 . c5", "d5 c5 . a4 f4 . a4 .", "g5 . c6 g5 - e5 . c5", "e5 d5 . c5 g4 . e5 .",
            "f#5 . a5 f#5 - d5 . c5", "b4 . d5 f5 - g5 . b5", "c6 . g5 . e5 . c5 .", "- g4 c5 d5 e5 . g5 .",
            "a5 . c6 a5 - f5 . c5", "ab5 g5 . f5 c5 . ab4 .", "g5 . c6 g5 - e5 . c5",
            "c#5 e5 g5 a5 - g5 e5 c#5", "d5 . f#5 a5 - c6 . a5", "b5 . g5 f5 - d5 . b4",
            "c5 e5 g5 c6 - g5 . e5", "g5 f5 e5 d5 . b4 . -" });
    melody(seq, keys, tune, 0, 0.25, 0.24f, 0.15f, "montyrag");
    drumBars(seq, synth.hat(0.05), "xoxo", 0.5, 0, 32, 0.06f, 0.4f);
    seq.reverb(0.15f, 0.45f, 0.5f);
    return seq.finish(PEAK);
}

Stereo pirateLevel(Synth& synth)
{
    // A sea shanty in a rolling six-eight, squeezebox and stomping feet,
    // with waves washing against the hull.
    Sequencer seq(192.0, 6, 20, true);
    const std::string CHORDS = "Dm Dm C C Dm Dm Am Dm F F C C Dm Bb A Dm Bb C A A";
    Instrument box = accordion(synth);
    Instrument whistle = flute(synth);
    Instrument bass = pluck(synth, 0.3, 0.2);
    const std::vector<std::string> TUNE = {
        "a4 . a4 d5 . e5",
        "f5 . e5 d5 . a4",
        "g4 . g4 c5 . d5",
        "e5 . d5 c5 . g4",
        "a4 . a4 d5 . e5",
        "f5 . g5 a5 . f5",
        "e5 . d5 c5 . e5",
        "d5 . . . . -",
        "c5 . c5 f5 . g5",
        "a5 . g5 f5 . c5",
        "e5 . e5 g5 . f5",
        "e5 . d5 c5 . -",
        "d5 . e5 f5 . g5",
        "a5 . g5 f5 . d5",
        "e5 . c#5 a4 . c#5",
        "d5 . . . . -",
        "f5 . f5 f5 . d5",
        "e5 . e5 e5 . c5",
        "c#5 . d5 e5 . g5",
        "e5 . . c#5 . -",
    };
    melody(seq, box, TUNE, 0, 1.0, 0.2f, -0.15f, "piratelevel");
    std::vector<std::string> upper(TUNE.begin(), TUNE.end());
    for (int bar = 0; bar < 8; ++bar) {
        upper[bar] = "- - - - - -";
    }
    melody(seq, whistle, upper, 0, 1.0, 0.1f, 0.35f, "piratelevel", 12);
    bassLine(seq, bass, CHORDS, 6, "1 - - 5 - -", 1.0, 38, 0.38f);
    chordHits(seq, box, CHORDS, 6, "-xo-xo", 1.0, 57, 0.6, 0.05f);
    drumBars(seq, synth.tom(80.0, 0.4), "x--o--", 1.0, 0, 20, 0.4f, 0.0f);
    drumBars(seq, synth.hat(0.07), "x-ox-o", 1.0, 0, 20, 0.1f, 0.4f);
    for (int bar = 0; bar < 20; bar += 2) {
        // Each swell of the sea takes two bars to roll in and out.
        Sound wave = synth.noiseBurst(4.0, 120.0, 900.0, env(1.6, 0.4, 0.6, 1.8));
        seq.place(wave, bar * 6.0, 0.12f, bar % 4 ? 0.5f : -0.5f);
    }
    seq.reverb(0.2f, 0.6f, 0.5f);
    return seq.finish(PEAK);
}

Stereo underwaterCity(Synth& synth)
{
    // The sunken city: dark chords, a slow heartbeat and a glass-bell motif
    // echoing through empty halls, with a whole-tone shimmer now and then.
    Sequencer seq(76.0, 4, 12, true);
    const std::string CHORDS = "Cm Cm Abmaj7 Abmaj7 Dbmaj7 Dbmaj7 G G Cm Abmaj7 Dbmaj7 G";
    Instrument pad = padVoice(synth, 650.0);
    Instrument glass = bell(synth, 3.5, 1.4, 0.9);
    Instrument bass = softBass(synth);
    Instrument harp = pluck(synth, 0.7, 0.8);
    padChords(seq, pad, CHORDS, 4, 48, 0.1f);
    bassLine(seq, bass, CHORDS, 4, "1 . . . . . . .", 0.5, 36, 0.38f);
    melody(seq, glass,
        { "g5 - - - eb5 - - -", "d5 - - - - - c5 -", "c6 - - - g5 - - -", "eb5 - - - - - - -",
            "f5 - - - ab5 - - -", "c6 - - - bb5 - f5 -", "b5 - - - g5 - - -", "f5 - d5 - b4 - - -",
            "g5 - - - c6 - - -", "eb6 - - - c6 - g5 -", "ab5 - - - f5 - - -", "d5 - - - b4 - - -" },
        0, 0.5, 0.16f, 0.2f, "underwatercity");
    drumBars(seq, synth.tom(60.0, 0.5), "x--o------------", 0.25, 0, 12, 0.35f, 0.0f);
    drumBars(seq, synth.hat(0.03), "--o---o---o---o-", 0.25, 2, 12, 0.05f, -0.5f);
    for (int bar = 3; bar < 12; bar += 4) {
        seq.line(harp, "c5 d5 e5 f#5 g#5 a#5 c6 d6", bar * 4.0 + 2.0, 0.25, 0.3f, -0.4f);
    }
    seq.echo(0.75, 0.45f, 0.3f, 0.2f);
    seq.reverb(0.45f, 0.9f, 0.3f);
    return seq.finish(PEAK);
}

Stereo heroics(Synth& synth)
{
    // The final world: a triumphant march, brass over snare and timpani.
    Sequencer seq(126.0, 4, 16, true);
    const std::string CHORDS = "D A Bm G D A G A Bm G D A G Em A A";
    Instrument horn = brass(synth);
    Instrument pad = strings(synth, 0.4);
    Instrument bass = synthBass(synth, 350.0, 900.0);
    Instrument chime = bell(synth, 3.5, 1.3, 0.5);
    const std::vector<std::string> TUNE = {
        "d5 . . a4 d5 . f#5 .",
        "e5 . . . a4 . . .",
        "f#5 . . d5 f#5 . b5 .",
        "a5 . g5 . f#5 . e5 .",
        "d5 . . a4 d5 . f#5 .",
        "a5 . . . c#6 . . .",
        "d6 . c#6 b5 a5 . g5 .",
        "e5 . . . . . a4 .",
        "b4 . d5 . f#5 . b5 .",
        "a5 . g5 . d5 . g5 .",
        "f#5 . . . a5 . d6 .",
        "c#6 . b5 . a5 . e5 .",
        "d5 . g5 . b5 . d6 .",
        "e6 . d6 . b5 . g5 .",
        "a5 . . . . . . .",
        "c#6 . . . e6 . . .",
    };
    melody(seq, horn, TUNE, 0, 0.5, 0.22f, 0.0f, "heroics");
    melody(seq, horn, TUNE, 0, 0.5, 0.1f, 0.45f, "heroics", -12);
    chordHits(seq, pad, CHORDS, 4, "x..x..x.", 0.5, 50, 0.9, 0.12f);
    bassLine(seq, bass, CHORDS, 4, "1 . 8 . 1 . 5 .", 0.5, 38, 0.22f);
    arpeggio(seq, chime, CHORDS, 4, 1.0, { 2, 1, 3, 1 }, 74, 1.0, 0.05f, 0.5f);
    Sound timpani = synth.tom(75.0, 0.7);
    drumBars(seq, timpani, "x-------x-------", 0.25, 0, 16, 0.4f, 0.0f);
    Sound snare = synth.snare(0.15, 240.0);
    drumBars(seq, snare, "x--xx-x-x--xx-xo", 0.25, 0, 16, 0.18f, 0.15f);
    fills(seq, snare, "-x---x-x-x--oxo-", { 7, 15 }, 0.22f);
    drumBars(seq, synth.kick(0.35), "x-------x-------", 0.25, 0, 16, 0.3f, 0.0f);
    for (int bar = 0; bar < 16; bar += 4) {
        seq.place(crash(synth), bar * 4.0, 0.16f, bar % 8 ? 0.4f : -0.4f);
    }
    seq.reverb(0.25f, 0.7f, 0.4f);
    return seq.finish(PEAK);
}

const std::map<std::string, std::function<Stereo(Synth&)>>& tracks()
{
    static const std::map<std::string, std::function<Stereo(Synth&)>> table = {
        { "boss", boss },
        { "eog", eog },
        { "heroics", heroics },
        { "kvl", kvl },
        { "montyrag", montyRag },
        { "piratelevel", pirateLevel },
        { "rayblues", rayBlues },
        { "shark", shark },
        { "squidbattle", squidBattle },
        { "title", title },
        { "underwater", underwater },
        { "underwatercity", underwaterCity },
    };
    return table;
}

} // namespace

const std::vector<std::string>& MusicTracks::names()
{
    static const std::vector<std::string> list = [] {
        std::vector<std::string> all;
        for (const auto& entry : tracks()) {
            all.push_back(entry.first);
        }
        return all;
    }();
    return list;
}

bool MusicTracks::loops(const std::string& name)
{
    return name != "kvl";
}

std::vector<std::vector<float>> MusicTracks::render(const std::string& name)
{
    auto found = tracks().find(name);
    if (found == tracks().end()) {
        return {};
    }
    uint32_t seed = 0x7d3a9u;
    for (unsigned char c : name) {
        seed = seed * 31u + c;
    }
    Synth synth(seed);
    return found->second(synth);
}
