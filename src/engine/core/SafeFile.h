#pragma once

#include <sstream>
#include <string>

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

private:
    std::string path;
    std::ostringstream buffer;
};
