#pragma once
// The control model the handlers rely on: windows hold controls, and every control keeps its
// properties exactly as the handlers set them (positions as floats in the container's own units),
// mirroring them onto Qt widgets. Geometry is converted to pixels only when a widget is placed.
#include "shell/keys.h"

#include <QPixmap>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QKeyEvent;
class QMouseEvent;
class QPainter;
class QWidget;

namespace shell {

// 24-bit colours packed as red + 256 * green + 65536 * blue.
using Color = unsigned int;
constexpr Color rgb(int r, int g, int b)
{
    return static_cast<Color>(r) | (static_cast<Color>(g) << 8) | (static_cast<Color>(b) << 16);
}

constexpr double kTwipsPerPixel = 15.0;         // logical pixels; Qt scales them on high-DPI screens
constexpr double kTwipsPerMm = 1440.0 / 25.4;   // the main window's millimetre scale

// Mouse button codes 1 left, 2 right, 4 middle; shift state bits 1 Shift, 2 Ctrl, 4 Alt.
struct MouseArgs {
    int button = 0;
    int shift = 0;
    float x = 0; // in the control's own units
    float y = 0;
};

// What holds the keyboard focus in a window when a key comes.
enum class KeyFocus {
    Control, // any control that types nothing, or none
    TextBox, // a control that takes typed text
    MenuBar, // the menu bar, reached by Alt or F10
};

// A key going down or up in a window.
struct KeyArgs {
    int keyCode = 0; // shell/keys.h: the key's own code, or kKeyNone
    int shift = 0;   // shift state bits as in MouseArgs
    bool autoRepeat = false; // made by the system's key repeat while the key is held
    KeyFocus focus = KeyFocus::Control;
};

// Draws a picture for a logical size at a device-pixel ratio.
using PixmapSource = std::function<QPixmap(QSize logicalSize, qreal dpr)>;
// A picture laid over a box or a control, drawn for its size in device pixels (null: nothing).
using Overlay = std::function<QPixmap(QSize devicePixels)>;
// An overlay that follows a label's caption.
using CaptionOverlay = std::function<QPixmap(const QString& caption, QSize devicePixels)>;

class Control;

// Anything that holds controls: a window's client area or a frame.
//
// A control alone owns its widget; the container's surface shows the widget but never deletes
// it. A container that goes before its controls hands their widgets back first (hidden, with no
// parent), so controls and their containers may be destroyed in either order.
class Container {
public:
    virtual ~Container();
    virtual QWidget* surface() const = 0;
    virtual double twipsPerUnit() const = 0; // scale of the positions of its controls

protected:
    Container() = default;
    // Takes the widgets of the controls still placed here off the surface. Every container calls
    // it in its destructor before its surface is deleted.
    void releaseControls();

private:
    friend class Control;
    std::vector<Control*> m_controls; // the controls placed here that still exist
};

class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    float left() const { return m_left; }
    float top() const { return m_top; }
    float width() const { return m_width; }
    float height() const { return m_height; }
    void setLeft(float v);
    void setTop(float v);
    void setWidth(float v);
    void setHeight(float v);

    bool visible() const { return m_visible; }
    void setVisible(bool on);
    bool enabled() const;
    void setEnabled(bool on);
    void setToolTip(const QString& text);
    void setFocus();
    bool hasFocus() const;
    void setFocusPolicy(Qt::FocusPolicy policy);

    QWidget* widget() const { return m_widget; }

    // Drawing apart from the place, for things that glide between ticks: while held, a move
    // changes Left and Top but the control stays where it is drawn; drawAt() draws it at a place of
    // its own, in its container's units (to a fraction of a pixel where the control can), until it
    // is moved while not held or drawn at nothing, its own place.
    void setHeld(bool on) { m_held = on; }
    bool held() const { return m_held; }
    void drawAt(std::optional<QPointF> at);
    std::optional<QPointF> drawnAt() const { return m_drawnAt; }

protected:
    // Takes ownership of the widget, made as a child of parent.surface().
    Control(Container& parent, QWidget* widget, float left, float top, float width, float height);
    void place();
    double twipsPerPositionUnit() const { return m_unitTw; }
    // Puts the widget over this box of its container, in pixels; whole pixels unless overridden.
    virtual void placeAt(const QRectF& pixels);

    QWidget* m_widget; // owned by the control alone: deleted with it, never by its container

private:
    friend class Container;
    void leaveContainer();
    void moved();

    Container* m_container; // null once the container has gone before the control
    double m_unitTw;        // the container's scale, kept for when it has gone
    float m_left, m_top, m_width, m_height;
    bool m_visible = true;
    bool m_held = false;
    std::optional<QPointF> m_drawnAt;
};

class Label : public Control {
public:
    Label(Container& parent, float left, float top, float width, float height, const QString& caption = {});
    QString caption() const;
    void setCaption(const QString& text);
    Color backColor() const { return m_back; }
    void setBackColor(Color c);
    Color foreColor() const { return m_fore; }
    void setForeColor(Color c);
    // A transparent label shows what lies behind it instead of its BackColor.
    void setTransparent(bool on);
    void setBorder(bool on);
    void setAlignment(Qt::Alignment a);
    void setWordWrap(bool on);
    // A picture over the label's background, under its caption and border, made from its caption.
    void setOverlay(CaptionOverlay overlay);

    // Mouse positions are in twips from the label's top left. The pressed label keeps the mouse
    // until the release: the moves and the release go to it wherever the pointer is. A release
    // over the pressed label raises onMouseUp, then onClick.
    std::function<void()> onClick;
    std::function<void(const MouseArgs&)> onMouseDown;
    std::function<void(const MouseArgs&)> onMouseMove;
    std::function<void(const MouseArgs&)> onMouseUp;

private:
    void restyle();
    Color m_back = rgb(240, 240, 240);
    Color m_fore = rgb(0, 0, 0);
    bool m_transparent = false;
    bool m_border = false;
};

class TextBox : public Control {
public:
    TextBox(Container& parent, float left, float top, float width, float height, const QString& text = {});
    QString text() const;
    void setText(const QString& text);
    void setAlignment(Qt::Alignment a);

    std::function<void()> onChange;
    std::function<void(const MouseArgs&)> onMouseMove;
};

class Button : public Control {
public:
    Button(Container& parent, float left, float top, float width, float height, const QString& caption = {});
    QString caption() const;
    void setCaption(const QString& text);
    void setPicture(PixmapSource source);
    // Clicks the button as the player would (runs its click handler).
    void click();

    std::function<void()> onClick;
    std::function<void(const MouseArgs&)> onMouseMove;
};

class OptionButton : public Control {
public:
    OptionButton(Container& parent, float left, float top, float width, float height, const QString& caption = {});
    // Option buttons with the same container form one group: selecting one clears the others.
    bool value() const;
    void setValue(bool on);
    // Selects the button as a click would and runs its click handler.
    void click();

    std::function<void()> onClick;
    std::function<void(const MouseArgs&)> onMouseMove;
};

class Frame : public Control, public Container {
public:
    Frame(Container& parent, float left, float top, float width, float height, const QString& caption);
    QString caption() const;
    ~Frame() override;
    QWidget* surface() const override { return m_widget; }
    double twipsPerUnit() const override { return twipsPerPositionUnit(); }
};

class ScrollBar : public Control {
public:
    ScrollBar(Container& parent, float left, float top, float width, float height, int min, int max);
    int value() const;
    void setValue(int v); // clamped to the range; raises onChange when the value changes
    void setSteps(int small, int large);

    std::function<void()> onChange; // also raised while the thumb is dragged
};

// A picture box: shows a picture and reports the mouse and keys in twips.
class PictureBox : public Control {
public:
    PictureBox(Container& parent, float left, float top, float width, float height, PixmapSource picture = {});
    void setPicture(PixmapSource source);
    // Whether the box takes the keyboard focus, by a click or Tab (the playfield strip does).
    void setFocusable(bool on);

    std::function<void(const MouseArgs&)> onMouseDown;
    std::function<void(const MouseArgs&)> onMouseMove;
    std::function<void()> onClick;
    std::function<void(int keyCode, int shift)> onKeyDown;
};

// A filled shape (circle or rectangle) with an outline; it takes no mouse events.
class Shape : public Control {
public:
    enum class Kind { Rectangle, Circle };
    Shape(Container& parent, float left, float top, float width, float height, Kind kind);
    void setFillColor(std::optional<Color> c); // nullopt: transparent
    void setBorderColor(std::optional<Color> c); // nullopt: no border
    void setOverlay(Overlay overlay); // a picture over the fill, under the outline
    // Paints the whole shape in its box (fill and outline are the painter's to use), instead of
    // the plain fill, overlay and outline.
    using Painter = std::function<void(QPainter& p, const QRectF& box)>;
    void setPainter(Painter painter);
    Kind kind() const { return m_kind; }
    std::optional<Color> fillColor() const { return m_fill; }
    std::optional<Color> borderColor() const { return m_border; }

protected:
    // A shape drawn apart from its place is painted to a fraction of a pixel.
    void placeAt(const QRectF& pixels) override;

private:
    friend class ShapeWidget;
    Kind m_kind;
    std::optional<Color> m_fill;
    std::optional<Color> m_border = rgb(0, 0, 0);
    Overlay m_overlay;
    Painter m_painter;
    QRectF m_box; // where in its widget a shape drawn apart from its place is painted; null: all of it
};

// Gives the control the largest font, up to largestPx pixels, in which `sample` fits its width
// less `padding` pixels (its frame and margins); a stretch below 100 narrows the letters.
void fitFont(Control& control, const QString& sample, int largestPx, int padding, int stretch = 100);

// Conversions used by the widgets.
// A mouse event as the handlers get it: the button that changed, or on a move the buttons held,
// and the position in the units of twipsPerUnit twips from the widget's top left.
MouseArgs mouseArgsOf(const QMouseEvent& e, double twipsPerUnit);
int shiftStateOf(Qt::KeyboardModifiers mods);
int buttonCodeOf(Qt::MouseButton button);
QColor toQColor(Color c);

} // namespace shell
