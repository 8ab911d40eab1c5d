#include "game/app/CommandLine.h"

#include <cerrno>
#include <cstdlib>

#ifndef TIDEWANDER_VERSION
#define TIDEWANDER_VERSION "0"
#endif

namespace {

constexpr int MAX_FPS = 1000;
constexpr int LAST_LEVEL = 1003;

bool parseNumber(const std::string& text, int low, int high, int& out)
{
    if (text.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || value < low || value > high) {
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

} // namespace

bool CommandLine::parse(const std::vector<std::string>& arguments)
{
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string option = arguments[i];
        std::string value;
        bool hasValue = false;
        // --fps=60 reads like --fps 60.
        size_t equals = option.find('=');
        if (option.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = option.substr(equals + 1);
            option = option.substr(0, equals);
            hasValue = true;
        }
        auto takeValue = [&]() {
            if (hasValue) {
                return true;
            }
            if (i + 1 >= arguments.size()) {
                error = "Option " + option + " needs a value";
                return false;
            }
            value = arguments[++i];
            return true;
        };
        auto noValue = [&]() {
            if (hasValue) {
                error = "Option " + option + " takes no value";
                return false;
            }
            return true;
        };

        if (option == "--help" || option == "-h") {
            if (!noValue()) {
                return false;
            }
            help = true;
        } else if (option == "--version") {
            if (!noValue()) {
                return false;
            }
            showVersion = true;
        } else if (option == "--windowed" || option == "--fullscreen") {
            if (!noValue()) {
                return false;
            }
            fullscreen = option == "--fullscreen" ? 1 : 0;
        } else if (option == "--data") {
            if (!takeValue()) {
                return false;
            }
            if (value.empty()) {
                error = "Option --data needs a folder";
                return false;
            }
            dataFolder = value;
        } else if (option == "--fps") {
            if (!takeValue()) {
                return false;
            }
            if (!parseNumber(value, 1, MAX_FPS, fps)) {
                error = "Option --fps needs a number of frames a second from 1 to " + std::to_string(MAX_FPS)
                    + ", not [" + value + "]";
                return false;
            }
        } else if (option == "--as") {
            if (!takeValue()) {
                return false;
            }
            if (!parseNumber(value, 0, LAST_LEVEL, asLevel) || (asLevel > 49 && asLevel < 1000)) {
                error = "Option --as needs a level number, 0 to 49 or 1000 to 1003, not [" + value + "]";
                return false;
            }
        } else if (option == "--map" || option == "--record" || option == "--replay") {
            if (!takeValue()) {
                return false;
            }
            if (value.empty()) {
                error = "Option " + option + " needs a file";
                return false;
            }
            std::string& target = option == "--map" ? mapFile
                : option == "--record"              ? recordFile
                                                    : replayFile;
            target = value;
        } else {
            error = "Unknown option [" + option + "]";
            return false;
        }
    }
    if (!recordFile.empty() && !replayFile.empty()) {
        error = "--record and --replay cannot be used together";
        return false;
    }
    return true;
}

std::string CommandLine::usage(const std::string& program)
{
    return "Usage: " + program
        + " [options]\n"
          "Tidewander: steer a small fish through fifty levels under the sea.\n"
          "\n"
          "  --help             show this help and exit\n"
          "  --version          show the version and exit\n"
          "  --windowed         play in a window this time (settings.cfg unchanged)\n"
          "  --fullscreen       play full screen this time (settings.cfg unchanged)\n"
          "  --data DIR         read the game's data from DIR (saves go to the\n"
          "                     player's data folder)\n"
          "  --fps N            draw at most N frames a second (also TIDEWANDER_FPS)\n"
          "  --map FILE         play a level map of your own (a .txt map)\n"
          "  --as N             play --map with the properties of level N (default 0)\n"
          "  --record FILE      write the keys of the next level played to FILE\n"
          "  --replay FILE      play a recording back\n"
          "\n"
          "Keys: arrows to swim, Space to blow a bubble, Esc for the menu,\n"
          "F12 to save a screenshot.\n";
}

std::string CommandLine::version()
{
    return std::string("Tidewander ") + TIDEWANDER_VERSION;
}
