#include "frames/blank_clock.h"

#include <algorithm>
#include <cmath>

namespace frames {

namespace {
// A notice this far off the fitted line (or a quarter of a period, if more) is off the line.
constexpr double kOffLineMicros = 2000;
// A count this far below the last is no late notice but a new count.
constexpr std::uint64_t kCountsBack = 8;
} // namespace

void BlankClock::reset()
{
    m_samples.clear();
    m_any = false;
    m_offLine = 0;
    m_slope = 0;
    m_offset = 0;
}

double BlankClock::residual(const Sample& s) const
{
    return static_cast<double>(s.time - timeOf(s.count));
}

bool BlankClock::add(std::uint64_t count, Micros time)
{
    if (m_any && count + kCountsBack < m_lastCount)
        reset(); // counted afresh: another display, or the window made anew
    else if (m_any && count <= m_lastCount)
        return false;
    m_any = true;
    m_lastCount = count;
    const Sample s{count, time};
    if (fitted()) {
        const double tolerance = std::max(kOffLineMicros, m_slope / 4);
        m_offLine = std::abs(residual(s)) > tolerance ? m_offLine + 1 : 0;
        if (m_offLine >= kOffLineInARow) {
            // The latest notices agree with each other, not with the line: they start a new one.
            std::deque<Sample> recent(m_samples.end() - std::min<std::ptrdiff_t>(kOffLineInARow - 1, std::ssize(m_samples)), m_samples.end());
            m_samples = std::move(recent);
            m_offLine = 0;
        }
    }
    m_samples.push_back(s);
    if (m_samples.size() > kKept)
        m_samples.pop_front();
    fit();
    return true;
}

// Least squares over the notices kept, in counts and microseconds from the first of them.
void BlankClock::fit()
{
    if (m_samples.size() < 2)
        return;
    m_baseCount = m_samples.front().count;
    m_base = m_samples.front().time;
    double n = 0, sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const Sample& s : m_samples) {
        const double x = static_cast<double>(s.count - m_baseCount);
        const double y = static_cast<double>(s.time - m_base);
        n += 1;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double d = n * sxx - sx * sx;
    if (d <= 0)
        return;
    m_slope = (n * sxy - sx * sy) / d;
    m_offset = (sy - m_slope * sx) / n;
}

Micros BlankClock::timeOf(std::uint64_t count) const
{
    const double x = static_cast<double>(static_cast<std::int64_t>(count - m_baseCount));
    return m_base + static_cast<Micros>(std::llround(m_offset + m_slope * x));
}

} // namespace frames
