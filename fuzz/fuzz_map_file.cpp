// Map files (*.dbm) as the game reads them: map_dbm::read over an in-memory device.
// A successful read gives exactly the first 40 numbers of the file, all finite, and touches no
// cell outside x 1..10, y 1..4; a failed read leaves the whole grid untouched and names the
// first fault (a bad token before the 40th number, or too few numbers). What the game writes
// back from a read map reads again to the same values within their 7 digits, exactly for a map
// of whole numbers.
#include "files/map_dbm.h"
#include "reference.h"

#include <QBuffer>
#include <cstring>

namespace {

CellGrid sentinelGrid()
{
    CellGrid g{};
    for (int x = 0; x <= 10; ++x)
        for (int y = 0; y <= 4; ++y)
            g[x][y] = 1000.0f + static_cast<float>(10 * x + y);
    return g;
}

map_dbm::ReadStatus readBytes(const QByteArray& bytes, CellGrid& cells)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    return map_dbm::read(buf, cells);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using fuzzref::check;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const CellGrid before = sentinelGrid();
    CellGrid cells = before;
    const map_dbm::ReadStatus status = readBytes(bytes, cells);

    // What the model expects: the first bad token among the first 40 decides, else their count.
    const std::vector<fuzzref::Token> toks = fuzzref::tokens(data, size);
    map_dbm::ReadStatus expected = map_dbm::ReadStatus::Ok;
    for (std::size_t i = 0; i < 40; ++i) {
        if (i >= toks.size()) {
            expected = map_dbm::ReadStatus::TooShort;
            break;
        }
        if (toks[i].kind == fuzzref::TokenKind::Bad) {
            expected = map_dbm::ReadStatus::NotANumber;
            break;
        }
    }
    check(status == expected, "map read status differs from the model", std::to_string(static_cast<int>(status)));
    check(status != map_dbm::ReadStatus::Missing, "an open device is never a missing file");

    if (status != map_dbm::ReadStatus::Ok) {
        check(std::memcmp(&cells, &before, sizeof cells) == 0, "a failed map read changed the grid");
        return 0;
    }

    std::size_t k = 0;
    for (int x = 0; x <= 10; ++x) {
        for (int y = 0; y <= 4; ++y) {
            if (x == 0 || y == 0) {
                check(cells[x][y] == before[x][y], "row 0 or column 0 was touched");
                continue;
            }
            check(std::isfinite(cells[x][y]), "a cell read is not finite");
            check(fuzzref::sameValue(cells[x][y], toks[k]), "cell value differs from the model", toks[k].text);
            ++k;
        }
    }

    // The written form of the read map reads back, and writing that again changes nothing.
    const QByteArray written = map_dbm::text(cells);
    CellGrid again = sentinelGrid();
    check(readBytes(written, again) == map_dbm::ReadStatus::Ok, "the game's own map text does not read back");
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            check(fuzzref::closeBySevenDigits(again[x][y], cells[x][y]), "map value moved on a round trip",
                  fuzzref::show(cells[x][y]) + " -> " + fuzzref::show(again[x][y]));
    bool whole = true;
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            whole = whole && fuzzref::printsExactly(cells[x][y]);
    if (whole)
        check(map_dbm::text(again) == written && again == cells, "a map of whole numbers changed on a round trip");
    check(written.count("\r\n") == 40, "map text must hold 40 records");
    return 0;
}
