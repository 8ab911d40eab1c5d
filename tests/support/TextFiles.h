#pragma once

#include <fstream>
#include <iterator>
#include <string>

// Whole files as byte strings, for tests that check what the game wrote or
// hand it a file of their own. A missing file reads as "".
inline std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& contents)
{
    std::ofstream(path, std::ios::binary) << contents;
}
