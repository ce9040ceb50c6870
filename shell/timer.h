#pragma once
// Timers of the windows, and the clock that drives them.
//
// A timer has an Enabled flag, an Interval in milliseconds and a tick handler. The clock ticks
// an enabled timer once per period, where the period is the Interval but never less than the
// clock's granularity of 16 ms: the 1 ms timers of the main window tick 62.5 times a second.
// A timer never ticks again while its own handler runs (a message box inside a tick is safe).
// The real clock counts the ticks due against the monotonic clock (TickSchedule), so they keep
// their own time whatever the machine's load or the display; tests install a ManualClock and
// advance it by hand.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace shell {

class Timer;

// Microseconds on the monotonic clock (CLOCK_MONOTONIC, as the X server's frame times).
using Micros = std::int64_t;
Micros monotonicMicros();

// When the ticks of one timer are due: every period from the moment it started. A tick that comes
// late does not move the ones after it, so a busy machine that wakes the program late still gets
// every tick, in a burst. A backlog longer than kMaxCatchUp is dropped instead, and the schedule
// starts afresh from now: a machine waking from suspend does not replay minutes of play.
class TickSchedule {
public:
    static constexpr Micros kMaxCatchUp = 250'000;

    explicit TickSchedule(Micros period = 16'000) : m_period(period) {}
    // The first tick one period after `now`.
    void start(Micros now) { m_next = now + m_period; }
    // The time a tick due by `now` is for, taking it off the schedule; nothing when none is due.
    std::optional<Micros> takeDue(Micros now);
    Micros next() const { return m_next; }
    Micros period() const { return m_period; }

private:
    Micros m_period;
    Micros m_next = 0;
};

class Clock {
public:
    static constexpr int kGranularityMs = 16;
    virtual ~Clock() = default;
    virtual void attach(Timer& timer) = 0;
    virtual void detach(Timer& timer) = 0;
    virtual void changed(Timer& timer) = 0; // Enabled or Interval changed
    // The clock's own time.
    virtual Micros now() const = 0;
    // Ticks every enabled timer whose tick is due by `time` (at the latest), in the order they fall
    // due: what a frame does before it draws, so that it draws no tick late.
    virtual void runDue(Micros time) = 0;
    static int periodOf(int intervalMs) { return intervalMs < kGranularityMs ? kGranularityMs : intervalMs; }
};

// The clock used by timers created from now on (and by existing ones at their next change).
Clock& clock();
// Installs a clock for the whole program; nullptr restores the real one. Install before creating windows.
void setClock(Clock* clock);
// Whether the real clock drives the timers (no test clock is installed).
bool realClock();

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
    // The time, on its clock, the tick that runs now or ran last was due at.
    Micros tickTime() const { return m_tickTime; }

    std::function<void()> onTick;

    // Runs the tick handler now, if the timer is enabled and its handler is not already running.
    void tick();
    // Runs the tick handler as the tick due at `due` (the clocks' way in).
    void tickDueAt(Micros due);
    bool ticking() const { return m_inTick; }

private:
    Clock* m_clock;
    bool m_enabled = false;
    int m_interval;
    bool m_inTick = false;
    unsigned m_starts = 0;
    Micros m_tickTime = 0;
};

// A clock for tests: nothing ticks until advance() is called.
class ManualClock : public Clock {
public:
    void attach(Timer& timer) override;
    void detach(Timer& timer) override;
    void changed(Timer& timer) override;
    Micros now() const override { return m_now * 1000; }
    void runDue(Micros) override {}

    // Moves time forward, ticking every enabled timer whose period has passed, in creation order.
    void advance(int ms);
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
