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
    if (m_clip)
        XDestroyWindow(m_display, m_clip);
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

// The program's windows are the root's children, or, under a window manager, inside the frames it
// puts around them: a frame's own windows are looked through, a few levels deep.
std::optional<XWin> XDriver::findIf(const std::string& title, int width, bool sameWidth)
{
    const Window root = DefaultRootWindow(m_display);
    std::optional<XWin> found;
    const auto look = [&](auto&& self, Window under, int depth) -> void {
        Window r = 0, parent = 0, *children = nullptr;
        unsigned int n = 0;
        if (!XQueryTree(m_display, under, &r, &parent, &children, &n))
            return;
        for (unsigned int i = 0; i < n && !found; ++i) {
            XWindowAttributes a;
            if (!XGetWindowAttributes(m_display, children[i], &a) || a.map_state != IsViewable)
                continue;
            if ((a.width == width) == sameWidth && titleOf(m_display, children[i]) == title) {
                int rx = 0, ry = 0;
                Window child = 0;
                XTranslateCoordinates(m_display, children[i], root, 0, 0, &rx, &ry, &child);
                found = XWin{children[i], rx, ry, a.width, a.height};
            } else if (depth < 3) {
                self(self, children[i], depth + 1);
            }
        }
        if (children)
            XFree(children);
    };
    look(look, root, 0);
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

namespace {

// The window a window manager names active, 0 for none or no window manager.
Window activeWindow(Display* d)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window active = 0;
    if (XGetWindowProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_ACTIVE_WINDOW", False), 0, 1, False,
                           XA_WINDOW, &type, &format, &count, &after, &data) == Success && data) {
        if (count == 1)
            active = *reinterpret_cast<Window*>(data);
        XFree(data);
    }
    return active;
}

bool underWindowManager(Display* d)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    const bool managed = XGetWindowProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False),
                                            0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) == Success
                         && data && count == 1;
    if (data)
        XFree(data);
    return managed;
}

} // namespace

// Under a window manager the focus is asked of it, as a task bar does, and the driver waits until
// the window manager names the window active (else it would soon hand the focus back to the one it
// thinks active); without one the focus is set directly. Either way it waits until the X server
// says the window has the focus.
void XDriver::focus(const XWin& w)
{
    const bool managed = underWindowManager(m_display);
    for (int t = 0; t < kPatienceMs; t += 20) {
        if (managed && t % 500 == 0) {
            XEvent e{};
            e.xclient.type = ClientMessage;
            e.xclient.window = w.id;
            e.xclient.message_type = XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False);
            e.xclient.format = 32;
            e.xclient.data.l[0] = 2; // from a pager or task bar: the player's own choice
            e.xclient.data.l[1] = CurrentTime;
            XSendEvent(m_display, DefaultRootWindow(m_display), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
        }
        if (!managed)
            XSetInputFocus(m_display, w.id, RevertToParent, CurrentTime);
        XSync(m_display, False);
        Window focused = 0;
        int revert = 0;
        XGetInputFocus(m_display, &focused, &revert);
        if (focused == w.id && (!managed || activeWindow(m_display) == w.id))
            return;
        sleepMs(20);
    }
}

void XDriver::focusOwnWindow()
{
    if (!m_own) {
        const int screen = DefaultScreen(m_display);
        m_own = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 700, 100, 200, 100, 0,
                                    BlackPixel(m_display, screen), WhitePixel(m_display, screen));
        XStoreName(m_display, m_own, "another program");
        XWMHints hints{};
        hints.flags = InputHint;
        hints.input = True; // it takes the keyboard focus, as any program's window
        XSetWMHints(m_display, m_own, &hints);
        // Where it was put, beside the game's windows, not over them: a window manager places a
        // window of its own accord unless the user chose the place.
        XSizeHints place{};
        place.flags = USPosition | USSize;
        place.x = 700;
        place.y = 100;
        place.width = 200;
        place.height = 100;
        XSetWMNormalHints(m_display, m_own, &place);
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

int XDriver::countColour(const XWin& w, unsigned long rgb)
{
    XImage* img = XGetImage(m_display, w.id, 0, 0, static_cast<unsigned>(w.width), static_cast<unsigned>(w.height), AllPlanes, ZPixmap);
    if (!img)
        return -1;
    int n = 0;
    for (int y = 0; y < w.height; ++y)
        for (int x = 0; x < w.width; ++x)
            n += (XGetPixel(img, x, y) & 0xffffff) == rgb ? 1 : 0;
    XDestroyImage(img);
    return n;
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

void XDriver::claimClipboard()
{
    if (!m_clip)
        m_clip = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 1, 1, 0, 0, 0);
    XSetSelectionOwner(m_display, XInternAtom(m_display, "CLIPBOARD", False), m_clip, CurrentTime);
    XSync(m_display, False);
}

std::optional<std::string> XDriver::waitForClipboardText(int maxMs)
{
    if (!m_clip)
        claimClipboard();
    const Atom clipboard = XInternAtom(m_display, "CLIPBOARD", False);
    const Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
    const Atom into = XInternAtom(m_display, "PLINKAT_XDRIVER_CLIP", False);
    int t = 0;
    for (; t < maxMs; t += 20) {
        const Window owner = XGetSelectionOwner(m_display, clipboard);
        if (owner != None && owner != m_clip)
            break;
        sleepMs(20);
    }
    XConvertSelection(m_display, clipboard, utf8, into, m_clip, CurrentTime);
    XFlush(m_display);
    for (; t < maxMs; t += 20) {
        XEvent e;
        if (!XCheckTypedWindowEvent(m_display, m_clip, SelectionNotify, &e)) {
            sleepMs(20);
            continue;
        }
        if (e.xselection.property == None)
            return std::nullopt;
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, after = 0;
        unsigned char* data = nullptr;
        std::optional<std::string> text;
        if (XGetWindowProperty(m_display, m_clip, into, 0, 65536, True, AnyPropertyType, &type, &format, &count,
                               &after, &data) == Success && data) {
            text = std::string(reinterpret_cast<char*>(data), count);
            XFree(data);
        }
        return text;
    }
    return std::nullopt;
}
