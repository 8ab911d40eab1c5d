#pragma once

class DatafileWriter;
class TrueTypeFont;

// The game font: light letters with a dark edge, so that text drawn in the
// font's own colours reads over any background, and the palette they use.
class FontPainter {
public:
    static const int PIXEL_SIZE = 16;
    static const int EDGE = 2;

    static void paint(DatafileWriter& out, const TrueTypeFont& text);
};
