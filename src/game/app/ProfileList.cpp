#include "game/app/ProfileList.h"

#include "engine/core/SafeFile.h"

#include <sstream>

const char* const ProfileList::FILE_NAME = "profiles.cfg";
const char* const ProfileList::DEFAULT_PROFILE = "dorir";

bool ProfileList::isSafeName(const std::string& name)
{
    if (name.find_first_not_of(" \t") == std::string::npos) {
        return false;
    }
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos
        || name.find("..") != std::string::npos) {
        return false;
    }
    for (char c : name) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 32 || u == 127) {
            return false;
        }
    }
    return true;
}

void ProfileList::parse(const std::string& text)
{
    names.clear();
    current.clear();
    hasCurrent = false;
    unreadable = false;
    skipped.clear();

    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    lineCount = static_cast<int>(lines.size());

    // The last line names the current profile only when there are two or more.
    if (lines.size() >= 2) {
        std::string last = lines.back();
        lines.pop_back();
        if (isSafeName(last)) {
            current = last;
            hasCurrent = true;
        } else {
            skipped.push_back(last);
        }
    }
    for (const std::string& line : lines) {
        if (isSafeName(line)) {
            names.push_back(line);
        } else {
            skipped.push_back(line);
        }
    }
}

bool ProfileList::read(const std::string& path)
{
    std::string text;
    bool cannotRead = false;
    bool found = SafeFile::read(path, text, &cannotRead);
    parse(found ? text : std::string());
    unreadable = cannotRead;
    return found;
}

std::string ProfileList::format(const std::vector<std::string>& names, const std::string& current)
{
    std::string text;
    for (const std::string& name : names) {
        text += name + "\n";
    }
    text += current + "\n";
    return text;
}

bool ProfileList::write(
    const std::string& path, const std::vector<std::string>& names, const std::string& current)
{
    return SafeFile::write(path, format(names, current));
}
