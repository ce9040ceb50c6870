#include "assets/art.h"

#include <QFont>
#include <QFontMetricsF>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QPolygonF>
#include <QRadialGradient>
#include <QtMath>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace art {
namespace {

// One palette for every picture: night-blue surroundings, steel, terracotta walls, the golden
// ball and the three cell colours of the playfield.
const QColor kNight(12, 16, 34);
const QColor kNavy(30, 40, 72);
const QColor kNavyLight(56, 72, 122);
const QColor kInk(22, 26, 38);
const QColor kCellGreen(0, 250, 0);
const QColor kCellYellow(250, 250, 0);
const QColor kCellRed(250, 0, 0);
const QColor kBrick(176, 82, 54);
const QColor kMortar(92, 84, 78);

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

QColor withAlpha(QColor c, int alpha)
{
    c.setAlpha(alpha);
    return c;
}

// Paints into an image of logical × dpr pixels and keeps the result in QPixmapCache,
// keyed by name, logical size and dpr.
template <class Draw>
QPixmap cached(const QString& name, QSize size, qreal dpr, Draw draw)
{
    if (size.isEmpty())
        return {};
    if (!(dpr > 0))
        dpr = 1;
    const QString key = QStringLiteral("plinkat-art/%1/%2x%3@%4")
                            .arg(name)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(dpr);
    // The 2× backgrounds alone take several megabytes; leave room for them next to Qt's own use.
    constexpr int kCacheKilobytes = 32 * 1024;
    if (QPixmapCache::cacheLimit() < kCacheKilobytes)
        QPixmapCache::setCacheLimit(kCacheKilobytes);
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;

    QImage image(qMax(1, qRound(size.width() * dpr)), qMax(1, qRound(size.height() * dpr)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        draw(p, QSizeF(size));
    }
    pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(dpr);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

// Maps a picture composed for `design` onto `actual` logical pixels.
void fitDesign(QPainter& p, const QSizeF& actual, const QSizeF& design)
{
    p.scale(actual.width() / design.width(), actual.height() / design.height());
}

// ---- shared pieces ------------------------------------------------------------------------

void drawBall(QPainter& p, QPointF c, qreal r)
{
    p.save();
    QRadialGradient body(c, r, c + QPointF(-0.42 * r, -0.48 * r));
    body.setColorAt(0.0, QColor(255, 253, 232));
    body.setColorAt(0.18, QColor(255, 240, 110));
    body.setColorAt(0.6, QColor(255, 204, 30));
    body.setColorAt(0.88, QColor(232, 148, 0));
    body.setColorAt(1.0, QColor(180, 108, 0));
    p.setPen(QPen(QColor(110, 64, 0), std::max(0.5, r * 0.09)));
    p.setBrush(body);
    p.drawEllipse(c, r, r);

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

// A fading comet tail behind a moving ball; `dir` points where the ball is heading.
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

// One playfield cell: a glassy bevelled tile in the cell's colour.
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

// The paddle: red end caps around a steel body with a blue light strip and a glossy top.
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

// A running-bond brick wall over `area`, with mortar joints of `gap`.
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

// The whole bottom wall: ledge, brick courses, shadow under the ledge, darkening below.
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

// Night-blue backdrop with faint embossed brick joints, grit and a vignette.
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

// ---- start screen -------------------------------------------------------------------------

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

// ---- other windows ------------------------------------------------------------------------

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

// The smallest icon, drawn on a 16-pixel grid so its cells stay crisp.
void drawIconSmall(QPainter& p, int size)
{
    p.scale(size / 16.0, size / 16.0);
    QLinearGradient bg(QPointF(0, 0), QPointF(0, 16));
    bg.setColorAt(0, kNavyLight);
    bg.setColorAt(1, kNight);
    p.setPen(Qt::NoPen);
    p.setBrush(kNight);
    p.drawRoundedRect(QRectF(0, 0, 16, 16), 3, 3);
    p.setBrush(bg);
    p.drawRoundedRect(QRectF(1, 1, 14, 14), 2.2, 2.2);

    p.setRenderHint(QPainter::Antialiasing, false);
    const std::array<QColor, 2> rows{kCellRed, kCellYellow};
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 3; ++col) {
            if (row == 1 && col == 1)
                continue;
            p.fillRect(QRect(2 + col * 4, 2 + row * 3, 3, 2), rows[std::size_t(row)]);
        }
    p.fillRect(QRect(4, 12, 6, 2), QColor(206, 214, 230));
    p.fillRect(QRect(3, 12, 1, 2), kCellRed);
    p.fillRect(QRect(10, 12, 1, 2), kCellRed);
    p.setRenderHint(QPainter::Antialiasing, true);
    drawBall(p, QPointF(10, 9), 2.2);
}

// The icon from 32 px up, composed on a 64-unit square.
void drawIconLarge(QPainter& p, int size)
{
    p.scale(size / 64.0, size / 64.0);
    const QRectF tile(3, 3, 58, 58);
    QLinearGradient bg(tile.topLeft(), tile.bottomLeft());
    bg.setColorAt(0, kNavyLight);
    bg.setColorAt(1, kNight);
    p.setPen(QPen(kNight, 1.6));
    p.setBrush(bg);
    p.drawRoundedRect(tile, 13, 13);
    p.setPen(QPen(QColor(255, 255, 255, 60), 1.2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(tile.adjusted(1.8, 1.8, -1.8, -1.8), 11.5, 11.5);

    const std::array<QColor, 3> rows{kCellRed, kCellYellow, kCellGreen};
    const qreal left = 10, width = 44, gap = 2.2;
    const qreal cw = (width - 3 * gap) / 4, ch = 7;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) {
            if (row == 2 && col == 1)
                continue;
            drawCell(p, QRectF(left + col * (cw + gap), 11 + row * (ch + gap), cw, ch), rows[std::size_t(row)]);
        }

    const QPointF ball(37, 40);
    drawBallTrail(p, ball, 6.5, QPointF(1, -1.1), 7, 1.9);
    drawBall(p, ball, 6.5);
    drawPaddle(p, QRectF(14, 50, 32, 8));
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

QImage appIconImage(int size)
{
    if (size <= 0)
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    if (size < 32)
        drawIconSmall(p, size);
    else
        drawIconLarge(p, size);
    p.end();
    return image;
}

namespace {

// The icon of every window. Its six images are painted once, for all windows, when a window first
// asks for its pixels (when it first appears on screen), not when the icon is given to it.
class AppIconEngine final : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return false; }
    QString key() const override { return QStringLiteral("plinkat-app-icon"); }
    QIconEngine* clone() const override { return new AppIconEngine; }

private:
    QIcon& icon()
    {
        // The images are shared by every window; QImage rather than QPixmap, so that they may
        // outlive the application object.
        static std::vector<QImage> images;
        if (images.empty()) {
            for (int size : {16, 32, 48, 64, 128, 256})
                images.push_back(appIconImage(size));
        }
        if (m_icon.isNull())
            for (const QImage& image : images)
                m_icon.addPixmap(QPixmap::fromImage(image));
        return m_icon;
    }

    QIcon m_icon;
};

} // namespace

QIcon appIcon()
{
    return QIcon(new AppIconEngine);
}

} // namespace art
