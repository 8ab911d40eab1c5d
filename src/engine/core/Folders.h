#pragma once

#include <string>

// Where the game reads its data and where it keeps what it writes.
//
// Run from its build folder the two are the same folder, the current one,
// exactly as the game has always run. An installed game reads its data from
// the shared folder beside its bin/ and keeps settings, profiles and the log
// in the player's own data folder ($XDG_DATA_HOME/tidewander), since the
// shared folder is not the player's to write.
class Folders {
public:
    struct Choice {
        std::string data; // empty: the current folder
        std::string writable; // empty: the current folder
        std::string problem; // why no data folder could be found
    };

    // Decides the two folders. dataOption is --data's folder (empty when not
    // given), executable the path of the running program, xdgDataHome and
    // home the environment's values (empty when unset).
    static Choice choose(const std::string& dataOption, const std::string& executable,
        const std::string& xdgDataHome, const std::string& home);

    // A file of the writable folder: the name itself while that is the
    // current folder.
    static std::string writable(const std::string& name);
    static void setWritable(const std::string& folder);
    static const std::string& writableRoot();

    // Makes a folder and its parents; true when it exists afterwards.
    static bool makeFolders(const std::string& folder);

    // True when a folder holds the game's data (its dat/ folder).
    static bool holdsData(const std::string& folder);
};
