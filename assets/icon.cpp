// The application icon: the window icon and the images of the desktop's icon files.
#include "assets/art.h"
#include "assets/ball.h"
#include "assets/palette.h"
#include "assets/pieces.h"

#include <QIconEngine>
#include <QLinearGradient>

#include <array>
#include <vector>

namespace art {
namespace {

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
