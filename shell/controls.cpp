#include "shell/controls.h"

#include "shell/keys.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QWidget>
#include <cmath>
#include <string>
#include <utility>

namespace shell {

int shiftStateOf(Qt::KeyboardModifiers mods)
{
    int s = 0;
    if (mods & Qt::ShiftModifier)
        s |= 1;
    if (mods & Qt::ControlModifier)
        s |= 2;
    if (mods & Qt::AltModifier)
        s |= 4;
    return s;
}

int buttonCodeOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton: return 1;
    case Qt::RightButton: return 2;
    case Qt::MiddleButton: return 4;
    default: return 0;
    }
}

QColor toQColor(Color c)
{
    return QColor(c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
}

MouseArgs mouseArgsOf(const QMouseEvent& e, double twipsPerUnit)
{
    MouseArgs a;
    a.button = buttonCodeOf(e.button());
    if (a.button == 0) {
        const auto held = e.buttons();
        a.button = (held & Qt::LeftButton ? 1 : 0) | (held & Qt::RightButton ? 2 : 0) | (held & Qt::MiddleButton ? 4 : 0);
    }
    a.shift = shiftStateOf(e.modifiers());
    a.x = static_cast<float>(e.position().x() * kTwipsPerPixel / twipsPerUnit);
    a.y = static_cast<float>(e.position().y() * kTwipsPerPixel / twipsPerUnit);
    return a;
}

namespace {

// Hands a mouse event on to a control's handler, if it has one, in twips from the control's top
// left, the units every control reports the mouse in. The event is taken either way.
void forwardMouse(QMouseEvent* e, const std::function<void(const MouseArgs&)>& handler)
{
    e->accept();
    if (handler)
        handler(mouseArgsOf(*e, 1.0));
}

// Labels, buttons and text boxes accept the mouse so that moves over them never count as
// moves over the window's free surface.
class LabelWidget : public QLabel {
public:
    explicit LabelWidget(Label& owner, QWidget* parent) : QLabel(parent), m_owner(owner) { setMouseTracking(true); }
    CaptionOverlay overlay;

protected:
    // The background is filled before the paint event; the overlay goes between it and the text.
    void paintEvent(QPaintEvent* e) override
    {
        if (overlay) {
            const QPixmap picture = overlay(text(), (QSizeF(size()) * devicePixelRatioF()).toSize());
            if (!picture.isNull()) {
                QPainter p(this);
                p.drawPixmap(QRectF(rect()), picture, QRectF(picture.rect()));
            }
        }
        QLabel::paintEvent(e);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        m_pressed = true;
        forwardMouse(e, m_owner.onMouseDown);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        forwardMouse(e, m_owner.onMouseUp);
        if (m_pressed && rect().contains(e->position().toPoint()) && m_owner.onClick)
            m_owner.onClick();
        m_pressed = false;
    }
    void mouseMoveEvent(QMouseEvent* e) override { forwardMouse(e, m_owner.onMouseMove); }

private:
    Label& m_owner;
    bool m_pressed = false;
};

class LineWidget : public QLineEdit {
public:
    explicit LineWidget(TextBox& owner, QWidget* parent) : QLineEdit(parent), m_owner(owner) { setMouseTracking(true); }

protected:
    void mouseMoveEvent(QMouseEvent* e) override
    {
        QLineEdit::mouseMoveEvent(e);
        forwardMouse(e, m_owner.onMouseMove);
    }

private:
    TextBox& m_owner;
};

class ButtonWidget : public QPushButton {
public:
    explicit ButtonWidget(Button& owner, QWidget* parent) : QPushButton(parent), m_owner(owner) { setMouseTracking(true); }
    PixmapSource picture;

protected:
    void mouseMoveEvent(QMouseEvent* e) override
    {
        QPushButton::mouseMoveEvent(e);
        forwardMouse(e, m_owner.onMouseMove);
    }
    // The picture is painted when the button first appears, not while its window is being built.
    void showEvent(QShowEvent* e) override
    {
        QPushButton::showEvent(e);
        refreshPicture();
    }
    void resizeEvent(QResizeEvent* e) override
    {
        QPushButton::resizeEvent(e);
        refreshPicture();
    }

public:
    void refreshPicture()
    {
        if (!picture || !isVisible())
            return;
        const QSize inner = size() - QSize(6, 6);
        if (inner.isEmpty())
            return;
        setIcon(QIcon(picture(inner, devicePixelRatioF())));
        setIconSize(inner);
    }

private:
    Button& m_owner;
};

class RadioWidget : public QRadioButton {
public:
    explicit RadioWidget(OptionButton& owner, QWidget* parent) : QRadioButton(parent), m_owner(owner) { setMouseTracking(true); }

protected:
    void mouseMoveEvent(QMouseEvent* e) override
    {
        QRadioButton::mouseMoveEvent(e);
        forwardMouse(e, m_owner.onMouseMove);
    }
    // Taking the focus selects nothing. The toolkit makes a group of option buttons one stop of
    // the Tab chain but enters it at its first button; the focus goes on to the group's selected
    // button instead, and the arrow keys move the selection from there.
    void focusInEvent(QFocusEvent* e) override
    {
        const bool byTab = e->reason() == Qt::TabFocusReason || e->reason() == Qt::BacktabFocusReason;
        if (byTab && !isChecked()) {
            for (QRadioButton* other : parentWidget()->findChildren<QRadioButton*>(Qt::FindDirectChildrenOnly)) {
                if (other->autoExclusive() && other->isChecked()) {
                    other->setFocus(e->reason());
                    return;
                }
            }
        }
        QRadioButton::focusInEvent(e);
    }

private:
    OptionButton& m_owner;
};

class PictureWidget : public QWidget {
public:
    explicit PictureWidget(PictureBox& owner, QWidget* parent) : QWidget(parent), m_owner(owner) { setMouseTracking(true); }
    PixmapSource source;
    void invalidate()
    {
        m_cache = QPixmap();
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!source)
            return;
        const qreal dpr = devicePixelRatioF();
        if (m_cache.isNull() || m_cache.deviceIndependentSize().toSize() != size() || m_cache.devicePixelRatio() != dpr)
            m_cache = source(size(), dpr);
        QPainter p(this);
        p.drawPixmap(0, 0, m_cache);
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        m_pressed = true;
        forwardMouse(e, m_owner.onMouseDown);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        e->accept();
        if (m_pressed && rect().contains(e->position().toPoint()) && m_owner.onClick)
            m_owner.onClick();
        m_pressed = false;
    }
    void mouseMoveEvent(QMouseEvent* e) override { forwardMouse(e, m_owner.onMouseMove); }
    void keyPressEvent(QKeyEvent* e) override
    {
        if (!m_owner.onKeyDown) {
            QWidget::keyPressEvent(e);
            return;
        }
        m_owner.onKeyDown(keyCodeOf(*e), shiftStateOf(e->modifiers()));
    }

private:
    PictureBox& m_owner;
    QPixmap m_cache;
    bool m_pressed = false;
};

} // namespace

class ShapeWidget : public QWidget {
public:
    ShapeWidget(Shape& owner, QWidget* parent) : QWidget(parent), m_owner(owner)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF box = m_owner.m_box.isNull() ? QRectF(rect()) : m_owner.m_box;
        const QRectF r = box.adjusted(0.5, 0.5, -0.5, -0.5);
        const auto outline = [&] {
            if (m_owner.m_kind == Shape::Kind::Circle)
                p.drawEllipse(r);
            else
                p.drawRect(r);
        };
        if (m_owner.m_painter) {
            m_owner.m_painter(p, r);
            return;
        }
        p.setPen(Qt::NoPen);
        if (m_owner.m_fill) {
            p.setBrush(toQColor(*m_owner.m_fill));
            outline();
        }
        if (m_owner.m_overlay) {
            const QPixmap picture = m_owner.m_overlay((QSizeF(size()) * devicePixelRatioF()).toSize());
            if (!picture.isNull())
                p.drawPixmap(box, picture, QRectF(picture.rect()));
        }
        if (m_owner.m_border) {
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(toQColor(*m_owner.m_border), 1));
            outline();
        }
    }

private:
    Shape& m_owner;
};

void fitFont(Control& control, const QString& sample, int largestPx, int padding, int stretch)
{
    QFont font = control.widget()->font();
    font.setStretch(stretch);
    constexpr int kSmallestPx = 7;
    for (int px = largestPx; px >= kSmallestPx; --px) {
        font.setPixelSize(px);
        if (QFontMetrics(font).horizontalAdvance(sample) <= control.widget()->width() - padding)
            break;
    }
    control.widget()->setFont(font);
}

// --- Container ---

Container::~Container()
{
    releaseControls();
}

void Container::releaseControls()
{
    for (Control* control : std::exchange(m_controls, {}))
        control->leaveContainer();
}

// --- Control ---

Control::Control(Container& parent, QWidget* widget, float left, float top, float width, float height)
    : m_widget(widget), m_container(&parent), m_unitTw(parent.twipsPerUnit()),
      m_left(left), m_top(top), m_width(width), m_height(height)
{
    parent.m_controls.push_back(this);
    place();
    m_widget->show();
}

Control::~Control()
{
    if (m_container)
        std::erase(m_container->m_controls, this);
    delete m_widget;
}

// The container is going: the widget leaves its surface, which would otherwise delete it. The
// control keeps its properties; its widget is shown nowhere again.
void Control::leaveContainer()
{
    m_container = nullptr;
    if (m_widget)
        m_widget->setParent(nullptr); // hides it too
}

void Control::place()
{
    const auto px = [this](float units) { return units * m_unitTw / kTwipsPerPixel; };
    const float left = m_drawnAt ? static_cast<float>(m_drawnAt->x()) : m_left;
    const float top = m_drawnAt ? static_cast<float>(m_drawnAt->y()) : m_top;
    placeAt(QRectF(QPointF(px(left), px(top)), QPointF(px(left + m_width), px(top + m_height))));
}

void Control::placeAt(const QRectF& pixels)
{
    const auto whole = [](double v) { return static_cast<int>(std::lround(v)); };
    const int x = whole(pixels.left());
    const int y = whole(pixels.top());
    m_widget->setGeometry(x, y, whole(pixels.right()) - x, whole(pixels.bottom()) - y);
}

void Control::moved()
{
    if (m_held)
        return;
    m_drawnAt.reset();
    place();
}

void Control::drawAt(std::optional<QPointF> at)
{
    m_drawnAt = at;
    place();
}

void Control::setLeft(float v) { m_left = v; moved(); }
void Control::setTop(float v) { m_top = v; moved(); }
void Control::setWidth(float v) { m_width = v; moved(); }
void Control::setHeight(float v) { m_height = v; moved(); }

void Control::setVisible(bool on)
{
    m_visible = on;
    if (m_container) // a widget without its container would show as a window of its own
        m_widget->setVisible(on);
}

bool Control::enabled() const { return m_widget->isEnabled(); }
void Control::setEnabled(bool on) { m_widget->setEnabled(on); }
void Control::setToolTip(const QString& text) { m_widget->setToolTip(text); }
void Control::setFocus() { m_widget->setFocus(Qt::OtherFocusReason); }
bool Control::hasFocus() const { return m_widget->hasFocus(); }
void Control::setFocusPolicy(Qt::FocusPolicy policy) { m_widget->setFocusPolicy(policy); }

// --- Label ---

Label::Label(Container& parent, float left, float top, float width, float height, const QString& caption)
    : Control(parent, new LabelWidget(*this, parent.surface()), left, top, width, height)
{
    setCaption(caption);
    restyle();
}

QString Label::caption() const { return static_cast<QLabel*>(m_widget)->text(); }
void Label::setCaption(const QString& text) { static_cast<QLabel*>(m_widget)->setText(text); }
void Label::setBackColor(Color c) { m_back = c; restyle(); }
void Label::setForeColor(Color c) { m_fore = c; restyle(); }
void Label::setTransparent(bool on) { m_transparent = on; restyle(); }
void Label::setBorder(bool on) { m_border = on; restyle(); }
void Label::setAlignment(Qt::Alignment a) { static_cast<QLabel*>(m_widget)->setAlignment(a); }
void Label::setWordWrap(bool on) { static_cast<QLabel*>(m_widget)->setWordWrap(on); }

void Label::setOverlay(CaptionOverlay overlay)
{
    static_cast<LabelWidget*>(m_widget)->overlay = std::move(overlay);
    m_widget->update();
}

void Label::restyle()
{
    auto* label = static_cast<QLabel*>(m_widget);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Window, toQColor(m_back));
    pal.setColor(QPalette::WindowText, toQColor(m_fore));
    label->setPalette(pal);
    label->setAutoFillBackground(!m_transparent);
    label->setFrameShape(m_border ? QFrame::Box : QFrame::NoFrame);
}

// --- TextBox ---

TextBox::TextBox(Container& parent, float left, float top, float width, float height, const QString& text)
    : Control(parent, new LineWidget(*this, parent.surface()), left, top, width, height)
{
    auto* edit = static_cast<QLineEdit*>(m_widget);
    edit->setText(text);
    QObject::connect(edit, &QLineEdit::textChanged, [this] {
        if (onChange)
            onChange();
    });
}

QString TextBox::text() const { return static_cast<QLineEdit*>(m_widget)->text(); }
void TextBox::setText(const QString& text) { static_cast<QLineEdit*>(m_widget)->setText(text); }
void TextBox::setAlignment(Qt::Alignment a) { static_cast<QLineEdit*>(m_widget)->setAlignment(a); }

// --- Button ---

Button::Button(Container& parent, float left, float top, float width, float height, const QString& caption)
    : Control(parent, new ButtonWidget(*this, parent.surface()), left, top, width, height)
{
    auto* b = static_cast<QPushButton*>(m_widget);
    b->setText(caption);
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, [this] {
        if (onClick)
            onClick();
    });
}

QString Button::caption() const { return static_cast<QPushButton*>(m_widget)->text(); }
void Button::setCaption(const QString& text) { static_cast<QPushButton*>(m_widget)->setText(text); }
void Button::click() { static_cast<QPushButton*>(m_widget)->click(); }

void Button::setPicture(PixmapSource source)
{
    auto* b = static_cast<ButtonWidget*>(m_widget);
    b->picture = std::move(source);
    b->refreshPicture();
}

// --- OptionButton ---

OptionButton::OptionButton(Container& parent, float left, float top, float width, float height, const QString& caption)
    : Control(parent, new RadioWidget(*this, parent.surface()), left, top, width, height)
{
    auto* r = static_cast<QRadioButton*>(m_widget);
    r->setText(caption);
    QObject::connect(r, &QRadioButton::clicked, [this] {
        if (onClick)
            onClick();
    });
}

bool OptionButton::value() const { return static_cast<QRadioButton*>(m_widget)->isChecked(); }

void OptionButton::setValue(bool on)
{
    auto* r = static_cast<QRadioButton*>(m_widget);
    if (on) {
        r->setChecked(true);
        return;
    }
    // An exclusive group refuses to clear its selected button; clearing is allowed here.
    r->setAutoExclusive(false);
    r->setChecked(false);
    r->setAutoExclusive(true);
}

void OptionButton::click()
{
    // Emits clicked(), which runs onClick, and selects the button.
    static_cast<QRadioButton*>(m_widget)->click();
    if (!value())
        setValue(true);
}

// --- Frame ---

Frame::Frame(Container& parent, float left, float top, float width, float height, const QString& caption)
    : Control(parent, new QGroupBox(caption, parent.surface()), left, top, width, height)
{
}

Frame::~Frame()
{
    releaseControls(); // before the frame's own widget, the surface of its controls, goes
}

QString Frame::caption() const { return static_cast<QGroupBox*>(m_widget)->title(); }

// --- ScrollBar ---

ScrollBar::ScrollBar(Container& parent, float left, float top, float width, float height, int min, int max)
    : Control(parent, new QScrollBar(Qt::Horizontal, parent.surface()), left, top, width, height)
{
    auto* s = static_cast<QScrollBar*>(m_widget);
    s->setRange(min, max);
    QObject::connect(s, &QScrollBar::valueChanged, [this] {
        if (onChange)
            onChange();
    });
}

int ScrollBar::value() const { return static_cast<QScrollBar*>(m_widget)->value(); }
void ScrollBar::setValue(int v) { static_cast<QScrollBar*>(m_widget)->setValue(v); }

void ScrollBar::setSteps(int small, int large)
{
    auto* s = static_cast<QScrollBar*>(m_widget);
    s->setSingleStep(small);
    s->setPageStep(large);
}

// --- PictureBox ---

PictureBox::PictureBox(Container& parent, float left, float top, float width, float height, PixmapSource picture)
    : Control(parent, new PictureWidget(*this, parent.surface()), left, top, width, height)
{
    setPicture(std::move(picture));
}

void PictureBox::setPicture(PixmapSource source)
{
    auto* w = static_cast<PictureWidget*>(m_widget);
    w->source = std::move(source);
    w->invalidate();
}

void PictureBox::setFocusable(bool on)
{
    m_widget->setFocusPolicy(on ? Qt::StrongFocus : Qt::NoFocus);
}

// --- Shape ---

Shape::Shape(Container& parent, float left, float top, float width, float height, Kind kind)
    : Control(parent, new ShapeWidget(*this, parent.surface()), left, top, width, height), m_kind(kind)
{
}

void Shape::placeAt(const QRectF& pixels)
{
    if (!drawnAt()) {
        m_box = {};
        Control::placeAt(pixels);
        return;
    }
    const QRect around = pixels.toAlignedRect();
    const QRectF box = pixels.translated(-around.topLeft());
    if (around == m_widget->geometry() && box == m_box)
        return;
    m_box = box;
    m_widget->setGeometry(around);
    m_widget->update();
}

void Shape::setFillColor(std::optional<Color> c) { m_fill = c; m_widget->update(); }
void Shape::setBorderColor(std::optional<Color> c) { m_border = c; m_widget->update(); }
void Shape::setOverlay(Overlay overlay) { m_overlay = std::move(overlay); m_widget->update(); }
void Shape::setPainter(Painter painter) { m_painter = std::move(painter); m_widget->update(); }

} // namespace shell
