// The yardstick for the ball's motion: a bare Qt Widgets window of the main window's width that
// draws a ball like the game's (33 px, yellow with its outline, antialiased) right after every
// blank of the display, at the place the next blank's time puts it, moving at the game's design
// speed (4 mm a tick along each axis, 62.5 ticks a second, 3.78 px to the mm) and bouncing off the
// window's edges. The blanks come from the X server's Present extension (bench/blank_clock.h);
// a 1 ms timer looks for the next one. plinkat_frame_probe reads it as it reads the game.
#include "blank_clock.h"

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <cmath>

namespace {

constexpr double kDiameter = 33;
constexpr double kSpeed = 4.0 * 62.5 * 1440.0 / 25.4 / 15.0; // px per second along each axis

// A point going back and forth over [0, span] at kSpeed: where it is after `seconds`.
double bounce(double seconds, double span)
{
    const double d = std::fmod(seconds * kSpeed, 2 * span);
    return d <= span ? d : 2 * span - d;
}

class BareBall : public QWidget {
public:
    BareBall()
    {
        setWindowTitle(QStringLiteral("bare ball"));
        setFixedSize(613, 549);
        setAttribute(Qt::WA_OpaquePaintEvent);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { look(); });
        m_timer.start(1);
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        p.fillRect(e->rect(), Qt::white);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(192, 192, 0), 1));
        p.setBrush(QColor(255, 255, 0));
        p.drawEllipse(m_ball.adjusted(0.5, 0.5, -0.5, -0.5));
    }

private:
    void look()
    {
        m_clock.pump();
        const double now = bench::nowUs();
        const std::int64_t blank = m_clock.blankAt(now);
        if (blank == m_drawn)
            return;
        m_drawn = blank;
        const double t = (m_clock.blankUs(blank + 1) - m_start) / 1e6;
        const QRectF old = m_ball;
        m_ball = QRectF(bounce(t, width() - kDiameter), bounce(t, height() - kDiameter), kDiameter, kDiameter);
        repaint(old.united(m_ball).toAlignedRect().adjusted(-2, -2, 2, 2));
    }

    bench::BlankClock m_clock;
    const double m_start = bench::nowUs();
    std::int64_t m_drawn = -1;
    QRectF m_ball{0, 0, kDiameter, kDiameter};
    QTimer m_timer;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    BareBall ball;
    ball.show();
    return QApplication::exec();
}
