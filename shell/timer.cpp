#include "shell/timer.h"

#include "shell/program.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <ctime>

namespace shell {

Micros monotonicMicros()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<Micros>(ts.tv_sec) * 1'000'000 + ts.tv_nsec / 1000;
}

std::optional<Micros> TickSchedule::takeDue(Micros now)
{
    if (now - m_next > kMaxCatchUp)
        m_next = now; // too far behind: the backlog goes, one tick now
    if (m_next > now)
        return std::nullopt;
    const Micros due = m_next;
    m_next += m_period;
    return due;
}

namespace {

// One wake-up for all timers, at the earliest tick due; each wake-up runs every tick due by then.
class RealClock : public Clock {
public:
    void attach(Timer& timer) override { m_entries.push_back({&timer, TickSchedule()}); }
    void detach(Timer& timer) override
    {
        std::erase_if(m_entries, [&](const Entry& e) { return e.timer == &timer; });
        rearm();
    }
    void changed(Timer& timer) override
    {
        for (Entry& e : m_entries)
            if (e.timer == &timer) {
                e.schedule = TickSchedule(static_cast<Micros>(periodOf(timer.interval())) * 1000);
                e.schedule.start(now());
            }
        rearm();
    }
    Micros now() const override { return monotonicMicros(); }

    void runDue(Micros time) override
    {
        // A tick may create, destroy, start or stop timers: the entries are searched afresh each time.
        for (;;) {
            Entry* first = nullptr;
            for (Entry& e : m_entries)
                if (e.timer->enabled() && e.schedule.next() <= time && (!first || e.schedule.next() < first->schedule.next()))
                    first = &e;
            if (!first)
                break;
            Timer* timer = first->timer;
            const std::optional<Micros> due = first->schedule.takeDue(time);
            if (due)
                timer->tickDueAt(*due);
        }
        rearm();
    }

private:
    struct Entry {
        Timer* timer;
        TickSchedule schedule;
    };

    void rearm()
    {
        std::optional<Micros> earliest;
        for (const Entry& e : m_entries)
            if (e.timer->enabled())
                earliest = std::min(earliest.value_or(e.schedule.next()), e.schedule.next());
        if (!m_wake) {
            if (!earliest || !QCoreApplication::instance())
                return;
            // Owned by the application, so it goes with it, before this static clock.
            m_wake = new QTimer(QCoreApplication::instance());
            m_wake->setSingleShot(true);
            m_wake->setTimerType(Qt::PreciseTimer);
            // Qt's precise timers keep whole milliseconds: a wake-up up to one early still runs the tick.
            QObject::connect(m_wake, &QTimer::timeout, [this] { runDue(now() + 1000); });
        }
        if (!earliest) {
            m_wake->stop();
            return;
        }
        const Micros wait = std::max<Micros>(0, *earliest - now());
        m_wake->start(static_cast<int>((wait + 999) / 1000));
    }

    std::vector<Entry> m_entries;
    QPointer<QTimer> m_wake;
};

RealClock& theRealClock()
{
    static RealClock clock;
    return clock;
}
Clock* g_clock = nullptr;
} // namespace

Clock& clock()
{
    return g_clock ? *g_clock : theRealClock();
}

void setClock(Clock* c)
{
    g_clock = c;
}

bool realClock()
{
    return g_clock == nullptr;
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
    tickDueAt(m_clock->now());
}

void Timer::tickDueAt(Micros due)
{
    if (!m_enabled || m_inTick || !onTick || programEnded())
        return;
    m_tickTime = due;
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
            t->tickDueAt(m_now * 1000);
        }
    }
}

} // namespace shell
