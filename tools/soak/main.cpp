// Plays the built game with random keys for a number of simulated minutes
// and fails on a crash, an error report or memory that keeps growing:
//
//     soak <run folder> [--minutes N] [--seed N]
#include "soak/Soak.h"

#include <allegro.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int usage()
{
    std::fprintf(stderr, "usage: soak <run folder> [--minutes N] [--seed N] [--no-memory-check]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        return usage();
    }
    Soak::Options options;
    options.runDir = argv[1];
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--minutes") == 0 && i + 1 < argc) {
            options.minutes = std::atof(argv[++i]);
        } else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) {
            options.seed = static_cast<unsigned>(std::strtoul(argv[++i], nullptr, 10));
        } else if (std::strcmp(argv[i], "--no-memory-check") == 0) {
            options.checkMemory = false;
        } else {
            return usage();
        }
    }
#if defined(__SANITIZE_ADDRESS__)
    // The sanitizer holds freed memory back on purpose, which would read as
    // growth; LeakSanitizer checks for leaks at exit instead.
    options.checkMemory = false;
#endif
    if (options.minutes <= 0.0) {
        return usage();
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "soak: Allegro did not start\n");
        return 1;
    }
    set_color_depth(16);

    const auto began = std::chrono::steady_clock::now();
    Soak soak(options);
    const bool clean = soak.run();
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();

    std::printf("soak: %.1f simulated minutes (seed %u) in %.0f s: %ld frames, %d games started, %d levels "
                "started, %zu levels built, memory %ld KiB early, %ld KiB late\n",
        soak.frames / 6000.0, options.seed, wall, soak.frames, soak.sessions, soak.levelsStarted,
        soak.builtLevels.size(), soak.memoryEarly / 1024, soak.memoryLate / 1024);
    for (const std::string& fault : soak.faults) {
        std::fprintf(stderr, "soak: %s\n", fault.c_str());
    }
    return clean ? 0 : 1;
}
