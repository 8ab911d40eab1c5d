#include "engine/core/SafeFile.h"

#include <cerrno>
#include <cstdio>
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
    std::string temporary = path + ".XXXXXX";
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
        return true;
    }
    std::remove(temporary.c_str());
    return false;
}
