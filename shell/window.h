#pragma once
// A top-level window of the game and the slot that creates it on first use.
//
// A window is created hidden on its first use by any handler and runs its load handler once.
// Hiding keeps every control's value. The frame's close box runs the window's unload handler
// when it has one (the main window and the start screen end the program there); otherwise it
// destroys the window, and the next use creates it afresh with its design values.
#include "shell/controls.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QMenu;
class QAction;
class QMenuBar;

namespace shell {

class FormWidget;
class SurfaceWidget;

class MenuItem {
public:
    QString caption() const { return m_caption; }
    std::function<void()> onClick;
    // Chooses the entry as the player would.
    void click();
    QAction* action() const { return m_action; }
    QMenu* menu() const { return m_menu; }

    // A check mark beside the entry; a checkable entry flips it when chosen, before onClick.
    void setCheckable(bool on);
    bool checked() const;
    void setChecked(bool on);
    // A disabled entry cannot be chosen; its tooltip says why.
    void setEnabled(bool on);
    bool enabled() const;
    void setToolTip(const QString& text);

private:
    friend class Window;
    QString m_caption;
    QAction* m_action = nullptr;
    QMenu* m_menu = nullptr; // for entries that open a submenu
};

class Window : public Container {
public:
    // Client size in twips; units: twips per unit of the positions of its controls and drawings.
    Window(const QString& caption, float clientWidthTw, float clientHeightTw, double twipsPerUnit = 1.0);
    ~Window() override;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    virtual void Form_Load() {}
    // Runs when the player closes the window with its frame's close box.
    virtual void Form_Unload();
    // The close box, as the player would press it.
    void closeBox();

    void show();
    void hide();
    bool visible() const;

    QString caption() const;
    void setCaption(const QString& text);

    // Outer height in twips, title bar and menu bar included (see kFrameAllowanceTw).
    float height() const { return m_height; }
    void setHeight(float twips);
    float clientWidth() const { return m_clientWidthTw; }
    float clientHeight() const;

    Color backColor() const { return m_back; }
    void setBackColor(Color c);
    void setBackgroundPicture(PixmapSource source);
    void setIcon(const QIcon& icon);

    // Drawing on the window's surface, in its own units. Drawings stay until cls().
    // A raised box has a thin light top-left and dark bottom-right edge around its colour; an
    // overlay is laid over it all.
    enum class Finish { Flat, Raised };
    void drawBox(float x1, float y1, float x2, float y2, Color color, Finish finish = Finish::Flat,
                 const Overlay& overlay = {});
    void cls();
    // The colour drawn at a point, or nothing where no drawing covers it (tests and benchmarks).
    std::optional<Color> drawnColorAt(float x, float y) const;

    // Menu bar: a top-level entry, or an entry inside another entry's submenu.
    MenuItem& addMenu(MenuItem& item, const QString& caption);
    MenuItem& addMenu(MenuItem& item, const QString& caption, MenuItem& parent);
    // A line between the entries of a submenu, after those added so far.
    void addMenuSeparator(MenuItem& parent);

    std::function<void(const MouseArgs&)> onMouseMove; // over the free surface, not over a control
    std::function<void(const MouseArgs&)> onMouseDown; // a button pressed on the free surface
    // Every key pressed in the window, before the control with the focus gets it, also the
    // system's repeats of a held key (marked). Returning true takes the key: the control never
    // sees it.
    std::function<bool(const KeyArgs&)> onKeyDown;
    // Every key released in the window; the control with the focus sees it too.
    std::function<void(const KeyArgs&)> onKeyUp;
    // The window was minimised.
    std::function<void()> onMinimize;
    bool minimized() const;

    QWidget* surface() const override;
    double twipsPerUnit() const override { return m_unitTw; }
    QWidget* topLevel() const;
    QMenuBar* menuBar() const { return m_menuBar; }

    // Set by the slot that owns the window: what the close box does when Form_Unload() is not overridden.
    std::function<void()> destroyByCloseBox;

    // Title bar, borders and menu bar of a window's outer height, in twips.
    static constexpr float kFrameAllowanceTw = 780;

private:
    friend class SurfaceWidget;
    void resizeToFit();

    std::unique_ptr<FormWidget> m_top;
    SurfaceWidget* m_surface;
    QMenuBar* m_menuBar = nullptr;
    double m_unitTw;
    float m_clientWidthTw;
    float m_height;
    Color m_back = rgb(255, 255, 255);
};

// Holds one window: creates it on first use and disposes of it when its close box destroys it.
template <class T>
class FormSlot {
public:
    explicit FormSlot(std::function<std::unique_ptr<T>()> make) : m_make(std::move(make)) {}

    T& get()
    {
        if (!m_form) {
            m_form = m_make();
            m_form->destroyByCloseBox = [this] { destroy(); };
            m_form->Form_Load();
        }
        return *m_form;
    }
    T& operator()() { return get(); }
    bool exists() const { return m_form != nullptr; }

    // The window goes now; the object is deleted once the current event has been handled,
    // so a handler that is still running on it keeps valid references.
    void destroy()
    {
        if (!m_form)
            return;
        m_form->hide();
        m_closed.push_back(std::move(m_form));
        QMetaObject::invokeMethod(&m_context, [this] { m_closed.clear(); }, Qt::QueuedConnection);
    }

private:
    std::function<std::unique_ptr<T>()> m_make;
    std::unique_ptr<T> m_form;
    std::vector<std::unique_ptr<T>> m_closed;
    QObject m_context;
};

} // namespace shell
