#include "databuilder/audio/Sequencer.h"

#include "databuilder/audio/Synth.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <sstream>

namespace {

// A feedback comb with a damped loop, the body of the reverb.
class Comb {
public:
    explicit Comb(int size)
        : buffer(size, 0.0f)
    {
    }
    float process(float x, float feedback, float damping)
    {
        float out = buffer[pos];
        store = out * (1.0f - damping) + store * damping;
        buffer[pos] = x + store * feedback;
        if (++pos == buffer.size()) {
            pos = 0;
        }
        return out;
    }

private:
    std::vector<float> buffer;
    size_t pos = 0;
    float store = 0.0f;
};

class Allpass {
public:
    explicit Allpass(int size)
        : buffer(size, 0.0f)
    {
    }
    float process(float x)
    {
        float delayed = buffer[pos];
        float out = delayed - x;
        buffer[pos] = x + delayed * 0.5f;
        if (++pos == buffer.size()) {
            pos = 0;
        }
        return out;
    }

private:
    std::vector<float> buffer;
    size_t pos = 0;
};

} // namespace

Sequencer::Sequencer(double beatsPerMinute, int beatsInBar, int barsInPiece, bool loop, double tailSeconds)
    : bpm(beatsPerMinute)
    , barBeats(beatsInBar)
    , barCount(barsInPiece)
    , looping(loop)
{
    size_t count = static_cast<size_t>(std::lround(seconds(totalBeats()) * Synth::RATE));
    if (!looping) {
        count += Synth::samples(tailSeconds);
    }
    left.assign(count, 0.0f);
    right.assign(count, 0.0f);
}

size_t Sequencer::position(double beat) const
{
    return static_cast<size_t>(std::max(0L, std::lround(seconds(beat) * Synth::RATE)));
}

double Sequencer::stepBeat(int step, double stepBeats) const
{
    double beat = step * stepBeats;
    if (step % 2 == 1) {
        beat += swing * stepBeats;
    }
    return beat;
}

void Sequencer::place(const std::vector<float>& voice, double startBeat, float gain, float pan)
{
    if (left.empty()) {
        return;
    }
    double angle = (std::clamp(pan, -1.0f, 1.0f) + 1.0) * M_PI / 4.0;
    float gl = static_cast<float>(std::cos(angle) * M_SQRT2) * gain;
    float gr = static_cast<float>(std::sin(angle) * M_SQRT2) * gain;
    size_t size = left.size();
    size_t at = position(startBeat);
    if (looping) {
        at %= size;
        for (size_t i = 0; i < voice.size(); ++i) {
            left[at] += voice[i] * gl;
            right[at] += voice[i] * gr;
            if (++at == size) {
                at = 0;
            }
        }
        return;
    }
    for (size_t i = 0; i < voice.size() && at + i < size; ++i) {
        left[at + i] += voice[i] * gl;
        right[at + i] += voice[i] * gr;
    }
}

void Sequencer::note(
    const Instrument& instrument, double midi, double startBeat, double lengthBeats, float gain, float pan)
{
    auto key = std::make_tuple(static_cast<const void*>(&instrument),
        static_cast<int>(std::lround(midi * 100)), Synth::samples(seconds(lengthBeats)));
    auto found = cache.find(key);
    if (found == cache.end()) {
        found = cache.emplace(key, instrument(Synth::midiFreq(midi), seconds(lengthBeats))).first;
    }
    place(found->second, startBeat, gain, pan);
}

int Sequencer::noteMidi(const std::string& token)
{
    static const int SEMITONES[7] = { 9, 11, 0, 2, 4, 5, 7 }; // a b c d e f g
    if (token.size() < 2) {
        return -1;
    }
    char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(token[0])));
    if (letter < 'a' || letter > 'g') {
        return -1;
    }
    int semitone = SEMITONES[letter - 'a'];
    size_t i = 1;
    while (i < token.size() && (token[i] == '#' || token[i] == 'b')) {
        semitone += token[i] == '#' ? 1 : -1;
        ++i;
    }
    if (i >= token.size() || !std::isdigit(static_cast<unsigned char>(token[i]))) {
        return -1;
    }
    int octave = token[i] - '0';
    return 12 * (octave + 1) + semitone;
}

int Sequencer::line(const Instrument& instrument, const std::string& notes, double startBeat,
    double stepBeats, float gain, float pan, int transpose)
{
    std::istringstream in(notes);
    std::string token;
    int step = 0;
    std::vector<std::tuple<int, int, int>> events; // start step, midi, steps held
    while (in >> token) {
        if (token == "|") {
            continue;
        }
        if (token == ".") {
            if (!events.empty() && std::get<0>(events.back()) + std::get<2>(events.back()) == step) {
                ++std::get<2>(events.back());
            }
        } else {
            int midi = noteMidi(token);
            if (midi >= 0) {
                events.emplace_back(step, midi + transpose, 1);
            }
        }
        ++step;
    }
    for (const auto& [start, midi, held] : events) {
        double begin = stepBeat(start, stepBeats);
        double end = stepBeat(start + held, stepBeats);
        note(instrument, midi, startBeat + begin, end - begin, gain, pan);
    }
    return step;
}

void Sequencer::drums(const std::vector<float>& hit, const std::string& pattern, double startBeat,
    double stepBeats, float gain, float pan)
{
    int step = 0;
    for (char c : pattern) {
        if (c == ' ' || c == '|') {
            continue;
        }
        if (c == 'x' || c == 'X') {
            place(hit, startBeat + stepBeat(step, stepBeats), gain, pan);
        } else if (c == 'o') {
            place(hit, startBeat + stepBeat(step, stepBeats), gain * 0.5f, pan);
        }
        ++step;
    }
}

std::vector<int> Sequencer::chord(const std::string& symbol, int baseMidi)
{
    std::vector<int> notes;
    if (symbol.empty()) {
        return notes;
    }
    size_t i = 1;
    while (i < symbol.size() && (symbol[i] == '#' || symbol[i] == 'b')) {
        ++i;
    }
    int root = noteMidi(symbol.substr(0, i) + "0");
    if (root < 0) {
        return notes;
    }
    root = baseMidi + ((root - baseMidi) % 12 + 12) % 12;
    std::string quality = symbol.substr(i);
    std::vector<int> shape;
    if (quality == "m") {
        shape = { 0, 3, 7 };
    } else if (quality == "7") {
        shape = { 0, 4, 7, 10 };
    } else if (quality == "m7") {
        shape = { 0, 3, 7, 10 };
    } else if (quality == "maj7") {
        shape = { 0, 4, 7, 11 };
    } else if (quality == "dim") {
        shape = { 0, 3, 6, 9 };
    } else if (quality == "sus4") {
        shape = { 0, 5, 7 };
    } else if (quality == "sus2") {
        shape = { 0, 2, 7 };
    } else if (quality == "6") {
        shape = { 0, 4, 7, 9 };
    } else if (quality == "m6") {
        shape = { 0, 3, 7, 9 };
    } else if (quality == "9") {
        shape = { 0, 4, 7, 10, 14 };
    } else if (quality == "add9") {
        shape = { 0, 4, 7, 14 };
    } else if (quality == "aug") {
        shape = { 0, 4, 8 };
    } else {
        shape = { 0, 4, 7 };
    }
    for (int interval : shape) {
        notes.push_back(root + interval);
    }
    return notes;
}

void Sequencer::processCircular(const std::function<void(float& l, float& r, bool keep)>& effect)
{
    // A loop first runs its last few seconds through the effect unheard, so
    // the state at the loop point is what it will be on every repeat: the
    // tails have long died away by then.
    const double WARM_UP_SECONDS = 8.0;
    size_t count = left.size();
    if (looping) {
        size_t warmUp = std::min(count, static_cast<size_t>(Synth::samples(WARM_UP_SECONDS)));
        for (size_t i = count - warmUp; i < count; ++i) {
            effect(left[i], right[i], false);
        }
    }
    for (size_t i = 0; i < count; ++i) {
        effect(left[i], right[i], true);
    }
}

void Sequencer::echo(double delayBeats, float feedback, float wet, float spread)
{
    size_t delay = std::max<size_t>(1, position(delayBeats));
    std::vector<float> lineL(delay, 0.0f), lineR(delay, 0.0f);
    size_t pos = 0;
    // A ping-pong echo: each repeat crosses to the other side.
    processCircular([&](float& l, float& r, bool keep) {
        float outL = lineL[pos], outR = lineR[pos];
        float mono = 0.5f * (l + r);
        lineL[pos] = mono * (1.0f - spread) + outR * feedback;
        lineR[pos] = mono * spread + outL * feedback;
        pos = (pos + 1) % delay;
        if (keep) {
            l += outL * wet;
            r += outR * wet;
        }
    });
}

void Sequencer::reverb(float wet, float size, float damping)
{
    static const int COMBS[8] = { 1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617 };
    static const int ALLPASSES[4] = { 556, 441, 341, 225 };
    const int STEREO_SPREAD = 23;
    std::vector<Comb> combsL, combsR;
    std::vector<Allpass> allL, allR;
    for (int c : COMBS) {
        combsL.emplace_back(c);
        combsR.emplace_back(c + STEREO_SPREAD);
    }
    for (int a : ALLPASSES) {
        allL.emplace_back(a);
        allR.emplace_back(a + STEREO_SPREAD);
    }
    float feedback = 0.7f + 0.28f * std::clamp(size, 0.0f, 1.0f);
    processCircular([&](float& l, float& r, bool keep) {
        float input = (l + r) * 0.05f;
        float outL = 0.0f, outR = 0.0f;
        for (size_t c = 0; c < combsL.size(); ++c) {
            outL += combsL[c].process(input, feedback, damping);
            outR += combsR[c].process(input, feedback, damping);
        }
        for (size_t a = 0; a < allL.size(); ++a) {
            outL = allL[a].process(outL);
            outR = allR[a].process(outR);
        }
        if (keep) {
            l += outL * wet;
            r += outR * wet;
        }
    });
}

std::vector<std::vector<float>> Sequencer::finish(float peak)
{
    // Loops drift off centre when low notes pile up; a gentle DC blocker
    // keeps the waveform centred so the loop point stays silent.
    double meanL = 0.0, meanR = 0.0;
    for (size_t i = 0; i < left.size(); ++i) {
        meanL += left[i];
        meanR += right[i];
    }
    if (!looping) {
        meanL = meanR = 0.0;
    } else if (!left.empty()) {
        meanL /= left.size();
        meanR /= right.size();
    }
    float top = 1e-9f;
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] -= static_cast<float>(meanL);
        right[i] -= static_cast<float>(meanR);
        top = std::max({ top, std::fabs(left[i]), std::fabs(right[i]) });
    }
    // A soft knee: loud peaks are rounded off rather than shrinking the mix.
    const float DRIVE = 1.5f;
    float norm = static_cast<float>(peak / std::tanh(DRIVE));
    for (size_t i = 0; i < left.size(); ++i) {
        left[i] = norm * std::tanh(DRIVE * left[i] / top);
        right[i] = norm * std::tanh(DRIVE * right[i] / top);
    }
    if (looping) {
        startNearSilence();
    }
    return { left, right };
}

void Sequencer::startNearSilence()
{
    // The encoder handles the file's two ends less faithfully than its
    // middle, which would make a loud loop point tick. Starting a few
    // milliseconds early, where both channels are quiet and still, is
    // inaudible in the groove, keeps the downbeat's attack away from the
    // loop point and leaves nothing for the encoder to smear.
    const double SEARCH_SECONDS = 0.01;
    long count = static_cast<long>(left.size());
    long reach = std::min<long>(Synth::samples(SEARCH_SECONDS), count / 4);
    long best = 0;
    float bestLevel = 1e9f;
    for (long offset = -reach; offset <= 0; ++offset) {
        long i = (offset + count) % count;
        long before = (i + count - 1) % count;
        long after = (i + 1) % count;
        float level = std::fabs(left[i]) + std::fabs(right[i])
            + 2.0f * (std::fabs(left[after] - left[before]) + std::fabs(right[after] - right[before]));
        if (level < bestLevel) {
            bestLevel = level;
            best = i;
        }
    }
    std::rotate(left.begin(), left.begin() + best, left.end());
    std::rotate(right.begin(), right.begin() + best, right.end());
}
