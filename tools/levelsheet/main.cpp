// Draws every level of the built game into a folder of PNG pictures, one
// per level, as the game draws them:
//
//     levelsheet <run folder> <pictures folder>
#include "levelsheet/LevelSheet.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: levelsheet <run folder> <pictures folder>\n");
        return 2;
    }
    std::error_code failure;
    const std::filesystem::path run = std::filesystem::absolute(argv[1], failure);
    const std::filesystem::path out = std::filesystem::absolute(argv[2], failure);
    std::filesystem::create_directories(out, failure);
    // The game writes its log where it runs: a scratch folder that borrows
    // the run folder's data, so the run folder stays as the player gets it.
    const std::filesystem::path work = std::filesystem::temp_directory_path() / "tidewander-levelsheet";
    std::filesystem::remove_all(work, failure);
    std::filesystem::create_directories(work, failure);
    for (const char* folder : { "dat", "lvl" }) {
        std::filesystem::create_directory_symlink(run / folder, work / folder, failure);
    }
    if (failure || chdir(work.c_str()) != 0) {
        std::fprintf(stderr, "levelsheet: cannot prepare [%s]\n", work.c_str());
        return 1;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "levelsheet: Allegro did not start\n");
        return 1;
    }
    set_color_depth(16);

    int failed = 0;
    int drawn = 0;
    auto drawLevel = [&](int level) {
        char name[32];
        std::snprintf(name, sizeof name, level < 1000 ? "level%02d.png" : "minigame%d.png", level);
        std::string error;
        if (LevelSheet::draw(level, (out / name).string(), error)) {
            ++drawn;
        } else {
            std::fprintf(stderr, "levelsheet: %s\n", error.c_str());
            ++failed;
        }
    };
    for (int level = 0; level < 50; ++level) {
        drawLevel(level);
    }
    for (int level = 1000; level <= 1003; ++level) {
        drawLevel(level);
    }
    std::filesystem::remove_all(work, failure);
    std::printf("levelsheet: %d levels drawn into %s\n", drawn, out.c_str());
    return failed == 0 ? 0 : 1;
}
