#pragma once
// A tiny X11 driver for the smoke test and the benchmark probe: finds top-level windows by title
// and size, moves the pointer and clicks inside one, and asks one to close as a window manager
// would.
#include <optional>
#include <string>
#include <utility>

struct _XDisplay;

struct XWin {
    unsigned long id = 0;
    int x = 0, y = 0, width = 0, height = 0;
};

class XDriver {
public:
    // How long the tests wait for a window or a process: a guard against hanging, not a speed
    // goal; a busy machine and a sanitizer build can take seconds to show a window.
    static constexpr int kPatienceMs = 60000;

    XDriver();
    ~XDriver();
    bool ok() const { return m_display != nullptr; }
    _XDisplay* display() const { return m_display; }

    // A mapped top-level window with this title and width (pixels), if there is one now.
    std::optional<XWin> find(const std::string& title, int width);
    // Waits up to maxMs for such a window to be mapped, looking every pollMs, or to be gone.
    std::optional<XWin> waitFor(const std::string& title, int width, int maxMs = kPatienceMs, int pollMs = 50);
    bool waitGone(const std::string& title, int width, int maxMs = kPatienceMs);

    // A mapped top-level window with this title and any width but `notWidth` (a message box in front
    // of the window of that width), waiting up to maxMs for one to be mapped.
    std::optional<XWin> waitForOther(const std::string& title, int notWidth, int maxMs = kPatienceMs);

    void moveTo(const XWin& w, int x, int y);
    void click(const XWin& w, int x, int y);
    void requestClose(const XWin& w);
    // Presses and releases the key with this X key code: a physical key, whatever the layout.
    void pressKey(unsigned keycode);
    void keyDown(unsigned keycode);
    void keyUp(unsigned keycode);
    // The keyboard's auto-repeat for the whole server, as `xset r on|off` sets it.
    void setAutoRepeat(bool on);
    bool autoRepeat();
    // Gives the keyboard focus to the window.
    void focus(const XWin& w);
    // Maps a small window of this program's own and gives it the keyboard focus, as a player
    // turning to another program does.
    void focusOwnWindow();

    // The clipboard: claimClipboard() takes it for the driver, so that the next copy made in a
    // program shows as the clipboard changing hands; waitForClipboardText() waits for a program to
    // take it and returns the text it holds (UTF-8), or nothing within maxMs.
    void claimClipboard();
    std::optional<std::string> waitForClipboardText(int maxMs = kPatienceMs);

    // The left and top edges of the ball (its yellow fill) in the window, in pixels, if it shows.
    std::optional<std::pair<int, int>> ballAt(const XWin& w);
    // How many pixels of the window have exactly this colour (0xRRGGBB).
    int countColour(const XWin& w, unsigned long rgb);

private:
    std::optional<XWin> findIf(const std::string& title, int width, bool sameWidth);
    _XDisplay* m_display = nullptr;
    unsigned long m_own = 0;
    unsigned long m_clip = 0; // an unmapped window of the driver's own that holds the clipboard
};
