// The pictures of the other windows: the options window's gear, the about window's burst, the
// records window's background and the panel behind the map editor and the save/load dialog.
#include "assets/art.h"
#include "assets/ball.h"
#include "assets/palette.h"
#include "assets/picture_cache.h"
#include "assets/pieces.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <cmath>

namespace art {
namespace {

// The records window: the start screen's night wall, a line of bricks in the three cell colours
// under the heading, and a darker well behind the table so its lines read well.
void drawRecordsBackground(QPainter& p, const QSizeF& size)
{
    const QRectF r(QPointF(0, 0), size);
    drawNightBackdrop(p, r, 7);
    const qreal brickW = 16, brickH = 6, y = 40;
    const int count = static_cast<int>((r.width() - 8) / brickW);
    const qreal x0 = (r.width() - count * brickW) / 2;
    for (int i = 0; i < count; ++i) {
        const QColor base = i % 3 == 0 ? kCellRed : i % 3 == 1 ? kCellYellow : kCellGreen;
        drawCell(p, QRectF(x0 + i * brickW + 1, y, brickW - 2, brickH), base);
    }
    const QRectF well(6, 62, r.width() - 12, 206);
    p.setPen(QPen(QColor(110, 130, 190, 110), 1));
    p.setBrush(QColor(8, 12, 30, 150));
    p.drawRoundedRect(well.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
}

QPainterPath gearPath(QPointF c, qreal outerR, qreal rootR, int teeth)
{
    QPolygonF poly;
    const qreal step = 2 * M_PI / teeth;
    auto at = [&](qreal a, qreal radius) { return c + QPointF(std::cos(a) * radius, std::sin(a) * radius); };
    for (int i = 0; i < teeth; ++i) {
        const qreal a0 = i * step - M_PI / 2;
        poly << at(a0, rootR) << at(a0 + 0.16 * step, rootR) << at(a0 + 0.3 * step, outerR)
             << at(a0 + 0.6 * step, outerR) << at(a0 + 0.74 * step, rootR);
    }
    QPainterPath path;
    path.addPolygon(poly);
    path.closeSubpath();
    return path;
}

void drawOptionsGear(QPainter& p, const QSizeF& size)
{
    const QSizeF design(61, 66);
    fitDesign(p, size, design);
    const QPointF c(30.5, 29.5);

    QRadialGradient floor(QPointF(30.5, 61), 26);
    floor.setColorAt(0, QColor(0, 0, 0, 110));
    floor.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(floor);
    p.drawEllipse(QPointF(30.5, 61), 25, 4.5);

    QPainterPath hole;
    hole.addEllipse(c, 12.5, 12.5);
    const QPainterPath gear = gearPath(c, 28, 22.5, 10).subtracted(hole);

    QLinearGradient steel(QPointF(6, 4), QPointF(54, 56));
    steel.setColorAt(0, QColor(246, 248, 252));
    steel.setColorAt(0.45, QColor(176, 186, 204));
    steel.setColorAt(1, QColor(64, 74, 96));
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(gear.translated(1, 1.5));
    p.setPen(QPen(kInk, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(steel);
    p.drawPath(gear);

    // A machined groove ring and a brushed sheen.
    p.save();
    p.setClipPath(gear);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(30, 36, 52, 120), 1.2));
    p.drawEllipse(c, 18, 18);
    p.setPen(QPen(QColor(255, 255, 255, 120), 0.8));
    p.drawEllipse(c + QPointF(0.6, 0.8), 18, 18);
    QLinearGradient sheen(QPointF(0, 0), QPointF(61, 30));
    sheen.setColorAt(0.3, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.45, QColor(255, 255, 255, 110));
    sheen.setColorAt(0.6, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, 61, 66), sheen);
    p.restore();

    // The socket and the ball resting in it.
    QRadialGradient socket(c, 12.5, c + QPointF(0, -5));
    socket.setColorAt(0, kNavyLight);
    socket.setColorAt(1, kNight);
    p.setPen(QPen(QColor(255, 255, 255, 90), 0.8));
    p.setBrush(socket);
    p.drawEllipse(c, 12.5, 12.5);
    drawBall(p, c + QPointF(0, 0.5), 9.5);
}

// An irregular chunk of brick flying off the wall.
void drawShard(QPainter& p, QPointF at, qreal sizeW, qreal angle, Noise& n)
{
    p.save();
    p.translate(at);
    p.rotate(angle);
    QPolygonF poly;
    const qreal w = sizeW, h = sizeW * n.range(0.45, 0.7);
    poly << QPointF(-w / 2 + n.range(0, w * 0.2), -h / 2) << QPointF(w / 2, -h / 2 + n.range(0, h * 0.3))
         << QPointF(w / 2 - n.range(0, w * 0.25), h / 2) << QPointF(-w / 2, h / 2 - n.range(0, h * 0.3));
    const QColor shade = brickShade(n);
    QLinearGradient g(QPointF(0, -h / 2), QPointF(0, h / 2));
    g.setColorAt(0, shade.lighter(135));
    g.setColorAt(1, shade.darker(140));
    p.setPen(QPen(QColor(50, 18, 8), 0.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(g);
    p.drawPolygon(poly);
    p.restore();
}

void drawAboutBurst(QPainter& p, const QSizeF& size)
{
    const QSizeF design(173, 191);
    fitDesign(p, size, design);
    const QRectF r(QPointF(0, 0), design);
    QPainterPath card;
    card.addRoundedRect(r.adjusted(1, 1, -1, -1), 10, 10);
    p.save();
    p.setClipPath(card);

    drawBrickWall(p, r, 19, 46, 3, 23);
    QRadialGradient dim(QPointF(86, 100), 130);
    dim.setColorAt(0.3, QColor(8, 6, 20, 0));
    dim.setColorAt(1, QColor(8, 6, 20, 170));
    p.fillRect(r, dim);

    const QPointF c(86, 98);
    Noise n(31);
    // Ragged hole in the wall.
    QPolygonF hole;
    const int corners = 22;
    for (int i = 0; i < corners; ++i) {
        const qreal a = 2 * M_PI * (i + n.range(-0.3, 0.3)) / corners;
        const qreal rr = n.range(36, 50) * (i % 3 == 1 ? 0.84 : 1.0);
        hole << c + QPointF(std::cos(a) * rr, std::sin(a) * rr * 1.05);
    }

    // Cracks running out from the hole.
    for (int i = 0; i < 9; ++i) {
        const qreal a = 2 * M_PI * (i + n.range(-0.3, 0.3)) / 9;
        QPointF at = c + QPointF(std::cos(a), std::sin(a)) * 44;
        qreal width = 2.2;
        qreal dir = a;
        for (int seg = 0; seg < 4; ++seg) {
            dir += n.range(-0.5, 0.5);
            const QPointF next = at + QPointF(std::cos(dir), std::sin(dir)) * n.range(8, 15);
            p.setPen(QPen(QColor(255, 200, 160, 60), width * 0.6, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(at + QPointF(0.8, 0.8), next + QPointF(0.8, 0.8));
            p.setPen(QPen(QColor(24, 8, 4, 220), width, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(at, next);
            at = next;
            width *= 0.72;
        }
    }

    // Heat glow spilling over the wall around the hole.
    QRadialGradient spill(c, 78);
    spill.setColorAt(0, QColor(255, 190, 60, 150));
    spill.setColorAt(1, QColor(255, 120, 20, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(spill);
    p.drawEllipse(c, 78, 78);

    QRadialGradient fire(c, 44);
    fire.setColorAt(0, QColor(255, 255, 240));
    fire.setColorAt(0.35, QColor(255, 226, 90));
    fire.setColorAt(0.75, QColor(255, 130, 24));
    fire.setColorAt(1, QColor(120, 30, 6));
    p.setPen(QPen(QColor(34, 12, 6), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fire);
    p.drawPolygon(hole);
    // The wall's broken thickness inside the rim, and its edges catching the light.
    p.save();
    QPainterPath holePath;
    holePath.addPolygon(hole);
    holePath.closeSubpath();
    p.setClipPath(holePath);
    p.setPen(QPen(QColor(90, 30, 10, 200), 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(holePath);
    p.restore();
    p.setPen(QPen(QColor(255, 190, 140, 170), 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QTransform inset;
    inset.translate(c.x(), c.y());
    inset.scale(0.9, 0.9);
    inset.translate(-c.x(), -c.y());
    p.drawPolygon(inset.map(hole));

    // Speed lines bursting outwards.
    for (int i = 0; i < 16; ++i) {
        const qreal a = 2 * M_PI * (i + n.range(0, 0.6)) / 16;
        const QPointF d(std::cos(a), std::sin(a));
        const QPointF from = c + d * n.range(26, 32), to = c + d * n.range(56, 84);
        QLinearGradient streak(from, to);
        streak.setColorAt(0, QColor(255, 250, 220, 200));
        streak.setColorAt(1, QColor(255, 250, 220, 0));
        p.setPen(QPen(QBrush(streak), n.range(0.8, 1.8), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(from, to);
    }

    // Flying chunks of brick and dust.
    for (int i = 0; i < 11; ++i) {
        const qreal a = 2 * M_PI * (i + n.range(-0.35, 0.35)) / 11;
        const qreal d = n.range(46, 84);
        drawShard(p, c + QPointF(std::cos(a) * d, std::sin(a) * d), n.range(9, 19), n.range(0, 180), n);
    }
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 40; ++i) {
        const qreal a = n.range(0, 2 * M_PI);
        const qreal d = n.range(30, 90);
        p.setBrush(QColor(255, 220, 170, int(n.range(60, 200))));
        p.drawEllipse(c + QPointF(std::cos(a) * d, std::sin(a) * d), n.range(0.5, 1.4), n.range(0.5, 1.4));
    }

    // The ball, coming straight at the viewer.
    const QPointF ball = c + QPointF(3, 5);
    QRadialGradient aura(ball + QPointF(4, 7), 32);
    aura.setColorAt(0, QColor(60, 10, 0, 130));
    aura.setColorAt(1, QColor(60, 10, 0, 0));
    p.setBrush(aura);
    p.drawEllipse(ball + QPointF(4, 8), 30, 27);
    drawBall(p, ball, 23);
    p.restore();

    // Bevelled card edge.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kNight, 2));
    p.drawPath(card);
    p.setPen(QPen(QColor(255, 255, 255, 70), 1));
    p.drawRoundedRect(r.adjusted(2.5, 2.5, -2.5, -2.5), 8.5, 8.5);
}

void drawBlueprint(QPainter& p, const QSizeF& size)
{
    const QRectF r(QPointF(0, 0), size);
    QLinearGradient paper(r.topLeft(), r.bottomRight());
    paper.setColorAt(0, QColor(244, 248, 253));
    paper.setColorAt(1, QColor(226, 235, 247));
    p.fillRect(r, paper);

    Noise n(3);
    p.setPen(Qt::NoPen);
    const int fibres = int(r.width() * r.height() * 0.01);
    for (int i = 0; i < fibres; ++i) {
        p.setBrush(QColor(120, 150, 200, int(n.range(8, 22))));
        p.drawEllipse(QPointF(n.range(0, r.width()), n.range(0, r.height())), 0.5, 0.5);
    }

    // Fine grid every 8 px, heavier lines every 40 px, anchored to the top-left corner.
    for (qreal x = 8; x < r.width(); x += 8) {
        const bool major = int(x) % 40 == 0;
        p.fillRect(QRectF(x, 0, major ? 1 : 0.6, r.height()), QColor(110, 150, 210, major ? 70 : 36));
    }
    for (qreal y = 8; y < r.height(); y += 8) {
        const bool major = int(y) % 40 == 0;
        p.fillRect(QRectF(0, y, r.width(), major ? 1 : 0.6), QColor(110, 150, 210, major ? 70 : 36));
    }

    // A faint brick watermark in the bottom-right corner.
    p.save();
    const qreal bw = 24, bh = 10;
    p.setPen(QPen(QColor(90, 130, 200, 40), 1));
    p.setBrush(Qt::NoBrush);
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4 - row; ++col) {
            const QRectF b(r.right() - 12 - (col + 1) * bw - (row % 2) * bw / 2, r.bottom() - 12 - (row + 1) * bh,
                           bw - 2, bh - 2);
            p.drawRoundedRect(b, 1.5, 1.5);
        }
    p.restore();

    QRadialGradient vignette(r.center(), std::hypot(r.width(), r.height()) * 0.6);
    vignette.setColorAt(0.6, QColor(60, 90, 150, 0));
    vignette.setColorAt(1, QColor(60, 90, 150, 40));
    p.fillRect(r, vignette);
    p.setPen(QPen(QColor(110, 150, 210, 110), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(3.5, 3.5, -3.5, -3.5));
}

} // namespace

QPixmap optionsPicture(QSize size, qreal dpr)
{
    return cached(QStringLiteral("options"), size, dpr, drawOptionsGear);
}

QPixmap aboutPicture(QSize size, qreal dpr)
{
    return cached(QStringLiteral("about"), size, dpr, drawAboutBurst);
}

QPixmap recordsBackground(QSize size, qreal dpr)
{
    return cached(QStringLiteral("records"), size, dpr, drawRecordsBackground);
}

QPixmap panelBackground(QSize size, qreal dpr)
{
    return cached(QStringLiteral("panel"), size, dpr, drawBlueprint);
}

} // namespace art
