#include "shell/window.h"

#include "shell/keys.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <cstring>
#include <vector>

namespace shell {

// The client area: background, the retained drawings, and the controls on top.
class SurfaceWidget : public QWidget {
public:
    SurfaceWidget(Window& owner, QWidget* parent) : QWidget(parent), m_owner(owner) { setMouseTracking(true); }

    QImage canvas;
    QImage boxScratch; // one box painted aside, to compare with the canvas before it is copied in
    PixmapSource background;

    double deviceScale() const { return m_owner.m_unitTw / kTwipsPerPixel * devicePixelRatioF(); }

    void ensureCanvas()
    {
        const qreal dpr = devicePixelRatioF();
        const QSize need = (QSizeF(size()) * dpr).toSize();
        if (!canvas.isNull() && canvas.width() >= need.width() && canvas.height() >= need.height())
            return;
        QImage bigger(need.expandedTo(canvas.size()), QImage::Format_ARGB32_Premultiplied);
        bigger.fill(Qt::transparent);
        if (!canvas.isNull()) {
            QPainter p(&bigger);
            p.drawImage(0, 0, canvas);
        }
        canvas = bigger;
    }

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QPainter p(this);
        p.fillRect(e->rect(), toQColor(m_owner.m_back));
        if (background) {
            const qreal dpr = devicePixelRatioF();
            if (m_backCache.isNull() || m_backCache.deviceIndependentSize().toSize() != size() || m_backCache.devicePixelRatio() != dpr)
                m_backCache = background(size(), dpr);
            p.drawPixmap(0, 0, m_backCache);
        }
        if (!canvas.isNull()) {
            const qreal dpr = devicePixelRatioF();
            const QRect src = QRectF(QRectF(e->rect()).topLeft() * dpr, QSizeF(e->rect().size()) * dpr).toAlignedRect();
            p.drawImage(QRectF(e->rect()), canvas, src);
        }
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        if (m_owner.onMouseMove)
            m_owner.onMouseMove(mouseArgsOf(*e, m_owner.m_unitTw));
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        if (m_owner.onMouseDown)
            m_owner.onMouseDown(mouseArgsOf(*e, m_owner.m_unitTw));
    }

private:
    Window& m_owner;
    QPixmap m_backCache;
};

namespace {
// The program's windows in the order they were last active, the latest last.
std::vector<QPointer<QWidget>>& activeOrder()
{
    static std::vector<QPointer<QWidget>> order;
    return order;
}

bool stacksWindows()
{
    // The headless platform of the tests has no window stacking (and says so on every call).
    return QGuiApplication::platformName() != QLatin1String("offscreen");
}
} // namespace

class FormWidget : public QWidget {
public:
    explicit FormWidget(Window& owner) : m_owner(owner) {}

    // The desktop is given a window's icon when the window is first made on screen, and Qt paints
    // every size of the icon for it then. The icon is handed over just after the window's first
    // frame instead, so that the window never waits for it.
    void setIcon(const QIcon& icon)
    {
        m_icon = icon;
        if (m_painted)
            setWindowIcon(m_icon);
    }

    // The window system hands a key to the window first, which passes it on to the control with
    // the focus: watching it there lets the window's key handler see every key first, once.
    void watchKeys()
    {
        QWindow* handle = windowHandle();
        if (!handle || handle == m_watched)
            return;
        handle->installEventFilter(this);
        m_watched = handle;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (watched != m_watched || (e->type() != QEvent::KeyPress && e->type() != QEvent::KeyRelease))
            return false;
        const auto* key = static_cast<QKeyEvent*>(e);
        KeyArgs k;
        k.keyCode = keyCodeOf(*key);
        k.shift = shiftStateOf(key->modifiers());
        k.autoRepeat = key->isAutoRepeat();
        const QWidget* focus = focusWidget();
        if (qobject_cast<const QMenuBar*>(focus))
            k.focus = KeyFocus::MenuBar;
        else if (focus && focus->testAttribute(Qt::WA_InputMethodEnabled))
            k.focus = KeyFocus::TextBox;
        if (e->type() == QEvent::KeyPress)
            return m_owner.onKeyDown && m_owner.onKeyDown(k);
        if (m_owner.onKeyUp)
            m_owner.onKeyUp(k);
        return false;
    }
    void changeEvent(QEvent* e) override
    {
        QWidget::changeEvent(e);
        if (e->type() == QEvent::ActivationChange && isActiveWindow()) {
            auto& order = activeOrder();
            std::erase_if(order, [this](const QPointer<QWidget>& w) { return !w || w == this; });
            order.emplace_back(this);
        }
        if (e->type() == QEvent::WindowStateChange && isMinimized() && m_owner.onMinimize)
            m_owner.onMinimize();
    }
    void paintEvent(QPaintEvent*) override
    {
        if (m_painted)
            return;
        m_painted = true;
        if (!m_icon.isNull())
            QMetaObject::invokeMethod(this, [this] { setWindowIcon(m_icon); }, Qt::QueuedConnection);
    }
    void closeEvent(QCloseEvent* e) override
    {
        e->accept();
        m_owner.closeBox();
    }

private:
    Window& m_owner;
    QIcon m_icon;
    bool m_painted = false;
    QPointer<QWindow> m_watched;
};

namespace {
// Whether the area of the canvas holds exactly the pixels of the earlier copy of it.
bool sameArea(const QImage& canvas, const QRect& area, const QImage& copy)
{
    const auto bytes = static_cast<std::size_t>(area.width()) * 4;
    for (int y = 0; y < area.height(); ++y)
        if (std::memcmp(canvas.constScanLine(area.top() + y) + std::size_t(area.left()) * 4, copy.constScanLine(y), bytes) != 0)
            return false;
    return true;
}

int px(double twips)
{
    return static_cast<int>(std::lround(twips / kTwipsPerPixel));
}
} // namespace

Window::Window(const QString& caption, float clientWidthTw, float clientHeightTw, double twipsPerUnit)
    : m_top(std::make_unique<FormWidget>(*this)),
      m_unitTw(twipsPerUnit),
      m_clientWidthTw(clientWidthTw),
      m_height(clientHeightTw + kFrameAllowanceTw)
{
    auto* layout = new QVBoxLayout(m_top.get());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_surface = new SurfaceWidget(*this, m_top.get());
    layout->addWidget(m_surface);
    m_top->setWindowTitle(caption);
    resizeToFit();
}

Window::~Window()
{
    // Controls that are members of the derived window are gone already; any that outlive it
    // take their widgets back before the widget tree goes.
    releaseControls();
    m_top.reset();
}

void Window::Form_Unload()
{
    if (destroyByCloseBox)
        destroyByCloseBox();
    else
        hide();
}

void Window::closeBox()
{
    Form_Unload();
}

void Window::show()
{
    m_top->show();
    m_top->watchKeys(); // the window exists in the window system from its first showing
    if (stacksWindows()) {
        m_top->raise();
        m_top->activateWindow();
    }
}

void Window::hide()
{
    const bool wasActive = m_top->isActiveWindow();
    m_top->hide();
    // The window system gives the focus of a hidden window to whichever window it likes, or to
    // none; the window of the program that was active before takes it back, as from a closed box.
    if (!wasActive || !stacksWindows())
        return;
    const auto& order = activeOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        if (*it && *it != m_top.get() && (*it)->isVisible()) {
            (*it)->activateWindow();
            return;
        }
    }
}
bool Window::visible() const { return m_top->isVisible(); }
bool Window::minimized() const { return m_top->isMinimized(); }
QString Window::caption() const { return m_top->windowTitle(); }
void Window::setCaption(const QString& text) { m_top->setWindowTitle(text); }

float Window::clientHeight() const
{
    return m_height - kFrameAllowanceTw;
}

void Window::setHeight(float twips)
{
    m_height = twips;
    resizeToFit();
}

void Window::resizeToFit()
{
    const int menu = m_menuBar ? m_menuBar->sizeHint().height() : 0;
    const QSize client(px(m_clientWidthTw), std::max(1, px(clientHeight())));
    m_surface->setFixedSize(client);
    m_top->setFixedSize(client.width(), client.height() + menu);
}

void Window::setBackColor(Color c)
{
    m_back = c;
    m_surface->update();
}

void Window::setBackgroundPicture(PixmapSource source)
{
    m_surface->background = std::move(source);
    m_surface->update();
}

void Window::setIcon(const QIcon& icon) { m_top->setIcon(icon); }

void Window::drawBox(float x1, float y1, float x2, float y2, Color color, Finish finish, const Overlay& overlay)
{
    m_surface->ensureCanvas();
    const double s = m_surface->deviceScale();
    const QRect r(QPoint(static_cast<int>(std::lround(std::min(x1, x2) * s)), static_cast<int>(std::lround(std::min(y1, y2) * s))),
                  QPoint(static_cast<int>(std::lround(std::max(x1, x2) * s)) - 1, static_cast<int>(std::lround(std::max(y1, y2) * s)) - 1));
    // The ball tick redraws all 40 cells 62.5 times a second, nearly always in the colours they
    // already have: the box is painted aside first, and only a box that changes the canvas is
    // copied in and asks for a repaint of the window.
    QImage& canvas = m_surface->canvas;
    const QRect onCanvas = r.intersected(canvas.rect());
    if (onCanvas.isEmpty())
        return;
    QImage& box = m_surface->boxScratch;
    if (box.width() < onCanvas.width() || box.height() < onCanvas.height() || box.format() != canvas.format())
        box = QImage(onCanvas.size().expandedTo(box.size()), canvas.format());
    {
        QPainter p(&box);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.translate(-onCanvas.topLeft());
        const QColor c = toQColor(color);
        p.fillRect(r, c);
        if (finish == Finish::Raised && r.width() > 8 && r.height() > 8) {
            const int edge = std::max(1, static_cast<int>(std::lround(2 * m_surface->devicePixelRatioF())));
            p.fillRect(QRect(r.left(), r.top(), r.width(), edge), c.lighter(150));
            p.fillRect(QRect(r.left(), r.top(), edge, r.height()), c.lighter(130));
            p.fillRect(QRect(r.left(), r.bottom() - edge + 1, r.width(), edge), c.darker(140));
            p.fillRect(QRect(r.right() - edge + 1, r.top(), edge, r.height()), c.darker(125));
        }
        if (overlay) {
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            if (const QPixmap picture = overlay(r.size()); !picture.isNull())
                p.drawPixmap(r, picture, picture.rect());
        }
    }
    if (sameArea(canvas, onCanvas, box))
        return;
    const auto bytes = static_cast<std::size_t>(onCanvas.width()) * 4;
    for (int y = 0; y < onCanvas.height(); ++y)
        std::memcpy(canvas.scanLine(onCanvas.top() + y) + std::size_t(onCanvas.left()) * 4, box.constScanLine(y), bytes);
    const qreal dpr = m_surface->devicePixelRatioF();
    m_surface->update(QRectF(QPointF(r.topLeft()) / dpr, QSizeF(r.size()) / dpr).toAlignedRect().adjusted(-1, -1, 1, 1));
}

void Window::cls()
{
    if (!m_surface->canvas.isNull())
        m_surface->canvas.fill(Qt::transparent);
    m_surface->update();
}

std::optional<Color> Window::drawnColorAt(float x, float y) const
{
    const QImage& c = m_surface->canvas;
    const double s = m_surface->deviceScale();
    const int ix = static_cast<int>(std::floor(x * s));
    const int iy = static_cast<int>(std::floor(y * s));
    if (c.isNull() || !c.valid(ix, iy))
        return std::nullopt;
    const QRgb p = c.pixel(ix, iy);
    if (qAlpha(p) == 0)
        return std::nullopt;
    return rgb(qRed(p), qGreen(p), qBlue(p));
}

MenuItem& Window::addMenu(MenuItem& item, const QString& caption)
{
    if (!m_menuBar) {
        m_menuBar = new QMenuBar(m_top.get());
        m_menuBar->setNativeMenuBar(false);
        static_cast<QVBoxLayout*>(m_top->layout())->setMenuBar(m_menuBar);
    }
    item.m_caption = caption;
    item.m_action = m_menuBar->addAction(caption);
    QObject::connect(item.m_action, &QAction::triggered, [&item] {
        if (item.onClick)
            item.onClick();
    });
    resizeToFit();
    return item;
}

MenuItem& Window::addMenu(MenuItem& item, const QString& caption, MenuItem& parent)
{
    if (!parent.m_menu) {
        // The parent entry becomes a submenu holder.
        parent.m_menu = new QMenu(parent.m_caption, m_top.get());
        parent.m_menu->setToolTipsVisible(true);
        parent.m_action->setMenu(parent.m_menu);
    }
    item.m_caption = caption;
    item.m_action = parent.m_menu->addAction(caption);
    QObject::connect(item.m_action, &QAction::triggered, [&item] {
        if (item.onClick)
            item.onClick();
    });
    return item;
}

void Window::addMenuSeparator(MenuItem& parent)
{
    if (parent.m_menu)
        parent.m_menu->addSeparator();
}

void MenuItem::click()
{
    if (m_action)
        m_action->trigger();
}

void MenuItem::setCheckable(bool on) { m_action->setCheckable(on); }
bool MenuItem::checked() const { return m_action->isChecked(); }
void MenuItem::setChecked(bool on) { m_action->setChecked(on); }
void MenuItem::setEnabled(bool on) { m_action->setEnabled(on); }
bool MenuItem::enabled() const { return m_action->isEnabled(); }
void MenuItem::setToolTip(const QString& text) { m_action->setToolTip(text); }

QWidget* Window::surface() const { return m_surface; }
QWidget* Window::topLevel() const { return m_top.get(); }

} // namespace shell
