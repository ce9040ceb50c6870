#include "view/cell_marks.h"

#include "shell/basic.h"

#include <QHash>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

namespace view {

namespace {

// Pip diameter as a share of the cell's smaller side, and the distance between pip centres as a
// share of the diameter.
constexpr double kPipShare = 0.2;
constexpr double kPitchShare = 1.45;
// Smaller pips have no room for a ring.
constexpr int kRingedFrom = 5;

int pipsOf(float value)
{
    return value == 1 ? 1 : value == 2 ? 2 : value == 3 ? 3 : 0;
}

// The places of the pips among the three of a full row: -1 left, 0 middle, 1 right.
QList<int> placesOf(int pips)
{
    if (pips == 1)
        return {0};
    if (pips == 2)
        return {-1, 1};
    return {-1, 0, 1};
}

} // namespace

bool hasMark(float value)
{
    return pipsOf(value) > 0;
}

void paintMark(QPainter& painter, const QRect& cell, float value, double rowAt)
{
    const int pips = pipsOf(value);
    if (pips == 0 || cell.isEmpty())
        return;
    const int side = std::min(cell.width(), cell.height());
    const int d = std::max(1, static_cast<int>(std::lround(side * kPipShare)));
    painter.save();
    if (d < kRingedFrom) {
        // Whole pixels, whole pips: the row is centred and the pitch leaves a gap where it can.
        const int pitch = std::max(d, std::min(static_cast<int>(std::lround(d * kPitchShare)), (cell.width() - d) / 2));
        const int left = cell.left() + (cell.width() - d) / 2;
        const int top = cell.top() + static_cast<int>(std::lround(cell.height() * rowAt - d / 2.0));
        const QColor ink = value == 3 ? Qt::white : Qt::black;
        for (int place : placesOf(pips))
            painter.fillRect(left + place * pitch, top, d, d, ink);
    } else {
        painter.setRenderHint(QPainter::Antialiasing);
        const double pitch = d * kPitchShare;
        const double ring = std::max(1.0, d / 6.0);
        const QPointF middle(cell.left() + cell.width() / 2.0, cell.top() + cell.height() * rowAt);
        painter.setPen(QPen(Qt::black, ring));
        painter.setBrush(Qt::white);
        const double r = (d - ring) / 2.0;
        for (int place : placesOf(pips))
            painter.drawEllipse(middle + QPointF(place * pitch, 0), r, r);
    }
    painter.restore();
}

QPixmap markPicture(float value, QSize size, double rowAt)
{
    const int pips = pipsOf(value);
    if (pips == 0 || size.isEmpty())
        return {};
    // The pictures of the sizes in use: a few per window and pixel ratio.
    static QHash<quint64, QPixmap> kept;
    const quint64 key = quint64(pips) | quint64(size.width() & 0xffff) << 2 | quint64(size.height() & 0xffff) << 18
                        | quint64(std::lround(rowAt * 1000) & 0xfff) << 34;
    if (const auto found = kept.constFind(key); found != kept.cend())
        return *found;
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    {
        QPainter p(&picture);
        paintMark(p, picture.rect(), value, rowAt);
    }
    if (kept.size() > 256)
        kept.clear();
    kept.insert(key, picture);
    return picture;
}

const shell::Overlay& markOverlay(float value)
{
    static const shell::Overlay kNone;
    static const shell::Overlay kMarks[] = {
        [](QSize s) { return markPicture(1, s); },
        [](QSize s) { return markPicture(2, s); },
        [](QSize s) { return markPicture(3, s); },
    };
    const int pips = pipsOf(value);
    return pips == 0 ? kNone : kMarks[pips - 1];
}

shell::CaptionOverlay captionMarkOverlay()
{
    // The numeral stands in the middle of the label; the pips go in the band below it.
    constexpr double kBelowNumeral = 0.79;
    return [](const QString& caption, QSize size) {
        const std::optional<float> value = shell::parseNumber(caption);
        return value ? markPicture(*value, size, kBelowNumeral) : QPixmap();
    };
}

} // namespace view
