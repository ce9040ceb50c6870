#include "assets/picture_cache.h"

#include <QImage>
#include <QPixmapCache>

namespace art {

QPixmap cached(const QString& name, QSize size, qreal dpr, const std::function<void(QPainter&, const QSizeF&)>& draw)
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

} // namespace art
