#pragma once

#include <string>
#include <vector>

// Every sound effect the game plays by name, synthesised from scratch.
class SoundEffects {
public:
    static const std::vector<std::string>& names();
    // Mono samples at Synth::RATE in [-1, 1]; empty for an unknown name.
    static std::vector<float> render(const std::string& name);
    // The dance floor's songs are played back to back, bar after bar.
    static bool loops(const std::string& name);
};
