#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// What every reader harness shares: Allegro started once without drivers, a
// private scratch folder as the working directory (the game's files are
// read and written there, never in the tree), and a loud stop when a round
// trip disagrees, so libFuzzer keeps the input.
class FuzzScratch {
public:
    // Idempotent: the first call starts Allegro and moves into the folder.
    static void enter();
    // A fresh debug.log for the next input, so a million runs do not fill
    // the disk with lines about damaged files.
    static void startInput();
    static void writeFile(const std::string& path, const uint8_t* data, size_t size);
    static std::string readFile(const std::string& path);
    static void remove(const std::string& path);
    // Prints what disagreed and aborts: libFuzzer reports it as a crash.
    [[noreturn]] static void fail(const std::string& what);
};
