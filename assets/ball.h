#pragma once
// The ball, the one painter of it: the game's ball on the playfield and the balls of the pictures
// (a golden sphere, with the comet tail of a moving one) are drawn by drawBall, each in its look.
#include <QColor>
#include <QPainter>
#include <QPointF>
#include <vector>

namespace art {

// How a ball looks: its body's radial gradient, lit from the top left, its outline, and the rim
// light and highlight of a shiny one. Places and sizes are shares of the ball's radius.
struct BallLook {
    struct Stop {
        qreal at;
        QColor colour;
    };
    std::vector<Stop> body;
    QPointF centre;         // of the gradient, from the ball's centre
    qreal spread = 1;       // the gradient's radius
    QPointF light;          // the gradient's focal point, from the ball's centre
    QColor outline;
    qreal outlineShare = 0; // the outline's width, but never under
    qreal outlineMin = 1;   // this many pixels
    bool shiny = false;
};

// The golden sphere of the pictures.
const BallLook& goldenBall();
// The game's ball: a body of the fill colour, lighter towards its light and darker at its edge
// (exactly the fill on a ring between), inside a one-pixel outline of the outline colour.
BallLook playBall(QColor fill, QColor outline);

// A ball of radius r centred on c.
void drawBall(QPainter& p, QPointF c, qreal r, const BallLook& look);
// A golden ball of radius r centred on c, lit from the top left, with a thin dark outline.
inline void drawBall(QPainter& p, QPointF c, qreal r)
{
    drawBall(p, c, r, goldenBall());
}

// A fading comet tail behind a moving ball centred on c of radius r; `dir` points where the ball
// is heading. `steps` ghosts `spacing` apart shrink and fade away from the ball. Nothing is
// drawn for a zero direction.
void drawBallTrail(QPainter& p, QPointF c, qreal r, QPointF dir, int steps, qreal spacing);

} // namespace art
