#include "file_util.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace tools {

std::string readTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBinaryFile(const std::string& path, const std::string& bytes)
{
    const std::filesystem::path target(path);
    if (target.has_parent_path())
        std::filesystem::create_directories(target.parent_path());
    // Write beside the target and rename, so an interrupted build never leaves half a file.
    const std::filesystem::path partial = target.string() + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw std::runtime_error("cannot write " + partial.string());
    }
    std::filesystem::rename(partial, target);
}

void writeBinaryFile(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    writeBinaryFile(path, std::string(bytes.begin(), bytes.end()));
}

} // namespace tools
