#pragma once

#include <string>
#include <vector>

// Walks the structure of an Allegro datafile before load_datafile is trusted
// with it. Allegro's loader believes every count and size it reads, so a file
// cut short or with one flipped bit can make it call through a null pointer
// or write past the memory it took; this reader believes nothing and says
// what is wrong instead.
//
// It checks the magic, every object header and property chunk, that each
// size stays inside the bytes that hold it, that every type is one Allegro
// knows, and the inside of bitmaps, run-length sprites, fonts, samples,
// music and palettes as far as the loader relies on it.
class DatafileChecker {
public:
    // "" when the file may be handed to load_datafile, otherwise what is
    // wrong with it. The file is read through Allegro's packfile layer, so
    // packed and plain files are both seen as the loader sees them.
    static std::string checkFile(const std::string& path);
    // The same for contents already unpacked (they start with the magic).
    static std::string checkContents(const std::vector<unsigned char>& bytes);
};
