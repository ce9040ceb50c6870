#pragma once
// Where a thing that moves in ticks is drawn between them: on a straight line from its place
// before the last tick to its place after it, by the share of the tick's period that has passed
// since the tick was due. It is drawn at most one tick behind the game, and a frame between two
// ticks shows it where the time of the frame puts it, so it moves evenly at any display rate.
//
// A move that is no tick's (the ball put on the paddle, the mouse moving the paddle) snaps: the
// thing is drawn where it now is at once, never slid there.
#include "shell/timer.h"

#include <QPointF>

namespace frames {

using shell::Micros;

class Glide {
public:
    // The thing stands at `at`: drawn there until it next moves in a tick.
    void snap(QPointF at);
    // A tick due at `due`, of a timer with this period, moved the thing from `from` to `to`.
    void ticked(QPointF from, QPointF to, Micros due, Micros period);

    // The share of the last tick's period passed at `time`, 0 .. 1.
    double share(Micros time) const;
    // Where the thing is drawn at `time`.
    QPointF at(Micros time) const;
    // Whether it still slides at `time` (a frame after that draws it standing at target()).
    bool sliding(Micros time) const;
    // Where the last move took it.
    QPointF target() const { return m_to; }

private:
    QPointF m_from, m_to;
    Micros m_due = 0;
    Micros m_period = 0; // 0: standing
};

} // namespace frames
