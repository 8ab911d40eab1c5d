#include "FuzzScratch.h"

#include "engine/core/DebugLog.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

void FuzzScratch::enter()
{
    static bool entered = false;
    if (entered) {
        return;
    }
    entered = true;
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        fail("Allegro would not start");
    }
    set_color_depth(16);
    // In memory when the machine has a memory file system: every save
    // syncs to disk, which would otherwise cost more than the reading.
    // Allegro's own config file must not land in the tree either.
    struct stat shm { };
    std::string folder = ::stat("/dev/shm", &shm) == 0 && S_ISDIR(shm.st_mode) ? "/dev/shm" : "/tmp";
    folder += "/tidewander-fuzz-XXXXXX";
    if (mkdtemp(&folder[0]) == nullptr || chdir(folder.c_str()) != 0) {
        fail("no scratch folder");
    }
    static std::string made = folder;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(made, ignored);
    });
    ::mkdir("profiles", 0777);
    DebugLog::setFatalMode(false);
}

void FuzzScratch::startInput()
{
    DebugLog::reset();
    DebugLog::setFatalMode(false);
}

void FuzzScratch::writeFile(const std::string& path, const uint8_t* data, size_t size)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        fail("could not write " + path);
    }
}

std::string FuzzScratch::readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void FuzzScratch::remove(const std::string& path)
{
    std::remove(path.c_str());
}

void FuzzScratch::fail(const std::string& what)
{
    std::fprintf(stderr, "round trip failed: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}
