#pragma once

#include <allegro.h>

#include <memory>
#include <string>
#include <vector>

// Builds an Allegro datafile in memory and writes it, LZSS-packed, in the
// layout that load_datafile reads: the game's artwork, fonts and levels are
// made by the data builder through this class, and tests make small
// datafiles of their own with it.
//
//     DatafileWriter out;
//     out.addBitmap(coinPicture, "COIN_0");
//     DatafileWriter& frames = out.addNested("FISH");
//     frames.addRleSprite(fishPicture, "FISH_0");
//     out.save("dat/coin.dat");
//
// Everything given is copied when it is added, so the caller may destroy its
// bitmaps straight away. The same objects always give the same bytes.
class DatafileWriter {
public:
    DatafileWriter();
    ~DatafileWriter();
    DatafileWriter(const DatafileWriter&) = delete;
    DatafileWriter& operator=(const DatafileWriter&) = delete;

    // Each add returns the index of the new object, or -1 when the input
    // cannot be stored (a null bitmap, an unsupported colour depth...), in
    // which case nothing is added.

    // A bitmap at its own colour depth (8, 15, 16, 24 or 32).
    int addBitmap(BITMAP* bitmap, const std::string& name = "");
    // A run-length sprite made from the bitmap (mask colour transparent).
    int addRleSprite(BITMAP* bitmap, const std::string& name = "");
    int addPalette(const PALETTE palette, const std::string& name = "");
    // A colour font of 8-bit glyphs for the characters firstChar,
    // firstChar + 1, ...; colour 0 of a glyph is transparent. Drawn in
    // colour -1 the glyphs take their colours from the current palette.
    int addFont(int firstChar, const std::vector<BITMAP*>& glyphs, const std::string& name = "");
    int addData(const std::vector<unsigned char>& bytes, const std::string& name = "");
    // A nested datafile; fill the returned writer (it lives as long as this
    // one). Its index is size() - 1 after the call.
    DatafileWriter& addNested(const std::string& name = "");

    // Writes the datafile; an existing file is replaced only once the new
    // one is complete. False when it could not be written.
    bool save(const std::string& path) const;
    int size() const { return static_cast<int>(objects.size()); }

private:
    // The datafile's contents as they are packed into the file.
    std::vector<unsigned char> contents() const;

    struct Object {
        int type = 0;
        std::string name;
        std::vector<unsigned char> payload;
        std::unique_ptr<DatafileWriter> nested;
    };

    int addObject(int type, const std::string& name, std::vector<unsigned char> payload);
    void appendObjects(std::vector<unsigned char>& out) const;

    std::vector<Object> objects;
};
