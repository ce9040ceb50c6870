#include "assets/pieces.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace art {
namespace {

// Grit on a surface: tiny light and dark dots.
void drawGrit(QPainter& p, const QRectF& r, Noise& n, qreal density, int strength)
{
    const int count = int(r.width() * r.height() * density);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(n.range(r.left(), r.right()), n.range(r.top(), r.bottom()));
        const qreal radius = n.range(0.25, 0.8);
        const bool light = n.next() < 0.45;
        const int a = int(n.range(0.3, 1.0) * strength);
        p.setBrush(light ? QColor(255, 235, 215, a) : QColor(30, 10, 5, a));
        p.drawEllipse(at, radius, radius);
    }
}

// A steel ledge: the cap stone of the wall.
void drawLedge(QPainter& p, const QRectF& r, qreal rivetStep)
{
    p.save();
    QLinearGradient steel(r.topLeft(), r.bottomLeft());
    steel.setColorAt(0.0, QColor(246, 248, 252));
    steel.setColorAt(0.3, QColor(200, 208, 222));
    steel.setColorAt(0.7, QColor(132, 144, 166));
    steel.setColorAt(1.0, QColor(70, 80, 102));
    p.fillRect(r, steel);
    const qreal line = std::max(0.5, r.height() * 0.09);
    p.fillRect(QRectF(r.left(), r.top(), r.width(), line), QColor(255, 255, 255, 200));
    p.fillRect(QRectF(r.left(), r.bottom() - line, r.width(), line), QColor(20, 24, 34, 230));

    if (rivetStep > 0) {
        const qreal rr = r.height() * 0.16;
        for (qreal x = r.left() + rivetStep / 2; x < r.right(); x += rivetStep) {
            const QPointF c(x, r.center().y());
            QRadialGradient g(c, rr, c + QPointF(-rr * 0.4, -rr * 0.4));
            g.setColorAt(0, QColor(255, 255, 255));
            g.setColorAt(0.6, QColor(160, 170, 188));
            g.setColorAt(1, QColor(60, 68, 86));
            p.setPen(QPen(QColor(40, 46, 60, 180), rr * 0.3));
            p.setBrush(g);
            p.drawEllipse(c, rr, rr);
        }
    }
    p.restore();
}

} // namespace

void drawCell(QPainter& p, const QRectF& r, const QColor& base)
{
    p.save();
    const qreal side = std::min(r.width(), r.height());
    const qreal rad = side * 0.2;
    const qreal line = std::max(0.5, side * 0.08);
    const QRectF body = r.adjusted(line / 2, line / 2, -line / 2, -line / 2);

    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, base.lighter(150));
    fill.setColorAt(0.45, base);
    fill.setColorAt(1, base.darker(145));
    p.setPen(QPen(base.darker(260), line));
    p.setBrush(fill);
    p.drawRoundedRect(body, rad, rad);

    const QRectF gloss = body.adjusted(line * 1.2, line * 1.0, -line * 1.2, -body.height() * 0.52);
    QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, 170));
    shine.setColorAt(1, QColor(255, 255, 255, 25));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawRoundedRect(gloss, rad * 0.6, rad * 0.6);
    p.restore();
}

void drawPaddle(QPainter& p, const QRectF& outer)
{
    p.save();
    const qreal line = std::max(0.6, outer.height() * 0.05);
    const QRectF r = outer.adjusted(line / 2, line / 2, -line / 2, -line / 2);
    const qreal h = r.height();
    const qreal rad = h / 2;
    QPainterPath body;
    body.addRoundedRect(r, rad, rad);

    QLinearGradient caps(r.topLeft(), r.bottomLeft());
    caps.setColorAt(0.0, QColor(255, 168, 150));
    caps.setColorAt(0.42, QColor(232, 58, 36));
    caps.setColorAt(0.58, QColor(188, 34, 20));
    caps.setColorAt(1.0, QColor(110, 16, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(caps);
    p.drawPath(body);

    p.setClipPath(body);
    const qreal capW = std::min(rad * 1.45, r.width() * 0.24);
    const QRectF mid(r.left() + capW, r.top(), r.width() - 2 * capW, h);
    QLinearGradient steel(r.topLeft(), r.bottomLeft());
    steel.setColorAt(0.0, QColor(248, 250, 253));
    steel.setColorAt(0.4, QColor(190, 199, 214));
    steel.setColorAt(0.56, QColor(136, 148, 170));
    steel.setColorAt(1.0, QColor(72, 82, 104));
    p.fillRect(mid, steel);

    // Grooves between the caps and the body.
    const qreal groove = std::max(0.5, h * 0.07);
    for (qreal x : {mid.left(), mid.right()}) {
        p.fillRect(QRectF(x - groove, r.top(), groove, h), QColor(30, 20, 24, 200));
        p.fillRect(QRectF(x, r.top(), groove * 0.8, h), QColor(255, 255, 255, 90));
    }

    // Blue light strip along the middle.
    const QRectF light(mid.left() + mid.width() * 0.2, r.top() + h * 0.56, mid.width() * 0.6, h * 0.17);
    QLinearGradient glow(light.topLeft(), light.topRight());
    glow.setColorAt(0.0, QColor(40, 120, 255, 0));
    glow.setColorAt(0.2, QColor(80, 200, 255, 230));
    glow.setColorAt(0.5, QColor(210, 250, 255, 255));
    glow.setColorAt(0.8, QColor(80, 200, 255, 230));
    glow.setColorAt(1.0, QColor(40, 120, 255, 0));
    p.setBrush(glow);
    p.drawRoundedRect(light, light.height() / 2, light.height() / 2);

    // Gloss over the upper half.
    const QRectF gloss = r.adjusted(rad * 0.55, h * 0.07, -rad * 0.55, -h * 0.55);
    QLinearGradient shine(gloss.topLeft(), gloss.bottomLeft());
    shine.setColorAt(0, QColor(255, 255, 255, 200));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setBrush(shine);
    p.drawRoundedRect(gloss, gloss.height() / 2, gloss.height() / 2);

    p.setClipping(false);
    p.setPen(QPen(kInk, line));
    p.setBrush(Qt::NoBrush);
    p.drawPath(body);
    p.restore();
}

QColor brickShade(Noise& n)
{
    const QColor hsv = kBrick.toHsv();
    return QColor::fromHsv(std::clamp(hsv.hue() + int(n.range(-6, 6)), 0, 359),
                           std::clamp(hsv.saturation() + int(n.range(-30, 20)), 0, 255),
                           std::clamp(hsv.value() + int(n.range(-34, 22)), 0, 255));
}

void drawBrickWall(QPainter& p, const QRectF& area, qreal courseH, qreal brickW, qreal gap, quint32 seed)
{
    p.save();
    p.setClipRect(area);
    QLinearGradient mortar(area.topLeft(), area.bottomLeft());
    mortar.setColorAt(0, kMortar.lighter(115));
    mortar.setColorAt(1, kMortar.darker(130));
    p.fillRect(area, mortar);

    Noise n(seed);
    drawGrit(p, area, n, 0.05, 60);
    const int rows = int(std::ceil(area.height() / courseH));
    const qreal rad = gap * 0.7;
    for (int row = 0; row < rows; ++row) {
        const qreal y = area.top() + row * courseH;
        const qreal offset = (row % 2) ? brickW / 2 : 0;
        for (qreal x = area.left() - offset; x < area.right(); x += brickW) {
            const QRectF b(x + gap / 2, y + gap / 2, brickW - gap, courseH - gap);
            const QColor shade = brickShade(n);
            QLinearGradient face(b.topLeft(), b.bottomLeft());
            face.setColorAt(0, shade.lighter(118));
            face.setColorAt(0.5, shade);
            face.setColorAt(1, shade.darker(128));
            p.setPen(Qt::NoPen);
            p.setBrush(face);
            p.drawRoundedRect(b, rad, rad);

            p.save();
            QPainterPath clip;
            clip.addRoundedRect(b, rad, rad);
            p.setClipPath(clip, Qt::IntersectClip);
            // Soft light from above, shadow below: a shallow bevel.
            const qreal bevel = std::max(0.6, gap * 0.55);
            p.fillRect(QRectF(b.left(), b.top(), b.width(), bevel), QColor(255, 225, 200, 85));
            p.fillRect(QRectF(b.left(), b.top(), bevel, b.height()), QColor(255, 225, 200, 45));
            p.fillRect(QRectF(b.left(), b.bottom() - bevel, b.width(), bevel), QColor(40, 10, 0, 95));
            p.fillRect(QRectF(b.right() - bevel, b.top(), bevel, b.height()), QColor(40, 10, 0, 60));
            drawGrit(p, b, n, 0.045, 70);
            // Now and then a darker weathered patch.
            if (n.next() < 0.35) {
                const QPointF c(n.range(b.left(), b.right()), n.range(b.top(), b.bottom()));
                const qreal rr = n.range(0.2, 0.45) * b.width();
                QRadialGradient patch(c, rr);
                patch.setColorAt(0, QColor(60, 20, 10, 60));
                patch.setColorAt(1, QColor(60, 20, 10, 0));
                p.fillRect(b, patch);
            }
            p.restore();
        }
    }
    p.restore();
}

void drawWall(QPainter& p, const QRectF& r, qreal ledgeH, qreal courseH, qreal brickW, qreal gap,
              quint32 seed)
{
    const QRectF bricks(r.left(), r.top() + ledgeH, r.width(), r.height() - ledgeH);
    drawBrickWall(p, bricks, courseH, brickW, gap, seed);

    QLinearGradient shadow(bricks.topLeft(), bricks.topLeft() + QPointF(0, courseH * 0.6));
    shadow.setColorAt(0, QColor(0, 0, 0, 130));
    shadow.setColorAt(1, QColor(0, 0, 0, 0));
    p.fillRect(QRectF(bricks.left(), bricks.top(), bricks.width(), courseH * 0.6), shadow);

    const qreal fadeFrom = r.top() + ledgeH + courseH * 2.5;
    if (fadeFrom < r.bottom()) {
        QLinearGradient deep(QPointF(0, fadeFrom), QPointF(0, r.bottom()));
        deep.setColorAt(0, QColor(10, 6, 12, 0));
        deep.setColorAt(1, QColor(10, 6, 12, 110));
        p.fillRect(QRectF(r.left(), fadeFrom, r.width(), r.bottom() - fadeFrom), deep);
    }
    drawLedge(p, QRectF(r.left(), r.top(), r.width(), ledgeH), ledgeH * 4.5);
}

void drawNightBackdrop(QPainter& p, const QRectF& r, quint32 seed)
{
    QRadialGradient base(QPointF(r.center().x(), r.top() + r.height() * 0.35),
                         std::max(r.width(), r.height()) * 0.75);
    base.setColorAt(0, kNavy.lighter(118));
    base.setColorAt(0.6, kNavy.darker(125));
    base.setColorAt(1, kNight);
    p.fillRect(r, base);

    const qreal courseH = 18, brickW = 44;
    p.save();
    p.setClipRect(r);
    for (int row = 0; r.top() + row * courseH < r.bottom(); ++row) {
        const qreal y = r.top() + row * courseH;
        p.fillRect(QRectF(r.left(), y, r.width(), 1), QColor(0, 0, 0, 60));
        p.fillRect(QRectF(r.left(), y + 1, r.width(), 1), QColor(255, 255, 255, 12));
        const qreal offset = (row % 2) ? brickW / 2 : 0;
        for (qreal x = r.left() - offset; x < r.right(); x += brickW) {
            p.fillRect(QRectF(x, y, 1, courseH), QColor(0, 0, 0, 60));
            p.fillRect(QRectF(x + 1, y + 1, 1, courseH - 1), QColor(255, 255, 255, 12));
        }
    }
    Noise n(seed);
    p.setPen(Qt::NoPen);
    const int dots = int(r.width() * r.height() * 0.02);
    for (int i = 0; i < dots; ++i) {
        const QPointF at(n.range(r.left(), r.right()), n.range(r.top(), r.bottom()));
        p.setBrush(n.next() < 0.5 ? QColor(255, 255, 255, int(n.range(4, 16)))
                                  : QColor(0, 0, 0, int(n.range(10, 40))));
        p.drawEllipse(at, 0.6, 0.6);
    }
    QRadialGradient vignette(r.center(), std::hypot(r.width(), r.height()) * 0.55);
    vignette.setColorAt(0.55, QColor(0, 0, 0, 0));
    vignette.setColorAt(1, QColor(0, 0, 0, 120));
    p.fillRect(r, vignette);
    p.restore();
}

} // namespace art
