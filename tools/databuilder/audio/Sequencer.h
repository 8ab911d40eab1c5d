#pragma once

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <vector>

// Renders one note of an instrument: frequency in Hz and held time in
// seconds; the voice may ring on past the held time.
using Instrument = std::function<std::vector<float>(double freq, double held)>;

// A stereo arrangement measured in beats. A looping arrangement wraps every
// voice, echo and reverb tail that runs past the end back into the beginning,
// so the last sample flows straight into the first when the game loops it.
// A one-shot arrangement keeps its tail after the last bar instead.
class Sequencer {
public:
    Sequencer(double bpm, int beatsPerBar, int bars, bool looping, double tailSeconds = 0.0);

    double seconds(double beats) const { return beats * 60.0 / bpm; }
    double bars() const { return barCount; }
    int beatsPerBar() const { return barBeats; }
    double totalBeats() const { return static_cast<double>(barCount) * barBeats; }
    size_t length() const { return left.size(); }

    // Swing delays every second step of a line by this share of a step.
    void setSwing(double amount) { swing = amount; }

    // Places a mono voice; pan -1 is hard left, +1 hard right.
    void place(const std::vector<float>& voice, double startBeat, float gain, float pan);
    // Renders (or reuses) a note of an instrument and places it.
    void note(const Instrument& instrument, double midi, double startBeat, double lengthBeats, float gain,
        float pan);
    // A line of steps, one token each: a note ("c4", "f#3", "bb2"), "." to
    // hold the note before, "-" for silence; "|" marks bars for the reader.
    // Returns the number of steps read.
    int line(const Instrument& instrument, const std::string& notes, double startBeat, double stepBeats,
        float gain, float pan, int transpose = 0);
    // A drum line: "x" a full hit, "o" a soft one, "-" or "." nothing.
    void drums(const std::vector<float>& hit, const std::string& pattern, double startBeat, double stepBeats,
        float gain, float pan);

    // Chord symbols ("Am7", "F", "G7", "Bbmaj7", "C#dim") as MIDI notes, the
    // root placed in the octave starting at `baseMidi`.
    static std::vector<int> chord(const std::string& symbol, int baseMidi);
    static int noteMidi(const std::string& token); // -1 if not a note

    void echo(double delayBeats, float feedback, float wet, float spread);
    void reverb(float wet, float size, float damping);

    // Peak-normalises with a soft knee and returns the two channels; a loop
    // comes out starting just before its first downbeat.
    std::vector<std::vector<float>> finish(float peak);

    // Where step `step` of a line falls, in beats, after swing.
    double stepBeat(int step, double stepBeats) const;

private:
    size_t position(double beat) const;
    // Moves a loop's start a few milliseconds early, to a quiet spot.
    void startNearSilence();
    // Runs a stateful effect so that its state wraps around a loop: the
    // loop's end is run through it unheard before the pass that is kept.
    // A one-shot is processed once.
    void processCircular(const std::function<void(float& l, float& r, bool keep)>& effect);

    double bpm;
    int barBeats;
    int barCount;
    bool looping;
    double swing = 0.0;
    std::vector<float> left, right;
    std::map<std::tuple<const void*, int, int>, std::vector<float>> cache;
};
