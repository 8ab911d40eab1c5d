#pragma once

#include "engine/media/DatafileWriter.h"
#include "game/play/LevelColours.h"

#include <allegro.h>

#include <string>
#include <vector>

// Tiny pictures under the names of every datafile a level loads (the fish,
// its bubbles, the treasure and each creature of the colour table), for
// tests that build levels without the shipped artwork. False when a file
// could not be written.
inline bool writeStandInArtwork(const std::string& folder)
{
    std::vector<std::string> names
        = { "bubble.dat", "treasure.dat", "dorir.dat", "particles.dat", "plunger.dat" };
    for (const LevelColours::Row& row : LevelColours::rows()) {
        if (row.datafile[0] != '\0') {
            names.push_back(row.datafile);
        }
    }
    DatafileWriter out;
    BITMAP* picture = create_bitmap_ex(16, 4, 4);
    clear_to_color(picture, makecol16(200, 120, 40));
    for (int i = 0; i < 6; ++i) {
        out.addBitmap(picture);
    }
    out.addData({ 0 }); // the cache keeps a file's last object out of reach
    destroy_bitmap(picture);
    bool ok = true;
    for (const std::string& name : names) {
        ok = out.save(folder + "/" + name) && ok;
    }
    return ok;
}
