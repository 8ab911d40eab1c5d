#include "engine/core/DebugLog.h"

#include "engine/core/Folders.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct LogState {
    std::FILE* file = nullptr;
    bool opened = false;
    bool fatal = false;
    std::string fatalText = "FATAL ERROR";
};

// Never destroyed, so that code running during exit can still log; every
// line is flushed as it is written and the file closes with the process.
LogState& state()
{
    static LogState* instance = new LogState;
    return *instance;
}

} // namespace

void DebugLog::log(const std::string& message, bool isError)
{
    LogState& s = state();
    if (!s.opened) {
        // A new debug.log every run; if it cannot be made, lines are lost
        // but errors still reach the player.
        s.opened = true;
        s.file = std::fopen(Folders::writable("debug.log").c_str(), "w");
    }
    if (s.file != nullptr) {
        std::fwrite(message.data(), 1, message.size(), s.file);
        std::fputc('\n', s.file);
        std::fflush(s.file);
    }
    if (!isError) {
        return;
    }
    if (!s.fatal) {
        allegro_message("%s", message.c_str());
        return;
    }
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    // What went wrong (the file and the reason) comes first, so the player
    // can pass it on when asking for help.
    std::string shown = message + "\n\n" + s.fatalText;
    allegro_message("%s", shown.c_str());
    allegro_exit();
    std::exit(1);
}

void DebugLog::setFatalMode(bool on)
{
    state().fatal = on;
}

void DebugLog::setFatalMessage(const std::string& message)
{
    state().fatalText = message;
}

bool DebugLog::fatalMode()
{
    return state().fatal;
}

const std::string& DebugLog::fatalMessage()
{
    return state().fatalText;
}

void DebugLog::reset()
{
    LogState& s = state();
    if (s.file != nullptr) {
        std::fclose(s.file);
    }
    s.file = nullptr;
    s.opened = false;
}
