#include "shell/timer.h"

#include "shell/program.h"

#include <algorithm>

namespace shell {

class RealClock : public Clock {
public:
    void attach(Timer& timer) override
    {
        timer.m_qtimer = std::make_unique<QTimer>();
        timer.m_qtimer->setTimerType(Qt::PreciseTimer);
        QObject::connect(timer.m_qtimer.get(), &QTimer::timeout, [&timer] { timer.tick(); });
    }
    void detach(Timer& timer) override { timer.m_qtimer.reset(); }
    void changed(Timer& timer) override
    {
        if (!timer.m_qtimer)
            return;
        if (timer.enabled())
            timer.m_qtimer->start(periodOf(timer.interval()));
        else
            timer.m_qtimer->stop();
    }
};

namespace {
RealClock& realClock()
{
    static RealClock clock;
    return clock;
}
Clock* g_clock = nullptr;
} // namespace

Clock& clock()
{
    return g_clock ? *g_clock : realClock();
}

void setClock(Clock* c)
{
    g_clock = c;
}

Timer::Timer(int intervalMs) : m_clock(&clock()), m_interval(intervalMs)
{
    m_clock->attach(*this);
}

Timer::~Timer()
{
    m_clock->detach(*this);
}

void Timer::setEnabled(bool on)
{
    // Re-enabling a running timer restarts its period, as setting Enabled does in a form designer's timer.
    if (on && !m_enabled)
        ++m_starts;
    m_enabled = on;
    m_clock->changed(*this);
}

void Timer::setInterval(int ms)
{
    m_interval = ms;
    m_clock->changed(*this);
}

void Timer::tick()
{
    if (!m_enabled || m_inTick || !onTick || programEnded())
        return;
    m_inTick = true;
    onTick();
    m_inTick = false;
}

void ManualClock::attach(Timer& timer)
{
    m_entries.push_back({&timer, 0});
}

void ManualClock::detach(Timer& timer)
{
    std::erase_if(m_entries, [&](const Entry& e) { return e.timer == &timer; });
}

void ManualClock::changed(Timer& timer)
{
    for (Entry& e : m_entries)
        if (e.timer == &timer)
            e.due = m_now + periodOf(timer.interval());
}

std::size_t ManualClock::enabledCount() const
{
    return static_cast<std::size_t>(std::count_if(m_entries.begin(), m_entries.end(),
                                                  [](const Entry& e) { return e.timer->enabled(); }));
}

void ManualClock::advance(int ms)
{
    const long long end = m_now + ms;
    while (m_now < end && !m_halted) {
        ++m_now;
        // Index loop: a tick may create or destroy timers (windows come and go).
        for (std::size_t i = 0; i < m_entries.size() && !m_halted; ++i) {
            Timer* t = m_entries[i].timer;
            if (!t->enabled() || m_entries[i].due > m_now)
                continue;
            m_entries[i].due = m_now + periodOf(t->interval());
            t->tick();
        }
    }
}

} // namespace shell
