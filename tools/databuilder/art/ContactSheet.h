#pragma once

#include <string>

struct BITMAP;

// A PNG of every picture of a datafile laid out in a grid, each labelled with
// its index ("3", or "1.4" inside nested datafile 1), over a checkerboard
// that shows the transparent parts; fonts show sample lines over light and
// dark stripes. For looking at the artwork outside the game.
class ContactSheet {
public:
    // Reads the datafile and writes the sheet; false (with a message in
    // error) when either fails. Opaque sheets show the mask colour as it is
    // (the level pictures use it as an ordinary colour) and enlarge small
    // pictures.
    static bool write(
        const std::string& datafilePath, const std::string& pngPath, bool opaque, std::string& error);
    // Writes a picture of any colour depth as a PNG; false (with a message
    // in error) when it cannot.
    static bool savePng(BITMAP* picture, const std::string& pngPath, std::string& error);
};
