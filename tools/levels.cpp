#include "levels.h"

#include <cstdlib>
#include <stdexcept>

namespace tools {

int LevelMap::filledCells() const
{
    int count = 0;
    for (const auto& row : cells)
        for (int value : row)
            count += value != 0;
    return count;
}

int LevelMap::weight() const
{
    int sum = 0;
    for (const auto& row : cells)
        for (int value : row)
            sum += value;
    return sum;
}

namespace {

[[noreturn]] void fail(int line, const std::string& message)
{
    throw std::runtime_error("levels.txt:" + std::to_string(line) + ": " + message);
}

std::string_view trimmed(std::string_view line)
{
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    return line;
}

} // namespace

std::vector<LevelMap> parseLevels(std::string_view text)
{
    std::vector<LevelMap> levels;
    int rowsWanted = 0;
    int lineNumber = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        ++lineNumber;

        if (rowsWanted > 0) {
            if (line.size() != kMapColumns)
                fail(lineNumber, "a map row is ten characters wide");
            auto& row = levels.back().cells[static_cast<std::size_t>(kMapRows - rowsWanted)];
            for (std::size_t x = 0; x < line.size(); ++x) {
                const char c = line[x];
                if (c != '.' && (c < '1' || c > '3'))
                    fail(lineNumber, std::string("unknown cell '") + c + "', use . 1 2 3");
                row[x] = c == '.' ? 0 : c - '0';
            }
            if (--rowsWanted == 0 && levels.back().filledCells() == 0)
                fail(lineNumber, "level " + std::to_string(levels.back().number) + " has no cells");
            continue;
        }
        if (line.empty() || line.front() == '#')
            continue;
        if (line.substr(0, 6) != "level ")
            fail(lineNumber, "expected \"level N Title\"");
        const std::string rest(trimmed(line.substr(6)));
        char* afterNumber = nullptr;
        const long number = std::strtol(rest.c_str(), &afterNumber, 10);
        if (afterNumber == rest.c_str() || number != static_cast<long>(levels.size()) + 1)
            fail(lineNumber, "levels are numbered 1, 2, 3... in order");
        LevelMap map;
        map.number = static_cast<int>(number);
        map.title = std::string(trimmed(afterNumber));
        levels.push_back(map);
        rowsWanted = kMapRows;
    }
    if (rowsWanted > 0)
        fail(lineNumber, "the last map is cut short");
    return levels;
}

std::string encodeRecord(int value)
{
    return (value < 0 ? "-" : " ") + std::to_string(std::abs(value)) + " \r\n";
}

std::string encodeDbm(const LevelMap& map)
{
    std::string out;
    for (int x = 1; x <= kMapColumns; ++x)
        for (int y = 1; y <= kMapRows; ++y)
            out += encodeRecord(map.at(x, y));
    return out;
}

} // namespace tools
