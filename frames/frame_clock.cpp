#include "frames/frame_clock.h"

#include "frames/present_notices.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <cmath>

namespace frames {

namespace {
// The timer takes over when no blank was drawn for this many of its periods.
constexpr double kGraceFrames = 2.5;
// Blanks asked for and none come this long: ask afresh, for whichever blank comes first.
constexpr Micros kStalled = 250'000;
// A blank's fitted time this far from now is on another clock: the frame is drawn for now.
constexpr Micros kOtherClock = 100'000;
} // namespace

FrameClock::FrameClock(std::function<void(const Frame&)> draw, bool paced) : m_draw(std::move(draw)), m_paced(paced)
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, [this] { timerFrame(); });
}

FrameClock::~FrameClock() = default;

void FrameClock::setWindow(QWidget* window)
{
    m_window = window;
}

Micros FrameClock::timerPeriod() const
{
    const QScreen* screen = m_window && m_window->screen() ? m_window->screen() : QGuiApplication::primaryScreen();
    const double hz = screen ? screen->refreshRate() : 0;
    return static_cast<Micros>(std::llround(1e6 / (hz >= 20 && hz <= 1000 ? hz : 60.0)));
}

void FrameClock::openNotices()
{
    // The notices are for the window as it now is in the window system; a window made anew gets new ones.
    const std::uintptr_t id = m_window && m_window->windowHandle() ? m_window->winId() : 0;
    if (id == m_noticesFor)
        return;
    if (m_notices) {
        // Its own notice may be what runs now (a frame whose tick restarts the clock): it goes
        // once the event is handled.
        m_notices->onBlank = nullptr;
        m_notices.release()->deleteLater();
    }
    m_blanks.reset();
    m_noticesFor = id;
    if (id == 0 || QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    m_notices = PresentNotices::open(static_cast<std::uint32_t>(id));
    if (m_notices)
        m_notices->onBlank = [this](std::uint64_t count, Micros time) { blank(count, time); };
}

void FrameClock::start()
{
    if (m_running)
        return;
    m_running = true;
    if (!m_paced)
        return;
    openNotices();
    m_lastNotice = shell::monotonicMicros();
    if (m_notices)
        m_notices->ask();
    // Until the blanks show their rate, the timer draws.
    armTimer(m_notices ? static_cast<Micros>(kGraceFrames * static_cast<double>(timerPeriod())) : 0);
}

void FrameClock::stop()
{
    m_running = false;
    m_timer.stop();
}

void FrameClock::blank(std::uint64_t count, Micros time)
{
    const Micros now = shell::monotonicMicros();
    m_lastNotice = now;
    const bool fresh = m_blanks.add(count, time);
    if (!m_running)
        return; // the last ask's answer, after the stop: ask no more
    m_notices->ask();
    const double period = m_blanks.period();
    if (!fresh || !m_blanks.fitted() || period <= 0 || period > kSlowestBlanks || count <= m_drawnCount)
        return;
    m_drawnCount = count;
    Micros at = m_blanks.timeOf(count);
    if (std::llabs(at - now) > kOtherClock)
        at = now;
    armTimer(static_cast<Micros>(kGraceFrames * period));
    m_draw(Frame{at, count, true});
}

void FrameClock::timerFrame()
{
    if (!m_running)
        return;
    const Micros now = shell::monotonicMicros();
    if (m_notices && now - m_lastNotice > kStalled) {
        m_lastNotice = now;
        m_notices->restart();
        m_notices->ask();
    }
    armTimer(timerPeriod());
    m_draw(Frame{now, ++m_timerCount, false});
}

void FrameClock::armTimer(Micros wait)
{
    m_timer.start(static_cast<int>(std::max<Micros>(0, wait) / 1000));
}

} // namespace frames
