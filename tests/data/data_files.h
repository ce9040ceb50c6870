#pragma once
// Reading the shipped and generated data files in the data tests.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace datatest {

inline std::string readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::filesystem::path sourceDir() { return PLINKAT_SOURCE_DIR; }
inline std::filesystem::path playDir() { return PLINKAT_PLAY_DIR; }

} // namespace datatest
