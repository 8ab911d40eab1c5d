#pragma once

#include <string>
#include <vector>

// Allegro unpacks an "slh!" file through a 4096-byte window whose last
// eighteen bytes start out uninitialised. A stream from Allegro's packer only
// copies bytes it has already produced, but a damaged one can copy from those
// eighteen, and then the same file unpacks to different bytes on every
// read: a check of the first reading says nothing about the second. This
// walks the packed stream the way Allegro does and refuses such a file.
class PackedStream {
public:
    // "" when the file is not packed or its stream only copies bytes it
    // has written (or the window's zeroed part); otherwise what is wrong.
    // A file that cannot be read is left to the caller's own reading.
    static std::string checkFile(const std::string& path);
    // The same for the whole file's bytes, the magic included.
    static std::string checkBytes(const std::vector<unsigned char>& file);
};
