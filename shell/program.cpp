#include "shell/program.h"

#include "shell/timer.h"

#include <QApplication>
#include <QMessageBox>
#include <QScopeGuard>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <utility>
#include <unistd.h>

namespace shell {

namespace {
std::function<void(const QString&)> g_messageBox;
std::function<void()> g_endProgram;
bool g_ended = false;
int g_boxesWaiting = 0;
} // namespace

void msgBox(const QString& text)
{
    // A handler that goes on after the program has ended (it ended while the handler waited in a
    // box) shows nothing more.
    if (g_ended)
        return;
    ++g_boxesWaiting;
    const auto done = qScopeGuard([] { --g_boxesWaiting; });
    if (g_messageBox) {
        g_messageBox(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, kProductTitle, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

bool boxWaiting()
{
    return g_boxesWaiting > 0;
}

void setMessageBoxHandler(std::function<void(const QString&)> handler)
{
    g_messageBox = std::move(handler);
}

void endProgram()
{
    g_ended = true;
    if (g_endProgram) {
        g_endProgram();
        return;
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(0);
}

void setEndProgramHandler(std::function<void()> handler)
{
    g_endProgram = std::move(handler);
    g_ended = false;
}

bool programEnded()
{
    return g_ended;
}

namespace {

int g_signalPipe[2] = {-1, -1};

extern "C" void onSignal(int signo)
{
    const int saved = errno;
    const char byte = static_cast<char>(signo);
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
    errno = saved;
}

// Turns the signals and the session manager's quit into calls of one handler from the event loop.
class EndRequests : public QObject {
public:
    std::function<void()> handler;

    explicit EndRequests(QObject* parent) : QObject(parent)
    {
        if (::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
            return;
        m_notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, [this] {
            char bytes[16];
            while (::read(g_signalPipe[0], bytes, sizeof bytes) > 0) {
            }
            request();
        });
        struct sigaction action {};
        action.sa_handler = &onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (const int signo : {SIGTERM, SIGHUP, SIGINT})
            ::sigaction(signo, &action, nullptr);
        // The session manager's "die" arrives as a Quit event to the application. Left to Qt, it
        // would close every window, hidden ones included, in no particular order.
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched != qApp || e->type() != QEvent::Quit)
            return false;
        request();
        return true;
    }

private:
    void request()
    {
        if (m_busy || g_ended || !handler)
            return;
        m_busy = true;
        handler();
        m_busy = false;
    }

    QSocketNotifier* m_notifier = nullptr;
    bool m_busy = false;
};

} // namespace

void onEndRequest(std::function<void()> handler)
{
    static EndRequests* requests = new EndRequests(qApp); // goes with the application
    requests->handler = std::move(handler);
}

namespace {

// Sees a window exposed; the work runs once that expose has been handled, that is once the
// window has been painted.
class FrameWatch final : public QObject {
public:
    explicit FrameWatch(std::function<void()> work) : QObject(QCoreApplication::instance()), m_work(std::move(work))
    {
        QCoreApplication::instance()->installEventFilter(this);
        QTimer::singleShot(kLatestMs, this, [this] { run(); });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose && watched->isWindowType() && static_cast<QWindow*>(watched)->isExposed()) {
            QCoreApplication::instance()->removeEventFilter(this);
            QMetaObject::invokeMethod(this, [this] { run(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    static constexpr int kLatestMs = 1000;

    void run()
    {
        if (m_work)
            std::exchange(m_work, {})();
        deleteLater();
    }

    std::function<void()> m_work;
};

} // namespace

void afterFirstFrame(std::function<void()> work)
{
    new FrameWatch(std::move(work));
}

} // namespace shell
