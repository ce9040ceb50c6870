#pragma once
// The ball as the game's pictures paint it: a golden sphere, and the comet tail of a moving one.
#include <QPainter>
#include <QPointF>

namespace art {

// A golden ball of radius r centred on c, lit from the top left, with a thin dark outline.
void drawBall(QPainter& p, QPointF c, qreal r);

// A fading comet tail behind a moving ball centred on c of radius r; `dir` points where the ball
// is heading. `steps` ghosts `spacing` apart shrink and fade away from the ball. Nothing is
// drawn for a zero direction.
void drawBallTrail(QPainter& p, QPointF c, qreal r, QPointF dir, int steps, qreal spacing);

} // namespace art
