#pragma once

#include <string>
#include <vector>

// Turns rendered sound into OGG Vorbis bytes. The stream serial number is
// fixed and the encoder itself is deterministic, so the same samples always
// give the same file.
class OggEncoder {
public:
    // channels: one buffer per channel (1 or 2), all the same length, in
    // [-1, 1]. quality: the VBR quality, -0.1 to 1.0. A looping sound is
    // coded so that its end flows cleanly into its start. Empty on failure.
    static std::string encode(const std::vector<std::vector<float>>& channels, int rate, float quality,
        const std::string& title, bool looping = false);
};
