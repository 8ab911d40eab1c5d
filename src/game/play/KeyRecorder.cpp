#include "game/play/KeyRecorder.h"

#include "game/play/Replay.h"

#include <allegro.h>

#include <cstdio>

namespace {

std::string seconds(int frame)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", frame * Replay::FRAME_SECONDS);
    return text;
}

} // namespace

void KeyRecorder::start(int recordedLevel, unsigned recordedSeed)
{
    level = recordedLevel;
    seed = recordedSeed;
    held.assign(Replay::keyCodes().size(), false);
    lines.clear();
    hurts.clear();
    lastFrame = 0;
}

void KeyRecorder::sample(int frame)
{
    const std::vector<int>& codes = Replay::keyCodes();
    for (size_t i = 0; i < codes.size(); ++i) {
        bool down = key[codes[i]] != 0;
        if (down != held[i]) {
            held[i] = down;
            lines.push_back(seconds(frame) + " " + Replay::keyName(codes[i]) + (down ? " down" : " up"));
        }
    }
    lastFrame = frame;
}

void KeyRecorder::hurt(int frame)
{
    hurts.push_back(frame);
}

std::string KeyRecorder::text(bool complete) const
{
    std::string out = "# Recorded with tidewander --record.\n";
    out += "level " + std::to_string(level) + "\n";
    out += "seed " + std::to_string(seed) + "\n";
    // A second in hand past the last frame played.
    out += "length " + seconds(lastFrame + 100) + "\n";
    if (complete) {
        out += "expect complete\n";
    }
    for (int frame : hurts) {
        out += "expect hurt " + seconds(frame) + "\n";
    }
    out += "\n";
    for (const std::string& line : lines) {
        out += line + "\n";
    }
    return out;
}
