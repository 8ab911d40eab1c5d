#include "support/ScratchDir.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

ScratchDir::ScratchDir()
{
    std::error_code ec;
    previous = std::filesystem::current_path(ec).string();
    std::string pattern = (std::filesystem::temp_directory_path() / "tidewander-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        dir = pattern;
        std::filesystem::current_path(dir, ec);
    }
}

ScratchDir::~ScratchDir()
{
    std::error_code ec;
    if (!previous.empty()) {
        std::filesystem::current_path(previous, ec);
    }
    if (!dir.empty()) {
        std::filesystem::remove_all(dir, ec);
    }
}
