#include "assets/ball.h"

#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace art {

const BallLook& goldenBall()
{
    static const BallLook look{{{0.0, QColor(255, 253, 232)},
                                {0.18, QColor(255, 240, 110)},
                                {0.6, QColor(255, 204, 30)},
                                {0.88, QColor(232, 148, 0)},
                                {1.0, QColor(180, 108, 0)}},
                               QPointF(0, 0),
                               1,
                               QPointF(-0.42, -0.48),
                               QColor(110, 64, 0),
                               0.09,
                               0.5,
                               true};
    return look;
}

BallLook playBall(QColor fill, QColor outline)
{
    const QPointF light(-0.3, -0.3);
    return BallLook{{{0, fill.lighter(135)}, {0.6, fill}, {1, fill.darker(115)}}, light, 1.4, light, outline, 0, 1, false};
}

void drawBall(QPainter& p, QPointF c, qreal r, const BallLook& look)
{
    p.save();
    QRadialGradient body(c + look.centre * r, look.spread * r, c + look.light * r);
    for (const BallLook::Stop& stop : look.body)
        body.setColorAt(stop.at, stop.colour);
    p.setPen(QPen(look.outline, std::max(look.outlineMin, r * look.outlineShare)));
    p.setBrush(body);
    p.drawEllipse(c, r, r);
    if (!look.shiny) {
        p.restore();
        return;
    }

    // Light bounced back from below keeps the ball round instead of flat.
    QRadialGradient rim(c + QPointF(0.35 * r, 0.55 * r), 0.6 * r);
    rim.setColorAt(0, QColor(255, 250, 200, 90));
    rim.setColorAt(1, QColor(255, 250, 200, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawEllipse(c, r * 0.94, r * 0.94);

    // Highlight spot.
    p.translate(c + QPointF(-0.36 * r, -0.42 * r));
    p.rotate(-35);
    QRadialGradient spot(QPointF(0, 0), 0.34 * r);
    spot.setColorAt(0, QColor(255, 255, 255, 240));
    spot.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(spot);
    p.drawEllipse(QPointF(0, 0), 0.34 * r, 0.22 * r);
    p.restore();
}

void drawBallTrail(QPainter& p, QPointF c, qreal r, QPointF dir, int steps, qreal spacing)
{
    const qreal len = std::hypot(dir.x(), dir.y());
    if (len <= 0)
        return;
    dir /= len;
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = steps; i >= 1; --i) {
        const qreal t = qreal(i) / (steps + 1);
        const QPointF at = c - dir * (spacing * i);
        const qreal rr = r * (1.0 - 0.6 * t);
        p.setBrush(QColor(255, 214, 60, int(130 * (1.0 - t))));
        p.drawEllipse(at, rr, rr);
    }
    p.restore();
}

} // namespace art
