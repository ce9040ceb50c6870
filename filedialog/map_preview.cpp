#include "filedialog/map_preview.h"

#include "files/map_dbm.h"
#include "view/cell_marks.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace filedialog {

namespace {

constexpr shell::Color kGridLine = shell::rgb(140, 140, 140);

} // namespace

QPixmap paintMap(const CellGrid& cells, QSize size, qreal dpr, bool marks)
{
    if (size.isEmpty())
        return {};
    const int w = static_cast<int>(std::lround(size.width() * dpr));
    const int h = static_cast<int>(std::lround(size.height() * dpr));
    const int line = std::max(1, static_cast<int>(dpr)); // one logical pixel, in whole device pixels
    QPixmap picture(w, h);
    picture.fill(shell::toQColor(kGridLine));
    QPainter painter(&picture);
    // Column x spans the device pixels from edge(x - 1) + line to edge(x), edge(i) = i * (w - line) / 10;
    // rows likewise over the height.
    for (int x = 1; x <= 10; ++x) {
        const int x0 = (x - 1) * (w - line) / 10 + line;
        const int x1 = x * (w - line) / 10;
        for (int y = 1; y <= 4; ++y) {
            const int y0 = (y - 1) * (h - line) / 4 + line;
            const int y1 = y * (h - line) / 4;
            painter.fillRect(x0, y0, x1 - x0, y1 - y0, shell::toQColor(cellColor(cells[x][y], kInactiveBorderGrey).value_or(kInactiveBorderGrey)));
            if (marks)
                view::paintMark(painter, QRect(x0, y0, x1 - x0, y1 - y0), cells[x][y]);
        }
    }
    painter.end();
    picture.setDevicePixelRatio(dpr);
    return picture;
}

shell::PixmapSource readMapPreview(const QString& path, bool marks)
{
    const std::optional<CellGrid> cells = map_dbm::peek(path);
    if (!cells)
        return {};
    return [grid = *cells, marks](QSize size, qreal dpr) { return paintMap(grid, size, dpr, marks); };
}

} // namespace filedialog
