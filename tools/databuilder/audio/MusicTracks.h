#pragma once

#include <string>
#include <vector>

// The game's music: every track a seamless loop of its own mood, except the
// short logo jingle "kvl", which plays once.
class MusicTracks {
public:
    static const std::vector<std::string>& names();
    // Two channels at Synth::RATE; empty for an unknown name.
    static std::vector<std::vector<float>> render(const std::string& name);
    static bool loops(const std::string& name);
};
