#pragma once
// The shipped level maps: their readable pictures (data/levels.txt) and the .dbm form the game reads.
//
// levels.txt holds, for each level, a line "level N Title" and four rows of ten characters,
// top to bottom: "." empty, "1" green, "2" yellow, "3" red.
// A .dbm file is 40 text records in column order (x = 1..10, and within each column y = 1..4),
// each " <digits> " ("-" instead of the leading space for a negative value) ending in CR LF.
#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace tools {

constexpr int kMapColumns = 10;
constexpr int kMapRows = 4;

struct LevelMap {
    int number = 0;
    std::string title;
    std::array<std::array<int, kMapColumns>, kMapRows> cells{}; // [row][column], both 0-based

    int at(int x, int y) const { return cells[static_cast<std::size_t>(y - 1)][static_cast<std::size_t>(x - 1)]; }
    int filledCells() const;
    int weight() const; // sum of the cell values: how many hits clear the level
};

// Throws std::runtime_error naming the line of the first mistake. Levels must be numbered 1, 2, 3...
std::vector<LevelMap> parseLevels(std::string_view text);

std::string encodeRecord(int value);
std::string encodeDbm(const LevelMap& map);

} // namespace tools
