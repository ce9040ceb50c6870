// The main window's pictures: the paddle, the wall strip and the pause button.
#include "assets/art.h"
#include "assets/palette.h"
#include "assets/picture_cache.h"
#include "assets/pieces.h"

#include <QLinearGradient>
#include <QPainterPath>

#include <algorithm>

namespace art {
namespace {

void drawPauseGlyph(QPainter& p, const QSizeF& size)
{
    const QSizeF design(49, 33);
    fitDesign(p, size, design);
    const qreal top = 7, h = 19;
    const QRectF bar1(8, top, 6, h), bar2(18, top, 6, h);
    QPainterPath triangle;
    triangle.moveTo(29, top);
    triangle.lineTo(42, top + h / 2);
    triangle.lineTo(29, top + h);
    triangle.closeSubpath();
    QPainterPath bars;
    bars.addRoundedRect(bar1, 1.6, 1.6);
    bars.addRoundedRect(bar2, 1.6, 1.6);

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 20, 80));
    p.drawPath(bars.translated(1, 1.3));
    p.drawPath(triangle.translated(1, 1.3));

    const QPen outline(kInk, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QLinearGradient blue(QPointF(0, top), QPointF(0, top + h));
    blue.setColorAt(0, QColor(150, 186, 255));
    blue.setColorAt(0.5, QColor(64, 108, 214));
    blue.setColorAt(1, QColor(28, 52, 128));
    p.setPen(outline);
    p.setBrush(blue);
    p.drawPath(bars);

    QLinearGradient green(QPointF(0, top), QPointF(0, top + h));
    green.setColorAt(0, QColor(170, 255, 150));
    green.setColorAt(0.5, QColor(40, 210, 40));
    green.setColorAt(1, QColor(10, 120, 20));
    p.setBrush(green);
    p.drawPath(triangle);

    // Gloss on each shape's upper half.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawRoundedRect(QRectF(bar1.left() + 1, top + 1, bar1.width() - 2, h * 0.42), 1, 1);
    p.drawRoundedRect(QRectF(bar2.left() + 1, top + 1, bar2.width() - 2, h * 0.42), 1, 1);
    QPainterPath tGloss;
    tGloss.moveTo(30.3, top + 2.2);
    tGloss.lineTo(39, top + h / 2 - 0.6);
    tGloss.lineTo(30.3, top + h / 2 - 0.6);
    tGloss.closeSubpath();
    p.drawPath(tGloss);
}

} // namespace

QPixmap paddle(QSize size, qreal dpr)
{
    return cached(QStringLiteral("paddle"), size, dpr,
                  [](QPainter& p, const QSizeF& s) { drawPaddle(p, QRectF(QPointF(0, 0), s)); });
}

QPixmap strip(QSize size, qreal dpr)
{
    return cached(QStringLiteral("strip"), size, dpr, [](QPainter& p, const QSizeF& s) {
        const QRectF r(QPointF(0, 0), s);
        const qreal ledge = std::min(11.0, s.height() * 0.35);
        drawWall(p, r, ledge, 16, 46, 2.5, 1);
    });
}

QPixmap pauseButton(QSize size, qreal dpr)
{
    return cached(QStringLiteral("pause"), size, dpr, drawPauseGlyph);
}

} // namespace art
