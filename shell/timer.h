#pragma once
// Timers of the windows, and the clock that drives them.
//
// A timer has an Enabled flag, an Interval in milliseconds and a tick handler. The clock ticks
// an enabled timer once per period, where the period is the Interval but never less than the
// clock's granularity of 16 ms: the 1 ms timers of the main window tick 62.5 times a second.
// A timer never ticks again while its own handler runs (a message box inside a tick is safe).
// The real clock uses Qt timers; tests install a ManualClock and advance it by hand.
#include <QTimer>
#include <functional>
#include <memory>
#include <vector>

namespace shell {

class Timer;

class Clock {
public:
    static constexpr int kGranularityMs = 16;
    virtual ~Clock() = default;
    virtual void attach(Timer& timer) = 0;
    virtual void detach(Timer& timer) = 0;
    virtual void changed(Timer& timer) = 0; // Enabled or Interval changed
    static int periodOf(int intervalMs) { return intervalMs < kGranularityMs ? kGranularityMs : intervalMs; }
};

// The clock used by timers created from now on (and by existing ones at their next change).
Clock& clock();
// Installs a clock for the whole program; nullptr restores the real one. Install before creating windows.
void setClock(Clock* clock);

class Timer {
public:
    explicit Timer(int intervalMs = 1);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool enabled() const { return m_enabled; }
    void setEnabled(bool on);
    // How many times the timer has gone from disabled to enabled: a mark of "since it last started".
    unsigned starts() const { return m_starts; }
    int interval() const { return m_interval; }
    void setInterval(int ms);

    std::function<void()> onTick;

    // Runs the tick handler now, if the timer is enabled and its handler is not already running.
    void tick();

private:
    friend class RealClock;
    Clock* m_clock;
    bool m_enabled = false;
    int m_interval;
    bool m_inTick = false;
    unsigned m_starts = 0;
    std::unique_ptr<QTimer> m_qtimer; // used only by the real clock
};

// A clock for tests: nothing ticks until advance() is called.
class ManualClock : public Clock {
public:
    void attach(Timer& timer) override;
    void detach(Timer& timer) override;
    void changed(Timer& timer) override;

    // Moves time forward, ticking every enabled timer whose period has passed, in creation order.
    void advance(int ms);
    long long now() const { return m_now; }
    // How many attached timers are enabled, that is, would tick when time moves on.
    std::size_t enabledCount() const;
    // Stops every timer from ticking again (used when the program ends).
    void halt() { m_halted = true; }

private:
    struct Entry { Timer* timer; long long due; };
    std::vector<Entry> m_entries;
    long long m_now = 0;
    bool m_halted = false;
};

} // namespace shell
