#pragma once
// What every picture of the game shares: its palette, its noise and the fitting of a picture
// composed at one size onto another.
#include "maps/cells.h"
#include "shell/controls.h"

#include <QColor>
#include <QPainter>
#include <QSizeF>

namespace art {

// One palette for every picture: night-blue surroundings, steel, terracotta walls, the golden
// ball and the three cell colours of the playfield.
inline const QColor kNight(12, 16, 34);
inline const QColor kNavy(30, 40, 72);
inline const QColor kNavyLight(56, 72, 122);
inline const QColor kInk(22, 26, 38);
inline const QColor kCellGreen = shell::toQColor(kGreen);
inline const QColor kCellYellow = shell::toQColor(kYellow);
inline const QColor kCellRed = shell::toQColor(kRed);
inline const QColor kBrick(176, 82, 54);
inline const QColor kMortar(92, 84, 78);

// Deterministic noise, so a picture looks the same on every run.
class Noise {
public:
    explicit Noise(quint32 seed) : state_(seed * 2654435761u + 0x9e3779b9u) {}
    qreal next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return qreal(state_ >> 8) / qreal(1u << 24);
    }
    qreal range(qreal lo, qreal hi) { return lo + (hi - lo) * next(); }

private:
    quint32 state_;
};

inline QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// Maps a picture composed for `design` onto `actual` logical pixels.
inline void fitDesign(QPainter& p, const QSizeF& actual, const QSizeF& design)
{
    p.scale(actual.width() / design.width(), actual.height() / design.height());
}

} // namespace art
