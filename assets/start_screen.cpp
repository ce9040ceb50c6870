// The start screen's pictures: the title banner, the scene in play, the column of bricks beside
// the difficulties, the background and the difficulty marker.
#include "assets/art.h"
#include "assets/ball.h"
#include "assets/palette.h"
#include "assets/picture_cache.h"
#include "assets/pieces.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>

namespace art {
namespace {

void drawTitleBanner(QPainter& p, const QSizeF& size)
{
    const QSizeF design(425, 89);
    fitDesign(p, size, design);
    const QRectF r(QPointF(0, 0), design);

    // A band darker than the window behind it, lit from the middle, with a golden rule below.
    QLinearGradient band(r.topLeft(), r.bottomLeft());
    band.setColorAt(0, QColor(8, 11, 26));
    band.setColorAt(0.55, QColor(24, 32, 62));
    band.setColorAt(1, QColor(12, 16, 34));
    p.fillRect(r, band);
    QRadialGradient spot(QPointF(212, 46), 190);
    spot.setColorAt(0, QColor(90, 120, 220, 90));
    spot.setColorAt(1, QColor(90, 120, 220, 0));
    p.fillRect(r, spot);
    QLinearGradient rule(QPointF(0, 0), QPointF(425, 0));
    rule.setColorAt(0, QColor(255, 200, 60, 0));
    rule.setColorAt(0.5, QColor(255, 214, 90, 230));
    rule.setColorAt(1, QColor(255, 200, 60, 0));
    p.fillRect(QRectF(0, 86, 425, 1.5), rule);
    p.fillRect(QRectF(0, 87.5, 425, 1.5), QColor(0, 0, 0, 120));

    // Little cell clusters on either side of the title.
    const std::array<QColor, 3> rows{kCellRed, kCellYellow, kCellGreen};
    for (int side = 0; side < 2; ++side) {
        const qreal x0 = side == 0 ? 22 : 425 - 22 - 3 * 15 + 3;
        for (int row = 0; row < 3; ++row)
            for (int col = 0; col < 3; ++col) {
                if ((side == 0 && row == 2 && col == 2) || (side == 1 && row == 1 && col == 0))
                    continue;
                drawCell(p, QRectF(x0 + col * 15, 26 + row * 13, 13, 10), rows[std::size_t(row)]);
            }
    }

    // The title: "Plinkat" with a dotless i, so the ball can sit on it as its dot.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(100);
    const QString before = QStringLiteral("Pl");
    const QString stem = QString(QChar(0x0131));
    const QString title = before + stem + QStringLiteral("nkat");
    QPainterPath text;
    text.addText(0, 0, font, title);
    QPainterPath stemPath;
    const QFontMetricsF fm(font);
    stemPath.addText(fm.horizontalAdvance(before), 0, font, stem);
    const QRectF stemBox = stemPath.boundingRect();

    QTransform shape;
    shape.shear(-0.18, 0);
    text = shape.map(text);
    const QRectF box = text.boundingRect();
    const qreal scale = std::min(270 / box.width(), 50 / box.height());
    QTransform place;
    place.translate(212.5 - box.center().x() * scale, 52 - box.center().y() * scale);
    place.scale(scale, scale);
    text = place.map(text);
    const qreal stemWidth = stemBox.width() * scale;
    const QPointF dot = place.map(shape.map(QPointF(stemBox.center().x(), stemBox.top() - stemBox.width() * 0.95)));

    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(QColor(255, 190, 60, 22 + 10 * i), 14 - 4 * i, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPath(text);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawPath(text.translated(2.5, 3.5));
    p.setPen(QPen(QColor(52, 22, 0), 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text);

    const QRectF tb = text.boundingRect();
    QLinearGradient gold(tb.topLeft(), tb.bottomLeft());
    gold.setColorAt(0.0, QColor(255, 252, 214));
    gold.setColorAt(0.42, QColor(255, 220, 80));
    gold.setColorAt(0.58, QColor(255, 176, 24));
    gold.setColorAt(1.0, QColor(214, 96, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gold);
    p.drawPath(text);

    p.save();
    p.setClipPath(text);
    QLinearGradient gloss(tb.topLeft(), QPointF(tb.left(), tb.top() + tb.height() * 0.5));
    gloss.setColorAt(0, QColor(255, 255, 255, 130));
    gloss.setColorAt(1, QColor(255, 255, 255, 10));
    p.fillRect(QRectF(tb.left(), tb.top(), tb.width(), tb.height() * 0.46), gloss);
    p.setPen(QPen(QColor(120, 50, 0, 120), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(text.translated(0, 1.2));
    p.restore();

    const qreal ballR = stemWidth * 0.72;
    drawBallTrail(p, dot, ballR, QPointF(1, 0.55), 10, ballR * 0.55);
    drawBall(p, dot, ballR);
}

void drawPlayScene(QPainter& p, const QSizeF& size)
{
    const QSizeF design(232, 137);
    fitDesign(p, size, design);
    const QRectF r(QPointF(0, 0), design);

    // Steel frame around a white playfield, as in the game.
    QLinearGradient frame(r.topLeft(), r.bottomRight());
    frame.setColorAt(0, QColor(230, 236, 246));
    frame.setColorAt(0.5, QColor(140, 152, 176));
    frame.setColorAt(1, QColor(60, 70, 92));
    p.setPen(QPen(kInk, 1));
    p.setBrush(frame);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);

    const QRectF field = r.adjusted(4, 4, -4, -4);
    QPainterPath fieldPath;
    fieldPath.addRoundedRect(field, 2.5, 2.5);
    p.save();
    p.setClipPath(fieldPath);
    QLinearGradient white(field.topLeft(), field.bottomLeft());
    white.setColorAt(0, QColor(255, 255, 255));
    white.setColorAt(1, QColor(232, 238, 248));
    p.fillRect(field, white);

    // The grid of cells: 10 × 4, a few already knocked out; one green cell is breaking up.
    const char* layout[4] = {"RRRRR.RRRR", "YYY..YYYYY", "Y.YYYYYY.Y", "GGGGGG.GGG"};
    const qreal marginX = 6, top = field.top() + 6, gap = 1.6;
    const qreal cw = (field.width() - 2 * marginX) / 10, ch = 9.5;
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 10; ++col) {
            const char c = layout[row][col];
            if (c == '.')
                continue;
            const QColor base = c == 'R' ? kCellRed : c == 'Y' ? kCellYellow : kCellGreen;
            drawCell(p, QRectF(field.left() + marginX + col * cw + gap / 2, top + row * (ch + gap), cw - gap, ch),
                     base);
        }

    // The wall along the bottom.
    const QRectF wall(field.left(), field.bottom() - 15, field.width(), 15);
    drawWall(p, wall, 3.5, 6, 17, 1.2, 5);

    // Paddle with its shadow on the field.
    const QRectF paddleRect(70, wall.top() - 15, 44, 9.5);
    QRadialGradient shadow(paddleRect.center() + QPointF(2, 6), 26);
    shadow.setColorAt(0, QColor(0, 0, 40, 60));
    shadow.setColorAt(1, QColor(0, 0, 40, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(paddleRect.center() + QPointF(2, 6.5), 26, 3.5);
    drawPaddle(p, paddleRect);

    // The ball flew up off the paddle (dotted), hit the green cell from below and bounced away.
    const QPointF hit(field.left() + marginX + 6.5 * cw, top + 3 * (ch + gap) + ch);
    const QPointF from(paddleRect.center().x() + 6, paddleRect.top() - 1);
    const QPointF away(hit.x() - from.x(), from.y() - hit.y());
    const QPointF ball = hit + away * 0.5;
    p.setBrush(QColor(40, 60, 120, 70));
    for (int i = 1; i < 10; ++i)
        p.drawEllipse(from + (hit - from) * (i / 10.0), 0.8, 0.8);

    Noise n(77);
    for (int i = 0; i < 10; ++i) {
        const qreal a = n.range(-0.2, M_PI + 0.2);
        const qreal d = n.range(3, 14);
        const QPointF at = hit + QPointF(std::cos(a) * d * 1.3, -ch / 2 + std::sin(a) * d * 0.7);
        p.save();
        p.translate(at);
        p.rotate(n.range(0, 90));
        p.setBrush(n.next() < 0.5 ? kCellGreen : kCellGreen.darker(150));
        const qreal s = n.range(1.4, 3.2);
        p.drawRect(QRectF(-s / 2, -s / 2, s, s * 0.7));
        p.restore();
    }
    p.setPen(QPen(QColor(255, 230, 120, 200), 0.8, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 6; ++i) {
        const qreal a = M_PI * (0.1 + 0.16 * i);
        const QPointF d(std::cos(a), std::sin(a));
        p.drawLine(hit + d * 2.5, hit + d * 6);
    }
    p.setPen(Qt::NoPen);
    drawBallTrail(p, ball, 5, away, 9, 1.7);
    drawBall(p, ball, 5);
    p.restore();

    // Inner shadow along the frame so the field looks recessed.
    p.setPen(QPen(QColor(0, 0, 30, 70), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(field.adjusted(0.6, 0.6, -0.6, -0.6), 2.5, 2.5);
}

void drawBrickColumn(QPainter& p, const QSizeF& size)
{
    const QSizeF design(16, 137);
    fitDesign(p, size, design);
    const QRectF r(QPointF(0, 0), design);

    QLinearGradient well(r.topLeft(), r.topRight());
    well.setColorAt(0, kNight);
    well.setColorAt(0.5, kNavy.darker(120));
    well.setColorAt(1, kNight);
    p.setPen(QPen(QColor(110, 130, 190, 120), 1));
    p.setBrush(well);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);

    // Green beside "ЛЕГКО", yellow beside "НОРМА", red beside "КОШМАР".
    const int count = 15;
    const qreal step = (r.height() - 4) / count;
    for (int i = 0; i < count; ++i) {
        const QRectF b(3, 2 + i * step + 0.8, 10, step - 1.6);
        const qreal cy = b.center().y();
        const QColor base = cy < 45 ? kCellGreen : cy < 93 ? kCellYellow : kCellRed;
        QRadialGradient halo(b.center(), 9);
        halo.setColorAt(0, withAlpha(base, 50));
        halo.setColorAt(1, withAlpha(base, 0));
        p.fillRect(b.adjusted(-3, -2, 3, 2), halo);
        drawCell(p, b, base);
    }
}

void drawStartBackground(QPainter& p, const QSizeF& size)
{
    drawNightBackdrop(p, QRectF(QPointF(0, 0), size), 11);
}

void drawSkull(QPainter& p, const QSizeF& size)
{
    const QSizeF design(20, 19);
    fitDesign(p, size, design);

    QPainterPath head;
    head.addEllipse(QPointF(10, 7.8), 8.0, 6.9);
    head.addRoundedRect(QRectF(5.4, 10.6, 9.2, 7.4), 2.0, 2.0);
    head.setFillRule(Qt::WindingFill);

    // A thick dark underlay is the outline; the two shapes merge without a seam.
    p.setPen(QPen(QColor(36, 28, 24), 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(QColor(36, 28, 24));
    p.drawPath(head);
    QRadialGradient bone(QPointF(8, 5), 13);
    bone.setColorAt(0, QColor(255, 254, 244));
    bone.setColorAt(0.55, QColor(226, 218, 196));
    bone.setColorAt(1, QColor(150, 138, 112));
    p.setPen(Qt::NoPen);
    p.setBrush(bone);
    p.drawPath(head);

    // Eye sockets with an ember in each, a nose and teeth.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 22, 22));
    p.drawEllipse(QPointF(6.7, 8.4), 2.5, 2.6);
    p.drawEllipse(QPointF(13.3, 8.4), 2.5, 2.6);
    p.setBrush(QColor(255, 60, 30));
    p.drawEllipse(QPointF(7.0, 8.8), 0.8, 0.8);
    p.drawEllipse(QPointF(13.0, 8.8), 0.8, 0.8);
    QPainterPath nose;
    nose.moveTo(10, 11.2);
    nose.lineTo(11.1, 13.2);
    nose.lineTo(8.9, 13.2);
    nose.closeSubpath();
    p.setBrush(QColor(30, 22, 22));
    p.drawPath(nose);
    p.setPen(QPen(QColor(36, 28, 24), 0.8, Qt::SolidLine, Qt::FlatCap));
    for (qreal x : {7.8, 10.0, 12.2})
        p.drawLine(QPointF(x, 15.0), QPointF(x, 18.0));
    p.drawLine(QPointF(6.0, 15.0), QPointF(14.0, 15.0));
    // Shine on the crown.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QPointF(7.2, 3.6), 2.2, 1.1);
}

} // namespace

QPixmap skull(QSize size, qreal dpr)
{
    return cached(QStringLiteral("skull"), size, dpr, drawSkull);
}

QPixmap startPicture(int n, QSize size, qreal dpr)
{
    switch (n) {
    case 1: return cached(QStringLiteral("start1"), size, dpr, drawTitleBanner);
    case 2: return cached(QStringLiteral("start2"), size, dpr, drawPlayScene);
    case 3: return cached(QStringLiteral("start3"), size, dpr, drawBrickColumn);
    case 4: return cached(QStringLiteral("start4"), size, dpr, drawStartBackground);
    default: return {};
    }
}

} // namespace art
