#pragma once

#include <string>
#include <vector>

// What the player asked for on the command line. Nothing here is saved:
// --windowed and --fullscreen hold for this run only.
class CommandLine {
public:
    // Reads the arguments after the program's name; false, with error set,
    // for an unknown option or a missing or bad value.
    bool parse(const std::vector<std::string>& arguments);

    static std::string usage(const std::string& program);
    static std::string version();

    bool help = false;
    bool showVersion = false;
    int fullscreen = -1; // -1: as settings.cfg says, 0: windowed, 1: full screen
    std::string dataFolder;
    int fps = 0; // 0: as fast as the machine goes
    std::string mapFile;
    int asLevel = 0;
    std::string recordFile;
    std::string replayFile;
    std::string error;
};
