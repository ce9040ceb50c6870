#include "assets/picture_cache.h"

#include <QCache>
#include <QCoreApplication>
#include <QImage>

namespace art {
namespace {

// The 2× backgrounds alone take several megabytes. The least recently used pictures go first.
constexpr int kCacheKilobytes = 32 * 1024;

QCache<QString, QPixmap>& pictures()
{
    static QCache<QString, QPixmap> cache(kCacheKilobytes);
    return cache;
}

// Pixmaps go before the application object does.
bool dropAtExitArranged = false;

void dropAtExit()
{
    pictures().clear();
    dropAtExitArranged = false;
}

} // namespace

QPixmap cached(const QString& name, QSize size, qreal dpr, const std::function<void(QPainter&, const QSizeF&)>& draw)
{
    if (size.isEmpty())
        return {};
    if (!(dpr > 0))
        dpr = 1;
    const QString key = QStringLiteral("%1/%2x%3@%4").arg(name).arg(size.width()).arg(size.height()).arg(dpr);
    if (const QPixmap* found = pictures().object(key))
        return *found;

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
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(dpr);
    if (!dropAtExitArranged && QCoreApplication::instance()) {
        qAddPostRoutine(dropAtExit);
        dropAtExitArranged = true;
    }
    const auto kilobytes = static_cast<qsizetype>(qMax<qint64>(1, image.sizeInBytes() / 1024));
    pictures().insert(key, new QPixmap(pixmap), kilobytes);
    return pixmap;
}

void dropCachedPictures()
{
    pictures().clear();
}

} // namespace art
