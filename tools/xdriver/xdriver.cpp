#include "xdriver.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace {

std::string titleOf(Display* d, Window w)
{
    const Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    const Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data) == Success && data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(d, w, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

void sleepMs(int ms)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Windows come and go while the driver looks at them (menus, message boxes): a request about one
// that has just gone fails, and the driver treats it as not there instead of ending the program.
int ignoreGoneWindows(Display*, XErrorEvent*)
{
    return 0;
}

} // namespace

XDriver::XDriver() : m_display(XOpenDisplay(nullptr))
{
    XSetErrorHandler(&ignoreGoneWindows);
}

XDriver::~XDriver()
{
    if (!m_display)
        return;
    if (m_own)
        XDestroyWindow(m_display, m_own);
    XCloseDisplay(m_display);
}

std::optional<XWin> XDriver::find(const std::string& title, int width)
{
    return findIf(title, width, true);
}

std::optional<XWin> XDriver::waitForOther(const std::string& title, int notWidth, int maxMs)
{
    for (int t = 0; t < maxMs; t += 50) {
        if (auto w = findIf(title, notWidth, false))
            return w;
        sleepMs(50);
    }
    return std::nullopt;
}

std::optional<XWin> XDriver::findIf(const std::string& title, int width, bool sameWidth)
{
    Window root = DefaultRootWindow(m_display), parent = 0, *children = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(m_display, root, &root, &parent, &children, &n))
        return std::nullopt;
    std::optional<XWin> found;
    for (unsigned int i = 0; i < n && !found; ++i) {
        XWindowAttributes a;
        if (!XGetWindowAttributes(m_display, children[i], &a) || a.map_state != IsViewable)
            continue;
        if ((a.width == width) != sameWidth || titleOf(m_display, children[i]) != title)
            continue;
        int rx = 0, ry = 0;
        Window child = 0;
        XTranslateCoordinates(m_display, children[i], root, 0, 0, &rx, &ry, &child);
        found = XWin{children[i], rx, ry, a.width, a.height};
    }
    if (children)
        XFree(children);
    return found;
}

std::optional<XWin> XDriver::waitFor(const std::string& title, int width, int maxMs, int pollMs)
{
    for (int t = 0; t < maxMs; t += pollMs) {
        if (auto w = find(title, width))
            return w;
        sleepMs(pollMs);
    }
    return std::nullopt;
}

bool XDriver::waitGone(const std::string& title, int width, int maxMs)
{
    for (int t = 0; t < maxMs; t += 50) {
        if (!find(title, width))
            return true;
        sleepMs(50);
    }
    return false;
}

void XDriver::moveTo(const XWin& w, int x, int y)
{
    XTestFakeMotionEvent(m_display, -1, w.x + x, w.y + y, CurrentTime);
    XSync(m_display, False);
}

void XDriver::click(const XWin& w, int x, int y)
{
    moveTo(w, x, y);
    sleepMs(50);
    XTestFakeButtonEvent(m_display, 1, True, CurrentTime);
    XSync(m_display, False);
    sleepMs(50);
    XTestFakeButtonEvent(m_display, 1, False, CurrentTime);
    XSync(m_display, False);
}

void XDriver::pressKey(unsigned keycode)
{
    XTestFakeKeyEvent(m_display, keycode, True, CurrentTime);
    XSync(m_display, False);
    sleepMs(30);
    XTestFakeKeyEvent(m_display, keycode, False, CurrentTime);
    XSync(m_display, False);
}

void XDriver::keyDown(unsigned keycode)
{
    XTestFakeKeyEvent(m_display, keycode, True, CurrentTime);
    XSync(m_display, False);
}

void XDriver::keyUp(unsigned keycode)
{
    XTestFakeKeyEvent(m_display, keycode, False, CurrentTime);
    XSync(m_display, False);
}

void XDriver::setAutoRepeat(bool on)
{
    XKeyboardControl control{};
    control.auto_repeat_mode = on ? AutoRepeatModeOn : AutoRepeatModeOff;
    XChangeKeyboardControl(m_display, KBAutoRepeatMode, &control);
    XSync(m_display, False);
}

bool XDriver::autoRepeat()
{
    XKeyboardState state{};
    XGetKeyboardControl(m_display, &state);
    return state.global_auto_repeat == AutoRepeatModeOn;
}

void XDriver::focus(const XWin& w)
{
    XSetInputFocus(m_display, w.id, RevertToParent, CurrentTime);
    XSync(m_display, False);
}

void XDriver::focusOwnWindow()
{
    if (!m_own) {
        const int screen = DefaultScreen(m_display);
        m_own = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 700, 100, 200, 100, 0,
                                    BlackPixel(m_display, screen), WhitePixel(m_display, screen));
        XStoreName(m_display, m_own, "another program");
        XSelectInput(m_display, m_own, ExposureMask);
        XMapWindow(m_display, m_own);
        XEvent e;
        XWindowEvent(m_display, m_own, ExposureMask, &e); // mapped: it may take the focus
    }
    focus(XWin{m_own});
}

std::optional<std::pair<int, int>> XDriver::ballAt(const XWin& w)
{
    XImage* img = XGetImage(m_display, w.id, 0, 0, static_cast<unsigned>(w.width), static_cast<unsigned>(w.height), AllPlanes, ZPixmap);
    if (!img)
        return std::nullopt;
    std::optional<std::pair<int, int>> at;
    for (int y = 0; y < w.height; y += 2)
        for (int x = 0; x < w.width; ++x)
            if ((XGetPixel(img, x, y) & 0xffffff) == 0xffff00)
                at = std::pair(at ? std::min(at->first, x) : x, at ? std::min(at->second, y) : y);
    XDestroyImage(img);
    return at;
}

void XDriver::requestClose(const XWin& w)
{
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = w.id;
    e.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = static_cast<long>(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
    e.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_display, w.id, False, NoEventMask, &e);
    XFlush(m_display);
}
