#pragma once
// The X server's notices of the vertical blanks of the display a window is on, through the
// Present extension (Xorg, XWayland, Xvfb), on a connection of the game's own: each ask() gets one
// notice, of the next blank after the last one seen.
//
// Every client that selected Present's events on a window gets every client's notices there:
// only the notices of this connection's own event context and serials are taken.
#include "shell/timer.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>

class QSocketNotifier;
struct xcb_connection_t;

namespace frames {

class PresentNotices : public QObject {
public:
    // Notices for the X window `window`; nothing where there is no X server with Present.
    static std::unique_ptr<PresentNotices> open(std::uint32_t window);
    ~PresentNotices() override;

    // Asks for a notice of the next blank (of the blank after `after`, when it is known); one ask
    // stands at a time, a further one only replaces it.
    void ask();
    // Forgets the blank count, as for a window that went to another display: the next ask takes
    // whichever blank comes first.
    void restart() { m_known = false; }

    // A blank: its count and the server's time for it (CLOCK_MONOTONIC microseconds).
    std::function<void(std::uint64_t count, shell::Micros time)> onBlank;

private:
    PresentNotices(xcb_connection_t* connection, std::uint8_t opcode, std::uint32_t window);
    void readEvents();

    xcb_connection_t* m_connection;
    std::uint8_t m_opcode;
    std::uint32_t m_window;
    std::uint32_t m_context;
    std::uint32_t m_serial = 0;
    std::uint32_t m_asked = 0; // the serial of the ask that stands, 0: none
    std::uint64_t m_last = 0;
    bool m_known = false;
    bool m_reading = false;
    std::unique_ptr<QSocketNotifier> m_readable;
};

} // namespace frames
