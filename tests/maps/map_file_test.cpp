// The map file format: the written form, reading it back, and the reading rules.
#include "files/map_dbm.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

CellGrid sampleGrid()
{
    CellGrid g{};
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            g[x][y] = static_cast<float>((x * 3 + y) % 4);
    return g;
}

class MapFile : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray read(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir;
};

} // namespace

TEST_F(MapFile, WriteThenReadGivesTheSameGrid)
{
    const CellGrid g = sampleGrid();
    ASSERT_TRUE(map_dbm::write(path("a.dbm"), g));
    CellGrid back{};
    EXPECT_EQ(map_dbm::read(path("a.dbm"), back), map_dbm::ReadStatus::Ok);
    EXPECT_EQ(back, g);
}

TEST_F(MapFile, AllZerosAreFortyLinesOfTwoHundredBytes)
{
    ASSERT_TRUE(map_dbm::write(path("z.dbm"), CellGrid{}));
    QByteArray want;
    for (int i = 0; i < 40; ++i)
        want += " 0 \r\n";
    EXPECT_EQ(read("z.dbm"), want);
    EXPECT_EQ(read("z.dbm").size(), 200);
}

TEST_F(MapFile, RecordsRunDownEachColumnAndNegativeValuesTakeTheSignPosition)
{
    CellGrid g{};
    g[1][1] = 3;
    g[1][2] = 2;
    g[1][3] = 1;
    g[2][1] = -1;
    const QByteArray text = map_dbm::text(g);
    EXPECT_TRUE(text.startsWith(" 3 \r\n 2 \r\n 1 \r\n 0 \r\n-1 \r\n"));
    EXPECT_EQ(text.size(), 200); // "-1 " is as long as " 1 "
}

TEST_F(MapFile, NumbersOnOneLineReadTheSame)
{
    const CellGrid g = sampleGrid();
    QByteArray line;
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            line += QByteArray::number(static_cast<int>(g[x][y])) + (x == 10 && y == 4 ? "" : " ");
    write("line.dbm", line);
    CellGrid back{};
    EXPECT_EQ(map_dbm::read(path("line.dbm"), back), map_dbm::ReadStatus::Ok);
    EXPECT_EQ(back, g);

    write("commas.dbm", QByteArray(line).replace(' ', ','));
    CellGrid back2{};
    EXPECT_EQ(map_dbm::read(path("commas.dbm"), back2), map_dbm::ReadStatus::Ok);
    EXPECT_EQ(back2, g);
}

TEST_F(MapFile, MoreThanFortyNumbersYieldTheFirstForty)
{
    QByteArray text = map_dbm::text(sampleGrid());
    text += " 3 \r\n 3 \r\nrubbish after the map";
    write("long.dbm", text);
    CellGrid back{};
    EXPECT_EQ(map_dbm::read(path("long.dbm"), back), map_dbm::ReadStatus::Ok);
    EXPECT_EQ(back, sampleGrid());
}

TEST_F(MapFile, ABadMapLeavesTheCellsUntouched)
{
    CellGrid cells = sampleGrid();
    cells[0][0] = 9;
    const CellGrid before = cells;

    EXPECT_EQ(map_dbm::read(path("missing.dbm"), cells), map_dbm::ReadStatus::Missing);
    EXPECT_EQ(map_dbm::read(dir.path(), cells), map_dbm::ReadStatus::Missing); // a folder

    QByteArray shortMap;
    for (int i = 0; i < 39; ++i)
        shortMap += " 1 \r\n";
    write("short.dbm", shortMap);
    EXPECT_EQ(map_dbm::read(path("short.dbm"), cells), map_dbm::ReadStatus::TooShort);

    QByteArray nanMap = map_dbm::text(CellGrid{});
    nanMap.replace(5 * 7, 3, "nan");
    write("nan.dbm", nanMap);
    EXPECT_EQ(map_dbm::read(path("nan.dbm"), cells), map_dbm::ReadStatus::NotANumber);

    QByteArray garbage;
    for (int i = 0; i < 256; ++i)
        garbage += static_cast<char>((i * 37 + 11) & 0xff);
    write("garbage.dbm", garbage);
    EXPECT_NE(map_dbm::read(path("garbage.dbm"), cells), map_dbm::ReadStatus::Ok);

    EXPECT_EQ(cells, before);
}
