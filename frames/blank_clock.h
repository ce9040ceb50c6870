#pragma once
// The display's vertical blanks as a clock: a line fitted to many notices of blanks (their counter
// and the time the server gave each), so that a frame is drawn for the blank's place on an even
// grid, never for one notice's own time, which may waver by a millisecond or more.
//
// A notice that names a count already seen is dropped. When notices keep falling off the line (the
// window went to a screen with another rate, or the server's clock jumped) the fit starts afresh
// from the latest ones.
#include "shell/timer.h"

#include <cstdint>
#include <deque>

namespace frames {

using shell::Micros;

class BlankClock {
public:
    // Notices kept for the fit, and how many off the line in a row start it afresh.
    static constexpr std::size_t kKept = 48;
    static constexpr int kOffLineInARow = 3;

    // Takes one notice; false when it is dropped (a count already seen).
    bool add(std::uint64_t count, Micros time);
    // Enough notices for a period: two of different counts.
    bool fitted() const { return m_samples.size() >= 2; }
    // The fitted time of the blank with this count, and the time between blanks.
    Micros timeOf(std::uint64_t count) const;
    double period() const { return m_slope; }
    std::uint64_t lastCount() const { return m_lastCount; }
    void reset();

private:
    struct Sample {
        std::uint64_t count;
        Micros time;
    };
    void fit();
    double residual(const Sample& s) const;

    std::deque<Sample> m_samples;
    std::uint64_t m_lastCount = 0;
    bool m_any = false;
    int m_offLine = 0;
    // time = m_base + m_slope * (count - m_baseCount) + m_offset
    std::uint64_t m_baseCount = 0;
    Micros m_base = 0;
    double m_slope = 0;
    double m_offset = 0;
};

} // namespace frames
