#pragma once
// The pictures painted so far, kept by name, logical size and pixel ratio in a cache of their
// own: the game's pictures never change the limit of Qt's shared pixmap cache.
#include <QPainter>
#include <QPixmap>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <functional>

namespace art {

// Paints into an image of logical × dpr pixels, antialiased, and keeps the result, keyed by name,
// logical size and dpr; later calls with the same key return the same pixmap. An empty size
// gives a null pixmap, a ratio that is not positive counts as 1. GUI thread only.
QPixmap cached(const QString& name, QSize size, qreal dpr, const std::function<void(QPainter&, const QSizeF&)>& draw);

// Forgets every picture kept, so that the next call paints afresh.
void dropCachedPictures();

} // namespace art
