#pragma once
// Frames paced by the display: while something moves, the clock calls its draw function once per
// vertical blank of the display the window is on, for that blank's time on the blank clock.
//
// On X11 (Xorg, XWayland, Xvfb) the blanks come from the Present extension. Where there is none
// (the headless platform, a Wayland-native window, a server without the extension), or while the
// blanks stop or come too seldom to draw by (a hidden, minimised or covered window gets one a
// second or none; a sleeping display none), a timer at the screen's refresh rate (60 Hz where the
// screen reports none) draws instead, until the blanks come back.
//
// Nothing runs while stopped: no blank is asked for and no timer wakes the program.
#include "frames/blank_clock.h"

#include <QPointer>
#include <QTimer>
#include <functional>
#include <memory>

class QWidget;

namespace frames {

class PresentNotices;

struct Frame {
    Micros time;         // the blank's time, or the timer's, on the monotonic clock
    std::uint64_t count; // the blank's count, or the timer's own
    bool blank;          // paced by a blank (false: by the timer)
};

class FrameClock {
public:
    // Blanks at least this often are drawn by; fewer, and the timer draws.
    static constexpr Micros kSlowestBlanks = 50'000;

    // A clock that is not `paced` draws nothing by itself: its frames are drawn by hand (tests).
    explicit FrameClock(std::function<void(const Frame&)> draw, bool paced = true);
    ~FrameClock();
    FrameClock(const FrameClock&) = delete;
    FrameClock& operator=(const FrameClock&) = delete;

    // The window whose display paces the frames (its top-level widget).
    void setWindow(QWidget* window);
    void start();
    void stop();
    bool running() const { return m_running; }
    // The timer's period, from the screen's refresh rate.
    Micros timerPeriod() const;

private:
    void openNotices();
    void blank(std::uint64_t count, Micros time);
    void timerFrame();
    void armTimer(Micros wait);

    std::function<void(const Frame&)> m_draw;
    QPointer<QWidget> m_window;
    std::unique_ptr<PresentNotices> m_notices;
    std::uintptr_t m_noticesFor = 0; // the X window the notices are for
    BlankClock m_blanks;
    QTimer m_timer;
    bool m_paced;
    bool m_running = false;
    std::uint64_t m_drawnCount = 0; // the last blank drawn
    std::uint64_t m_timerCount = 0;
    Micros m_lastNotice = 0;
};

} // namespace frames
