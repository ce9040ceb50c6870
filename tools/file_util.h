#pragma once
// Whole-file reading and writing for the data generators.
#include <cstdint>
#include <string>
#include <vector>

namespace tools {

// Throws std::runtime_error when the file cannot be read or written.
std::string readTextFile(const std::string& path);
void writeBinaryFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
void writeBinaryFile(const std::string& path, const std::string& bytes);

} // namespace tools
