#include "shell/focus.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <xcb/xproto.h>

namespace shell {

namespace {
bool g_focusGone = false; // the X server took the focus from a window of the program; no new one yet
} // namespace

bool programActive()
{
    return QApplication::activeWindow() != nullptr && !g_focusGone;
}

class FocusWatch::Filter : public QObject, public QAbstractNativeEventFilter {
public:
    Filter(std::function<void()> left, std::function<void(bool)> settled)
        : m_left(std::move(left)), m_settled(std::move(settled))
    {
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
            return;
        if (platform == QLatin1String("xcb"))
            QCoreApplication::instance()->installNativeEventFilter(this);
        connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* w) {
            g_focusGone = w == nullptr;
            if (!w)
                m_left(); // on X11 mostly told already; the watch tells it again, to be sure
            m_settled(w != nullptr);
        });
    }

    // The toolkit waits a moment after an X FocusOut for a FocusIn to another of its windows before
    // it lets the window go inactive; the FocusOut itself tells at once.
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t")
            return false;
        const auto* e = static_cast<const xcb_generic_event_t*>(message);
        if ((e->response_type & 0x7f) == XCB_FOCUS_IN) {
            g_focusGone = false; // back, perhaps before the toolkit noticed it was gone
            return false;
        }
        if ((e->response_type & 0x7f) != XCB_FOCUS_OUT)
            return false;
        const auto* out = static_cast<const xcb_focus_out_event_t*>(message);
        // Keyboard grabs (a menu of the program, a window manager's switcher) move no focus; nor
        // does a move inside the window or one that only follows the pointer.
        if (out->mode == XCB_NOTIFY_MODE_GRAB || out->mode == XCB_NOTIFY_MODE_UNGRAB
            || out->detail == XCB_NOTIFY_DETAIL_POINTER || out->detail == XCB_NOTIFY_DETAIL_INFERIOR)
            return false;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->internalWinId() == out->event && top->isVisible()) {
                g_focusGone = true;
                m_left();
                break;
            }
        }
        return false;
    }

private:
    std::function<void()> m_left;
    std::function<void(bool)> m_settled;
};

FocusWatch::FocusWatch(std::function<void()> left, std::function<void(bool ours)> settled)
    : m_filter(std::make_unique<Filter>(std::move(left), std::move(settled)))
{
}

FocusWatch::~FocusWatch() = default;

} // namespace shell
