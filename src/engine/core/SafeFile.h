#pragma once

#include <sstream>
#include <string>
#include <vector>

// Writes a whole file so that a crash or a full disk mid-write never leaves
// a half-written one behind: the bytes go to a temporary file in the same
// folder, which is flushed to disk and then renamed over the old file.
//
//     SafeFile file("settings.cfg");
//     file.stream() << "resx " << 800 << '\n';
//     file.commit();
//
// Nothing touches the disk until commit(); an object destroyed without a
// commit leaves the old file as it was.
class SafeFile {
public:
    explicit SafeFile(const std::string& path);
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    std::ostream& stream() { return buffer; }
    // Replaces the file with everything written to stream(); false when the
    // file could not be written (the old one, if any, is then untouched).
    bool commit();

    // One-call form for text or binary contents (bytes are written as given).
    static bool write(const std::string& path, const std::string& contents);

    // Reads a whole file without ever throwing. False when there is no file
    // or it cannot be read (a folder, a disk error); unreadable then says
    // whether something was there that could not be read.
    static bool read(const std::string& path, std::string& contents, bool* unreadable = nullptr);

    // Renames a damaged file out of the way so that the player still has it:
    // path + ".bad", or ".bad.1", ".bad.2"... when earlier copies are there.
    // The new name, or "" when it could not be moved.
    static std::string keepAside(const std::string& path);

    // Makes a rename in the folder of path survive a power cut.
    static void syncFolderOf(const std::string& path);

    // The name handed to mkstemp for a temporary beside path. The word
    // "saving" sets our temporaries apart from a player's own copies such
    // as "volume.cfg.backup", which the clean-up at start must never touch.
    static std::string temporaryPattern(const std::string& path);
    // Whether a file name is a temporary one of ours: stem + ".saving-" and
    // mkstemp's six letters and digits.
    static bool isTemporaryOf(const std::string& name, const std::string& stem);
    // Deletes the temporary files a killed write left in folder, those whose
    // stem isOurs accepts; the names of the files removed.
    static std::vector<std::string> removeLeftovers(
        const std::string& folder, bool (*isOurs)(const std::string& stem));

private:
    std::string path;
    std::ostringstream buffer;
};
