#pragma once

#include <string>

// Writes a short OGG Vorbis file for the audio tests: a 441 Hz sine at half
// of full scale on the left (or only) channel; any other channels are silent. False when the file could not
// be written.
bool writeOggTone(const std::string& path, int channels, long rate, long frames);
