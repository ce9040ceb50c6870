#pragma once
// Pieces that several of the game's pictures are built from: the playfield's cells and paddle,
// the brick walls and the night-blue backdrop.
#include "assets/palette.h"

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace art {

// One playfield cell: a glassy bevelled tile in the cell's colour.
void drawCell(QPainter& p, const QRectF& r, const QColor& base);

// The paddle: red end caps around a steel body with a blue light strip and a glossy top.
void drawPaddle(QPainter& p, const QRectF& outer);

// A terracotta shade of one brick, a little different each time.
QColor brickShade(Noise& n);

// A running-bond brick wall over `area`, with mortar joints of `gap`.
void drawBrickWall(QPainter& p, const QRectF& area, qreal courseH, qreal brickW, qreal gap, quint32 seed);

// The whole bottom wall: ledge, brick courses, shadow under the ledge, darkening below.
void drawWall(QPainter& p, const QRectF& r, qreal ledgeH, qreal courseH, qreal brickW, qreal gap,
              quint32 seed);

// Night-blue backdrop with faint embossed brick joints, grit and a vignette.
void drawNightBackdrop(QPainter& p, const QRectF& r, quint32 seed);

} // namespace art
