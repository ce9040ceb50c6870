// The shipped level maps, their pictures and the default settings.
#include "data_files.h"
#include "levels.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <vector>

using datatest::readBytes;
using datatest::sourceDir;

namespace {

constexpr int kLevels = 15;

std::string shippedMap(int number) { return readBytes(sourceDir() / "data" / (std::to_string(number) + ".dbm")); }

// Decodes the 40 records independently of the generator; fails the test on any byte out of form.
std::vector<int> decodeRecords(const std::string& bytes, int number)
{
    std::vector<int> values;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", at);
        if (end == std::string::npos) {
            ADD_FAILURE() << number << ".dbm: record without CR LF at byte " << at;
            break;
        }
        const std::string record = bytes.substr(at, end - at);
        EXPECT_EQ(record.size(), 3u) << number << ".dbm record " << values.size() + 1;
        EXPECT_TRUE(record.size() == 3 && record[0] == ' ' && record[2] == ' ' && record[1] >= '0' && record[1] <= '3')
            << number << ".dbm record " << values.size() + 1 << " is \"" << record << "\"";
        values.push_back(record.size() == 3 ? record[1] - '0' : -1);
        at = end + 2;
    }
    return values;
}

int sum(const std::vector<int>& values)
{
    int total = 0;
    for (int v : values)
        total += v;
    return total;
}

} // namespace

TEST(ShippedMaps, EachIsFortyCrLfRecordsInTwoHundredBytes)
{
    for (int n = 1; n <= kLevels; ++n) {
        const std::string bytes = shippedMap(n);
        EXPECT_EQ(bytes.size(), 200u) << n << ".dbm";
        EXPECT_EQ(decodeRecords(bytes, n).size(), 40u) << n << ".dbm";
    }
}

TEST(ShippedMaps, EveryMapHasACellAndAllDiffer)
{
    std::set<std::string> seen;
    for (int n = 1; n <= kLevels; ++n) {
        const std::string bytes = shippedMap(n);
        EXPECT_GT(sum(decodeRecords(bytes, n)), 0) << n << ".dbm is empty";
        EXPECT_TRUE(seen.insert(bytes).second) << n << ".dbm repeats an earlier map";
    }
}

TEST(ShippedMaps, DifficultyRisesFromLevelToLevel)
{
    std::vector<int> hits;
    for (int n = 1; n <= kLevels; ++n)
        hits.push_back(sum(decodeRecords(shippedMap(n), n)));
    for (int n = 1; n < kLevels; ++n)
        EXPECT_GE(hits[n], hits[n - 1] * 9 / 10) << "level " << n + 1 << " is much easier than level " << n;
    const int firstFive = hits[0] + hits[1] + hits[2] + hits[3] + hits[4];
    const int middleFive = hits[5] + hits[6] + hits[7] + hits[8] + hits[9];
    const int lastFive = hits[10] + hits[11] + hits[12] + hits[13] + hits[14];
    EXPECT_LT(firstFive, middleFive);
    EXPECT_LT(middleFive, lastFive);
}

TEST(ShippedMaps, OpeningLevelsAreMostlyGreen)
{
    for (int n = 1; n <= 3; ++n) {
        int cells = 0, green = 0;
        for (int v : decodeRecords(shippedMap(n), n)) {
            cells += v != 0;
            green += v == 1;
            EXPECT_NE(v, 3) << "red cell in opening level " << n;
        }
        EXPECT_GE(green * 10, cells * 8) << "level " << n;
    }
}

TEST(ShippedMaps, FinalLevelsNeedRedCells)
{
    for (int n = kLevels - 4; n <= kLevels; ++n) {
        int red = 0;
        for (int v : decodeRecords(shippedMap(n), n))
            red += v == 3;
        EXPECT_GE(red, 6) << "level " << n;
    }
}

TEST(ShippedMaps, MatchThePicturesTheyAreMadeFrom)
{
    const auto levels = tools::parseLevels(readBytes(sourceDir() / "data" / "levels.txt"));
    ASSERT_EQ(levels.size(), static_cast<std::size_t>(kLevels));
    for (const auto& map : levels)
        EXPECT_EQ(tools::encodeDbm(map), shippedMap(map.number))
            << map.number << ".dbm is stale: rebuild the plinkat_levels target";
}

TEST(ShippedSettings, ConfigIsTheExactDefaultBytes)
{
    EXPECT_EQ(readBytes(sourceDir() / "data" / "config.cfg"), std::string(" 5  1  4 \r\n"));
}

TEST(PlayFolder, HoldsEveryShippedMapAndTheSettings)
{
    for (int n = 1; n <= kLevels; ++n)
        EXPECT_TRUE(std::filesystem::exists(datatest::playDir() / (std::to_string(n) + ".dbm"))) << n << ".dbm";
    EXPECT_TRUE(std::filesystem::exists(datatest::playDir() / "config.cfg"));
}

TEST(MapEncoding, RecordsRunDownEachColumnThenAcross)
{
    tools::LevelMap map;
    map.cells[2][1] = 2; // x = 2, y = 3
    map.cells[0][9] = 3; // x = 10, y = 1
    const std::string bytes = tools::encodeDbm(map);
    ASSERT_EQ(bytes.size(), 200u);
    const auto record = [&](int index) { return bytes.substr(static_cast<std::size_t>(index) * 5, 5); };
    EXPECT_EQ(record((2 - 1) * 4 + (3 - 1)), " 2 \r\n");
    EXPECT_EQ(record((10 - 1) * 4 + (1 - 1)), " 3 \r\n");
    EXPECT_EQ(record(0), " 0 \r\n");
    EXPECT_EQ(map.weight(), 5);
    EXPECT_EQ(map.filledCells(), 2);
}

TEST(MapEncoding, NegativeAndWideValuesKeepTheRecordForm)
{
    EXPECT_EQ(tools::encodeRecord(-1), "-1 \r\n");
    EXPECT_EQ(tools::encodeRecord(12), " 12 \r\n");
    EXPECT_EQ(tools::encodeRecord(0), " 0 \r\n");
}

TEST(LevelPictures, ReadRowsTopToBottom)
{
    const auto levels = tools::parseLevels("# a comment\nlevel 1 Corner\n1.........\n..........\n"
                                           "..........\n.........3\r\n");
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_EQ(levels[0].title, "Corner");
    EXPECT_EQ(levels[0].at(1, 1), 1);
    EXPECT_EQ(levels[0].at(10, 4), 3);
    EXPECT_EQ(levels[0].weight(), 4);
}

TEST(LevelPictures, RejectMalformedPictures)
{
    const std::string rows = "1111111111\n..........\n..........\n..........\n";
    EXPECT_THROW(tools::parseLevels("level 1 Short\n111\n" + rows), std::runtime_error);
    EXPECT_THROW(tools::parseLevels("level 1 Paint\n111111111x\n" + rows.substr(11)), std::runtime_error);
    EXPECT_THROW(tools::parseLevels("level 2 Skips\n" + rows), std::runtime_error);
    EXPECT_THROW(tools::parseLevels("level 1 Cut\n" + rows.substr(0, 22)), std::runtime_error);
    EXPECT_THROW(tools::parseLevels("level 1 Blank\n..........\n..........\n..........\n..........\n"),
                 std::runtime_error);
    EXPECT_THROW(tools::parseLevels("stage 1 Word\n" + rows), std::runtime_error);
}
