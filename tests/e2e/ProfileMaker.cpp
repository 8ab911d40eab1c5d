// Writes a profile for the end-to-end tests through the game's own files:
// profiles.cfg naming it as the only and current profile, and its progress
// file with the given highest level (the rest as a fresh profile has it).
//
//     e2e_profile <game folder> <name> <highest level>
#include "game/app/ProfileList.h"
#include "game/app/ProgressFile.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <game folder> <name> <highest level>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const std::string name = argv[2];
    char* end = nullptr;
    const long level = std::strtol(argv[3], &end, 10);
    if (*argv[3] == '\0' || *end != '\0' || level < 0 || level > 1000) {
        std::fprintf(stderr, "'%s' is not a highest level\n", argv[3]);
        return 2;
    }
    if (!ProfileList::isSafeName(name)) {
        std::fprintf(stderr, "'%s' cannot be a profile's name\n", name.c_str());
        return 2;
    }
    // Packed files need Allegro, though nothing is shown.
    if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
        std::fprintf(stderr, "Allegro would not start\n");
        return 1;
    }
    ::mkdir((folder + "/profiles").c_str(), 0777);
    ProgressFile progress;
    progress.highestLevel = static_cast<int>(level);
    if (!progress.save(folder + "/profiles/" + name + ".dat")) {
        std::fprintf(stderr, "could not write the progress of %s\n", name.c_str());
        return 1;
    }
    if (!ProfileList::write(folder + "/" + ProfileList::FILE_NAME, { name }, name)) {
        std::fprintf(stderr, "could not write %s\n", ProfileList::FILE_NAME);
        return 1;
    }
    return 0;
}
