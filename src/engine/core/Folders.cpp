#include "engine/core/Folders.h"

#include <cerrno>
#include <sys/stat.h>

namespace {

std::string& writableFolder()
{
    static std::string folder;
    return folder;
}

bool isFolder(const std::string& path)
{
    struct stat info { };
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string parentOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

std::string joined(const std::string& folder, const std::string& name)
{
    if (folder.empty()) {
        return name;
    }
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

} // namespace

bool Folders::holdsData(const std::string& folder)
{
    return isFolder(joined(folder.empty() ? "." : folder, "dat"));
}

Folders::Choice Folders::choose(const std::string& dataOption, const std::string& executable,
    const std::string& xdgDataHome, const std::string& home)
{
    // The player's own folder, for an installed game or a --data folder;
    // an XDG_DATA_HOME that is not absolute is to be ignored.
    std::string userFolder;
    if (!xdgDataHome.empty() && xdgDataHome.front() == '/') {
        userFolder = joined(xdgDataHome, "tidewander");
    } else if (!home.empty()) {
        userFolder = joined(home, ".local/share/tidewander");
    } else {
        userFolder = ".tidewander";
    }

    Choice choice;
    if (!dataOption.empty()) {
        if (!holdsData(dataOption)) {
            choice.problem = "No game data (dat/) in " + dataOption;
            return choice;
        }
        choice.data = dataOption;
        choice.writable = userFolder;
        return choice;
    }
    // The run folder, started from inside it: everything as it always was.
    if (holdsData(".")) {
        return choice;
    }
    std::string binFolder = parentOf(executable);
    std::string shared = joined(parentOf(binFolder), "share/tidewander");
    if (holdsData(shared)) {
        choice.data = shared;
        choice.writable = userFolder;
        return choice;
    }
    // The run folder started from elsewhere: it is still the game's own.
    if (holdsData(binFolder)) {
        choice.data = binFolder;
        choice.writable = binFolder;
        return choice;
    }
    choice.problem = "No game data found: looked in the current folder, " + shared + " and " + binFolder
        + " (give one with --data)";
    return choice;
}

std::string Folders::writable(const std::string& name)
{
    return joined(writableFolder(), name);
}

void Folders::setWritable(const std::string& folder)
{
    writableFolder() = folder;
}

const std::string& Folders::writableRoot()
{
    return writableFolder();
}

bool Folders::makeFolders(const std::string& folder)
{
    if (folder.empty() || isFolder(folder)) {
        return true;
    }
    std::string parent = parentOf(folder);
    if (parent != folder && !makeFolders(parent)) {
        return false;
    }
    return mkdir(folder.c_str(), 0755) == 0 || (errno == EEXIST && isFolder(folder));
}
