#pragma once

#include <string>

// Where the builder reads its hand-written sources and writes the run folder.
struct BuildContext {
    std::string sourceDir; // data/ of the repository: level maps, credits
    std::string outDir; // the run folder: dat/, lvl/, sfx/, mus/, credits.txt
    std::string sheetsDir; // empty, or where to write PNG contact sheets
    std::string iconsDir; // empty, or where to write the desktop icons
};
