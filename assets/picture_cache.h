#pragma once
// The pictures painted so far, kept by name, logical size and pixel ratio.
#include <QPainter>
#include <QPixmap>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <functional>

namespace art {

// Paints into an image of logical × dpr pixels, antialiased, and keeps the result in
// QPixmapCache, keyed by name, logical size and dpr. An empty size gives a null pixmap, a ratio
// that is not positive counts as 1.
QPixmap cached(const QString& name, QSize size, qreal dpr, const std::function<void(QPainter&, const QSizeF&)>& draw);

} // namespace art
