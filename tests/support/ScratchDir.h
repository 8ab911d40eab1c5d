#pragma once

#include <string>

// A fresh temporary folder that becomes the working directory while the
// object lives; the previous directory is restored and the folder removed
// afterwards. Tests that write files construct one of their own.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return dir; }

private:
    std::string dir;
    std::string previous;
};
