#include "engine/core/SafeFile.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

SafeFile::SafeFile(const std::string& filePath)
    : path(filePath)
    , buffer(std::ios::out | std::ios::binary)
{
}

bool SafeFile::commit()
{
    return write(path, buffer.str());
}

namespace {

bool writeAll(int fd, const std::string& contents)
{
    const char* data = contents.data();
    size_t left = contents.size();
    while (left > 0) {
        ssize_t written = ::write(fd, data, left);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return true;
}

} // namespace

bool SafeFile::write(const std::string& path, const std::string& contents)
{
    if (path.empty()) {
        return false;
    }
    // The temporary file sits beside the target so that the rename stays on
    // one file system and is atomic.
    std::string temporary = temporaryPattern(path);
    int fd = mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    // mkstemp makes the file private; give it the usual permissions.
    mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);

    bool ok = writeAll(fd, contents) && fsync(fd) == 0;
    ok = (close(fd) == 0) && ok;
    if (ok && std::rename(temporary.c_str(), path.c_str()) == 0) {
        syncFolderOf(path);
        return true;
    }
    std::remove(temporary.c_str());
    return false;
}

bool SafeFile::read(const std::string& path, std::string& contents, bool* unreadable)
{
    contents.clear();
    if (unreadable != nullptr) {
        *unreadable = false;
    }
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) {
        if (unreadable != nullptr) {
            *unreadable = errno != ENOENT && errno != ENOTDIR;
        }
        return false;
    }
    bool ok = true;
    char block[4096];
    for (;;) {
        ssize_t got = ::read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            ok = false;
            break;
        }
        if (got == 0) {
            break;
        }
        contents.append(block, static_cast<size_t>(got));
    }
    close(fd);
    if (!ok) {
        contents.clear();
        if (unreadable != nullptr) {
            *unreadable = true;
        }
    }
    return ok;
}

std::string SafeFile::keepAside(const std::string& path)
{
    std::string aside = path + ".bad";
    struct stat info;
    for (int n = 1; ::lstat(aside.c_str(), &info) == 0; ++n) {
        if (n > 9999) {
            return std::string();
        }
        aside = path + ".bad." + std::to_string(n);
    }
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        return std::string();
    }
    syncFolderOf(path);
    return aside;
}

void SafeFile::syncFolderOf(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

namespace {

const std::string TEMPORARY_MARK = ".saving-";
const size_t RANDOM_PART = 6; // what mkstemp puts in place of "XXXXXX"

} // namespace

std::string SafeFile::temporaryPattern(const std::string& path)
{
    return path + TEMPORARY_MARK + std::string(RANDOM_PART, 'X');
}

bool SafeFile::isTemporaryOf(const std::string& name, const std::string& stem)
{
    // mkstemp's six characters are letters and digits.
    if (name.size() != stem.size() + TEMPORARY_MARK.size() + RANDOM_PART
        || name.compare(0, stem.size(), stem) != 0
        || name.compare(stem.size(), TEMPORARY_MARK.size(), TEMPORARY_MARK) != 0) {
        return false;
    }
    for (size_t i = stem.size() + TEMPORARY_MARK.size(); i < name.size(); ++i) {
        if (!std::isalnum(static_cast<unsigned char>(name[i]))) {
            return false;
        }
    }
    return true;
}

std::vector<std::string> SafeFile::removeLeftovers(
    const std::string& folder, bool (*isOurs)(const std::string& stem))
{
    std::vector<std::string> removed;
    DIR* listing = opendir(folder.empty() ? "." : folder.c_str());
    if (listing == nullptr) {
        return removed;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(listing)) {
        names.emplace_back(entry->d_name);
    }
    closedir(listing);
    const size_t suffix = TEMPORARY_MARK.size() + RANDOM_PART;
    for (const std::string& name : names) {
        if (name.size() <= suffix) {
            continue;
        }
        const std::string stem = name.substr(0, name.size() - suffix);
        if (!isTemporaryOf(name, stem) || !isOurs(stem)) {
            continue;
        }
        std::string path = folder.empty() ? name : folder + "/" + name;
        struct stat info;
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && std::remove(path.c_str()) == 0) {
            removed.push_back(path);
        }
    }
    return removed;
}
