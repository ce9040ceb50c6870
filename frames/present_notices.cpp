#include "frames/present_notices.h"

#include <QSocketNotifier>
#include <cstdlib>
#include <xcb/present.h>
#include <xcb/xcb.h>

namespace frames {

std::unique_ptr<PresentNotices> PresentNotices::open(std::uint32_t window)
{
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (!c || xcb_connection_has_error(c)) {
        if (c)
            xcb_disconnect(c);
        return nullptr;
    }
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(c, &xcb_present_id);
    xcb_present_query_version_reply_t* version =
        ext && ext->present ? xcb_present_query_version_reply(c, xcb_present_query_version(c, 1, 0), nullptr) : nullptr;
    if (!version) {
        xcb_disconnect(c);
        return nullptr;
    }
    std::free(version);
    return std::unique_ptr<PresentNotices>(new PresentNotices(c, ext->major_opcode, window));
}

PresentNotices::PresentNotices(xcb_connection_t* connection, std::uint8_t opcode, std::uint32_t window)
    : m_connection(connection), m_opcode(opcode), m_window(window), m_context(xcb_generate_id(connection))
{
    xcb_present_select_input(m_connection, m_context, m_window, XCB_PRESENT_EVENT_MASK_COMPLETE_NOTIFY);
    xcb_flush(m_connection);
    m_readable = std::make_unique<QSocketNotifier>(xcb_get_file_descriptor(m_connection), QSocketNotifier::Read);
    connect(m_readable.get(), &QSocketNotifier::activated, this, [this] { readEvents(); });
}

PresentNotices::~PresentNotices()
{
    m_readable.reset();
    xcb_disconnect(m_connection);
}

void PresentNotices::ask()
{
    if (xcb_connection_has_error(m_connection))
        return;
    m_asked = ++m_serial == 0 ? ++m_serial : m_serial;
    // With no count known, the first blank to come, at once; then the one after the last seen.
    xcb_present_notify_msc(m_connection, m_window, m_asked, m_known ? m_last + 1 : 0, 0, 0);
    xcb_flush(m_connection);
    if (!m_reading)
        readEvents(); // what the connection has read already, the socket will not tell again
}

void PresentNotices::readEvents()
{
    m_reading = true;
    while (xcb_generic_event_t* e = m_readable ? xcb_poll_for_event(m_connection) : nullptr) {
        const auto* ge = reinterpret_cast<const xcb_ge_generic_event_t*>(e);
        if ((e->response_type & 0x7f) == XCB_GE_GENERIC && ge->extension == m_opcode
            && ge->event_type == XCB_PRESENT_COMPLETE_NOTIFY) {
            const auto* n = reinterpret_cast<const xcb_present_complete_notify_event_t*>(e);
            const bool ours = n->event == m_context && n->kind == XCB_PRESENT_COMPLETE_KIND_NOTIFY_MSC && n->serial == m_asked;
            if (ours) {
                m_asked = 0;
                if (!m_known || n->msc > m_last)
                    m_last = n->msc;
                m_known = true;
                // A copy: the listener may let go of these notices while it is told.
                if (const auto tell = onBlank)
                    tell(n->msc, static_cast<shell::Micros>(n->ust));
            }
        }
        std::free(e);
    }
    m_reading = false;
    // A server gone leaves the socket readable for ever: stop watching it.
    if (m_readable && xcb_connection_has_error(m_connection))
        m_readable->setEnabled(false);
}

} // namespace frames
