#include "editor/cell_grid.h"

#include <cmath>
#include <cstdlib>
#include <limits>

namespace editor {

namespace {

// A position in cells from the grid's top left corner. The strip that the last column and the
// last row overhang by (their 15 twips past the pitch) counts as theirs.
double inCells(float tw, float originTw, int count)
{
    const double u = (tw - originTw) / kPitchTw;
    const double overhang = (kCellTw - kPitchTw) / kPitchTw;
    if (u >= count && u < count + overhang)
        return std::nextafter(static_cast<double>(count), 0.0);
    return u;
}

} // namespace

// Steps from cell to cell along the segment, each time into the neighbour whose border the segment
// crosses first (by the segment's parameter t, 0 at the start and 1 at the end).
std::vector<int> cellsAlong(float x1, float y1, float x2, float y2)
{
    const double u1 = inCells(x1, 0, kColumns), v1 = inCells(y1, kGridTopTw, kRows);
    const double u2 = inCells(x2, 0, kColumns), v2 = inCells(y2, kGridTopTw, kRows);
    int i = static_cast<int>(std::floor(u1));
    int j = static_cast<int>(std::floor(v1));
    const int iEnd = static_cast<int>(std::floor(u2));
    const int jEnd = static_cast<int>(std::floor(v2));
    const int di = iEnd >= i ? 1 : -1;
    const int dj = jEnd >= j ? 1 : -1;

    constexpr double kNever = std::numeric_limits<double>::infinity();
    const double du = u2 - u1, dv = v2 - v1;
    double tu = du != 0 ? ((di > 0 ? i + 1 : i) - u1) / du : kNever; // next column border
    double tv = dv != 0 ? ((dj > 0 ? j + 1 : j) - v1) / dv : kNever; // next row border
    const double stepU = du != 0 ? 1 / std::abs(du) : kNever;
    const double stepV = dv != 0 ? 1 / std::abs(dv) : kNever;
    int columnsLeft = std::abs(iEnd - i);
    int rowsLeft = std::abs(jEnd - j);

    std::vector<int> cells;
    auto pass = [&cells](int col, int row) {
        if (col >= 0 && col < kColumns && row >= 0 && row < kRows)
            cells.push_back(row * kColumns + col + 1);
    };
    pass(i, j);
    while (columnsLeft > 0 || rowsLeft > 0) {
        const bool across = columnsLeft > 0 && (rowsLeft == 0 || tu <= tv);
        const bool down = rowsLeft > 0 && (columnsLeft == 0 || tv <= tu);
        if (across) {
            i += di;
            tu += stepU;
            --columnsLeft;
        }
        if (down) {
            j += dj;
            tv += stepV;
            --rowsLeft;
        }
        pass(i, j);
    }
    return cells;
}

} // namespace editor
