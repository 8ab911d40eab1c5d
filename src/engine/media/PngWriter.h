#pragma once

#include <allegro.h>

#include <string>

// Saves a picture as a PNG file: screenshots in the game, level sheets and
// contact sheets in the tools. Any colour depth; the file is 24-bit RGB.
class PngWriter {
public:
    static bool encode(BITMAP* picture, std::string& bytes);
    // Writes the file whole or not at all; error says why it could not.
    static bool save(BITMAP* picture, const std::string& path, std::string& error);
};
