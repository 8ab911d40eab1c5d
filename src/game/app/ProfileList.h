#pragma once

#include <string>
#include <vector>

// profiles.cfg: one profile name per line in list order, then one more line
// naming the current profile.
class ProfileList {
public:
    static const char* const FILE_NAME; // "profiles.cfg"
    static const char* const DEFAULT_PROFILE; // "dorir"

    // Whether a name may become part of a file path: not blank, no '/' or
    // '\\', no "..", no control characters.
    static bool isSafeName(const std::string& name);

    // Splits the text into lines (a line end may be "\n" or "\r\n"). With two
    // lines or more the last one names the current profile. Lines whose names
    // are unsafe are left out and listed in skipped.
    void parse(const std::string& text);
    // parse() of the file; false (and everything empty) when there is none
    // or it cannot be read.
    bool read(const std::string& path);

    static std::string format(const std::vector<std::string>& names, const std::string& current);
    // Replaces the file whole (temporary file and rename).
    static bool write(
        const std::string& path, const std::vector<std::string>& names, const std::string& current);

    std::vector<std::string> names;
    std::string current;
    // Whether the file named a current profile that could be used.
    bool hasCurrent = false;
    // How many lines the file had.
    int lineCount = 0;
    std::vector<std::string> skipped;
    // Something is there but could not be read (a folder, a disk error).
    bool unreadable = false;
};
