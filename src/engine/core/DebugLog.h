#pragma once

#include <string>

// The one diagnostics channel: every line goes to debug.log in the working
// directory; error reports also reach the player, and in fatal mode end the
// program (with a non-zero exit status, so scripts see the failure) after a
// message box with the error and the fatal message under it.
class DebugLog {
public:
    // Plain lines pass isError = false; error reports pass true. The line is
    // on disk before any message box appears.
    static void log(const std::string& message, bool isError = false);
    static void setFatalMode(bool on);
    static void setFatalMessage(const std::string& message);
    static bool fatalMode();
    static const std::string& fatalMessage();
    // Closes the file so that the next line starts a fresh debug.log, as a
    // new run of the program would (tests).
    static void reset();
};
