#pragma once
// The display's vertical blanks as the X server's Present extension reports them, on a connection
// and a window of this program's own: it asks for the next blank after every notice
// (PresentNotifyMSC) and fits a clock to all the notices seen, since a single notice's time wavers
// (Xvfb fakes its blanks with millisecond timers, and now and then a notice comes early and names
// the count already seen). Without Present, or before enough notices came, the clock is a plain
// 60 Hz one of this program's own.
#include <cstdint>
#include <vector>

struct xcb_connection_t;

namespace bench {

// Microseconds on CLOCK_MONOTONIC, the clock Xvfb stamps its notices with.
double nowUs();
// Sleeps until that time.
void sleepUntilUs(double us);

class BlankClock {
public:
    BlankClock();
    ~BlankClock();
    BlankClock(const BlankClock&) = delete;
    BlankClock& operator=(const BlankClock&) = delete;

    // Present answers on this display (else the clock runs from the fallback rate).
    bool present() const { return m_eventBase >= 0; }
    // The connection's file descriptor, readable when notices wait (-1 without a connection).
    int fd() const;
    // Reads the notices that came, without waiting; keeps one request for the next blank open.
    void pump();
    // Waits up to maxMs for at least `count` notices (pumping); true if they came.
    bool warmUp(int count, int maxMs);

    // The fitted blank period and the time of blank `msc`, in microseconds.
    double periodUs() const { return m_periodUs; }
    double blankUs(std::int64_t msc) const { return m_originUs + static_cast<double>(msc - m_originMsc) * m_periodUs; }
    // The last blank at or before time t.
    std::int64_t blankAt(double tUs) const;

    int notices() const { return static_cast<int>(m_seen.size()); }
    // Notices that named a count already seen.
    int earlyNotices() const { return m_early; }

private:
    void request(std::int64_t msc);
    void fit();

    xcb_connection_t* m_conn = nullptr;
    std::uint32_t m_window = 0;
    std::uint32_t m_eid = 0;
    int m_eventBase = -1; // the extension's major opcode; -1 without Present
    std::uint32_t m_serial = 0;
    bool m_waiting = false;
    std::int64_t m_lastMsc = -1;
    int m_early = 0;
    struct Notice { std::int64_t msc; double ust; };
    std::vector<Notice> m_seen;
    // The fit: blank msc is at m_originUs + (msc - m_originMsc) * m_periodUs.
    std::int64_t m_originMsc = 0;
    double m_originUs = 0;
    double m_periodUs = 1e6 / 60;
};

} // namespace bench
