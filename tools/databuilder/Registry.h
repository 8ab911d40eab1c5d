#pragma once

#include <allegro.h>

#include <string>
#include <vector>

class DatafileWriter;

// Every datafile the game opens, with the objects it must hold, by index,
// type and meaning, as the game's code uses them. The builder checks what it
// writes against this table and the tests check the run folder against it.
//
// The datafile cache hides the last object of a top-level file, so every
// top-level file carries one extra object after the ones listed here
// (addTrailer); nested datafiles do not.
class Registry {
public:
    enum class Kind { Bitmap, RleSprite, Nested, Font, Palette, Data };

    // Objects first..last (inclusive), all of one kind and meaning. For
    // Nested runs, `nested` lists what each nested datafile holds.
    struct Run {
        int first;
        int last;
        Kind kind;
        std::string meaning;
        std::vector<Run> nested;
    };

    struct Datafile {
        std::string path; // relative to the run folder, e.g. "dat/coin.dat"
        int colourDepth; // of its bitmaps
        std::string owner; // "art" or "levels": which builder writes it
        std::vector<Run> runs;
        // Objects the game may address (the file holds one more).
        int objectCount() const;
    };

    static const std::vector<Datafile>& datafiles();
    static const Datafile* find(const std::string& path);

    // Appends the extra object that every top-level datafile ends with.
    static void addTrailer(DatafileWriter& writer);

    // What is wrong with a loaded datafile, one message per fault (empty
    // when it matches). objects is the file's object array and count the
    // number of objects the game may address in it. With checkDepth the
    // bitmaps must have the registered colour depth (load with colour
    // conversion off for that).
    static std::vector<std::string> check(
        const Datafile& entry, const DATAFILE* objects, int count, bool checkDepth = false);

    // The Allegro type code of a kind (DAT_BITMAP...).
    static int typeCode(Kind kind);
    static const char* kindName(Kind kind);
};
