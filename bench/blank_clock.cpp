#include "blank_clock.h"

#include <xcb/present.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <poll.h>

namespace bench {

double nowUs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) * 1e6 + static_cast<double>(ts.tv_nsec) / 1e3;
}

void sleepUntilUs(double us)
{
    timespec ts{};
    ts.tv_sec = static_cast<time_t>(us / 1e6);
    ts.tv_nsec = static_cast<long>((us - static_cast<double>(ts.tv_sec) * 1e6) * 1e3);
    if (ts.tv_nsec >= 1000000000L) {
        ts.tv_sec += 1;
        ts.tv_nsec -= 1000000000L;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

BlankClock::BlankClock() : m_originUs(nowUs())
{
    m_conn = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(m_conn))
        return;
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(m_conn, &xcb_present_id);
    if (!ext || !ext->present)
        return;
    xcb_present_query_version_reply_t* version =
        xcb_present_query_version_reply(m_conn, xcb_present_query_version(m_conn, 1, 2), nullptr);
    if (!version)
        return;
    std::free(version);
    // A window of its own, never mapped: notices about it reach only this connection, and it
    // covers nothing another program draws.
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_conn)).data;
    m_window = xcb_generate_id(m_conn);
    xcb_create_window(m_conn, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    m_eid = xcb_generate_id(m_conn);
    xcb_present_select_input(m_conn, m_eid, m_window, XCB_PRESENT_EVENT_MASK_COMPLETE_NOTIFY);
    m_eventBase = ext->major_opcode;
    request(0); // answered at once with the current count
}

BlankClock::~BlankClock()
{
    if (m_conn)
        xcb_disconnect(m_conn);
}

int BlankClock::fd() const
{
    return m_conn && !xcb_connection_has_error(m_conn) ? xcb_get_file_descriptor(m_conn) : -1;
}

void BlankClock::request(std::int64_t msc)
{
    xcb_present_notify_msc(m_conn, m_window, ++m_serial, static_cast<std::uint64_t>(std::max<std::int64_t>(msc, 0)), 0, 0);
    xcb_flush(m_conn);
    m_waiting = true;
}

void BlankClock::pump()
{
    if (!present())
        return;
    while (xcb_generic_event_t* e = xcb_poll_for_event(m_conn)) {
        if ((e->response_type & 0x7f) == XCB_GE_GENERIC) {
            const auto* n = reinterpret_cast<const xcb_present_complete_notify_event_t*>(e);
            if (n->extension == m_eventBase && n->event_type == XCB_PRESENT_COMPLETE_NOTIFY && n->event == m_eid
                && n->serial == m_serial) {
                const auto msc = static_cast<std::int64_t>(n->msc);
                if (msc <= m_lastMsc)
                    ++m_early;
                m_lastMsc = std::max(m_lastMsc, msc);
                m_seen.push_back({msc, static_cast<double>(n->ust)});
                m_waiting = false;
                fit();
            }
        }
        std::free(e);
    }
    if (!m_waiting)
        request(m_lastMsc + 1);
}

bool BlankClock::warmUp(int count, int maxMs)
{
    const double until = nowUs() + maxMs * 1e3;
    while (present() && notices() < count && nowUs() < until) {
        pump();
        pollfd p{fd(), POLLIN, 0};
        poll(&p, 1, 2);
    }
    return present() && notices() >= count;
}

// The period is the least-squares slope over every notice; the phase is the median over the
// latest notices, so a late or early one moves neither much.
void BlankClock::fit()
{
    const std::size_t n = m_seen.size();
    if (n < 2 || m_seen.back().msc == m_seen.front().msc)
        return;
    const std::int64_t ref = m_seen.front().msc;
    const double ref_us = m_seen.front().ust;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const Notice& s : m_seen) {
        const double x = static_cast<double>(s.msc - ref), y = s.ust - ref_us;
        sx += x;
        sy += y;
        sxx += x * x;
        sxy += x * y;
    }
    const double d = static_cast<double>(n) * sxx - sx * sx;
    if (d <= 0)
        return;
    const double slope = (static_cast<double>(n) * sxy - sx * sy) / d;
    if (!(slope > 0))
        return;
    std::vector<double> phase;
    for (std::size_t i = n > 64 ? n - 64 : 0; i < n; ++i)
        phase.push_back(m_seen[i].ust - slope * static_cast<double>(m_seen[i].msc - ref));
    std::nth_element(phase.begin(), phase.begin() + static_cast<std::ptrdiff_t>(phase.size() / 2), phase.end());
    m_periodUs = slope;
    m_originMsc = ref;
    m_originUs = phase[phase.size() / 2];
}

std::int64_t BlankClock::blankAt(double tUs) const
{
    return m_originMsc + static_cast<std::int64_t>(std::floor((tUs - m_originUs) / m_periodUs));
}

} // namespace bench
