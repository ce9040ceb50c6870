// Rebuilds the shipped data/N.dbm maps from the pictures in data/levels.txt (run by hand; the maps are committed).
#include "file_util.h"
#include "levels.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <levels.txt> <out dir>\n", argv[0]);
        return 2;
    }
    try {
        const auto levels = tools::parseLevels(tools::readTextFile(argv[1]));
        for (const tools::LevelMap& map : levels) {
            tools::writeBinaryFile(std::string(argv[2]) + "/" + std::to_string(map.number) + ".dbm",
                                   tools::encodeDbm(map));
            std::printf("%2d %-12s cells %2d  hits %3d\n", map.number, map.title.c_str(), map.filledCells(),
                        map.weight());
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
