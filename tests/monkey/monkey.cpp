#include "monkey.h"

#include "editor/form2.h"
#include "filedialog/form3.h"
#include "game/for6.h"
#include "game/form1.h"
#include "game/form4.h"
#include "game/forms.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QStyle>
#include <QTest>
#include <QWheelEvent>
#include <algorithm>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>

#include <dirent.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

namespace monkey {

// Notices an event loop run inside a step: the monkey sends events straight to the widgets and
// pumps the queue only between steps, so a posted event that arrives during a step was delivered
// by a loop that some handler started itself, which is what a modal window does.
class LoopWatch : public QObject {
public:
    bool inStep = false;
    int nested = 0;
    void arm() { QCoreApplication::postEvent(this, new QEvent(QEvent::User)); }

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != QEvent::User)
            return QObject::event(e);
        if (inStep) {
            ++nested;
            // End the loop, so that the run reports the fault instead of hanging in it.
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            arm();
        }
        return true;
    }
};

// Calls f(path, lstat of it) for every entry of a folder but "." and "..", symbolic links
// not followed.
template <typename F>
void eachEntry(const QByteArray& folder, F&& f)
{
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent* e = ::readdir(dir)) {
        if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0)
            continue;
        const QByteArray path = folder + '/' + e->d_name;
        struct stat st {};
        if (::lstat(path.constData(), &st) == 0)
            f(path, st);
    }
    ::closedir(dir);
}

// Tells whether anything was written below a root since it was last asked, from the kernel's
// file-change notifications on every folder of the tree; without them every step counts as
// written. Comparing the whole tree after each of the 100 000 steps would cost a minute under the
// sanitizers, almost all of it on steps that write nothing.
class TreeWatch {
public:
    explicit TreeWatch(const QString& root) : m_root(QFile::encodeName(root)), m_fd(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        watchAll(m_root);
    }
    ~TreeWatch()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    TreeWatch(const TreeWatch&) = delete;
    TreeWatch& operator=(const TreeWatch&) = delete;

    bool written()
    {
        if (m_fd < 0)
            return true;
        bool any = false;
        bool newFolder = false;
        alignas(inotify_event) char buffer[8192];
        for (;;) {
            const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
            if (n <= 0)
                break;
            any = true;
            for (ssize_t at = 0; at < n;) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                if ((e->mask & IN_ISDIR) && (e->mask & (IN_CREATE | IN_MOVED_TO)))
                    newFolder = true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
            }
        }
        if (newFolder)
            watchAll(m_root);
        return any;
    }

private:
    void watchAll(const QByteArray& folder)
    {
        if (m_fd < 0)
            return;
        constexpr std::uint32_t kChanges = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_MOVED_TO | IN_CREATE
                                           | IN_DELETE | IN_DELETE_SELF | IN_MOVE_SELF;
        if (::inotify_add_watch(m_fd, folder.constData(), kChanges) < 0) {
            // Without a watch on every folder, nothing can be skipped.
            ::close(m_fd);
            m_fd = -1;
            return;
        }
        eachEntry(folder, [this](const QByteArray& path, const struct stat& st) {
            if (S_ISDIR(st.st_mode))
                watchAll(path);
        });
    }

    QByteArray m_root;
    int m_fd;
};

namespace {

constexpr int kMaxProblems = 10;

// What the monkey types into text boxes: no path separators, so a typed file name never leaves
// its folder.
const QString kTypeable = QStringLiteral("abcdefghijklmnopqrstuvwxyz0123456789.-_ абвгдеёжзийклмнопрстуфхцчшщъыьэюяЖ");
const char kLettersAndDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";

const Qt::Key kOtherKeys[] = {Qt::Key_Space,  Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Left,   Qt::Key_Right,
                              Qt::Key_Up,     Qt::Key_Down,      Qt::Key_Home,   Qt::Key_End,    Qt::Key_PageUp,
                              Qt::Key_PageDown, Qt::Key_Tab,     Qt::Key_Backtab, Qt::Key_Escape, Qt::Key_Control,
                              Qt::Key_F1,     Qt::Key_F4};
const Qt::Key kDriveKeys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};

QtMessageHandler g_previousHandler = nullptr;

// The monkey presses on surfaces and frames that take no mouse or key events, and the level-jump
// dialog asks the headless platform to raise its window; a line for each would drown the log.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg
        && (text.contains(QLatin1String("not accepted by receiving widget"))
            || text.startsWith(QLatin1String("This plugin does not support"))))
        return;
    if (g_previousHandler)
        g_previousHandler(type, context, text);
}

void collect(const QDir& root, const QString& folder, Snapshot& out)
{
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& e : entries) {
        const QString rel = root.relativeFilePath(e.filePath());
        if (e.isDir() && !e.isSymLink()) {
            out.insert(rel + QLatin1Char('/'), {});
            collect(root, e.filePath(), out);
            continue;
        }
        QFile f(e.filePath());
        out.insert(rel, f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>"));
    }
}

void stampAll(const QByteArray& root, const QByteArray& folder, Stamps& out)
{
    eachEntry(folder, [&](const QByteArray& path, const struct stat& st) {
        const QString rel = QString::fromUtf8(path.mid(root.size() + 1)) + (S_ISDIR(st.st_mode) ? QStringLiteral("/") : QString());
        out.insert(rel, {static_cast<long long>(st.st_size),
                         static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec,
                         static_cast<unsigned long long>(st.st_ino)});
        if (S_ISDIR(st.st_mode))
            stampAll(root, path, out);
    });
}

void sendMove(QWidget* target, QPoint local, Qt::MouseButtons held, Qt::KeyboardModifiers mods)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(local), QPointF(target->mapToGlobal(local)), Qt::NoButton, held, mods);
    QApplication::sendEvent(target, &e);
}

// QTest reads the point (0, 0) as "the middle of the widget"; keep the chosen point instead.
QPoint notNull(QPoint p, const QWidget* w)
{
    if (p.isNull() && w->width() > 1)
        return QPoint(1, 0);
    return p;
}

bool isPopup(const QWidget* w)
{
    return w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip;
}

std::vector<QWidget*> visibleControls(QWidget* top)
{
    std::vector<QWidget*> out;
    for (QWidget* w : top->findChildren<QWidget*>())
        if (!w->isWindow() && w->isVisible())
            out.push_back(w);
    return out;
}

void closePopups()
{
    for (int i = 0; i < 8; ++i) {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup)
            return;
        popup->close();
    }
}

} // namespace

Snapshot snapshotOf(const QString& root)
{
    Snapshot out;
    collect(QDir(root), root, out);
    return out;
}

QStringList untargetedChanges(const Snapshot& before, const Snapshot& after, const QSet<QString>& targets)
{
    QStringList out;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (targets.contains(it.key()))
            continue;
        const auto now = after.constFind(it.key());
        if (now == after.cend())
            out << QStringLiteral("gone: ") + it.key();
        else if (*now != *it)
            out << QStringLiteral("changed: ") + it.key();
    }
    for (auto it = after.cbegin(); it != after.cend(); ++it)
        if (!before.contains(it.key()) && !targets.contains(it.key()))
            out << QStringLiteral("new: ") + it.key();
    return out;
}

Stamps stampsOf(const QString& root)
{
    Stamps out;
    const QByteArray base = QFile::encodeName(root);
    stampAll(base, base, out);
    return out;
}

Monkey::Monkey(testing_support::GameFixture& fx, std::uint64_t seed)
    : m_fx(fx), m_seed(seed), m_rng(seed), m_root(QDir(fx.folder()).absolutePath()), m_watch(std::make_unique<LoopWatch>())
{
    g_previousHandler = qInstallMessageHandler(quietHandler);
    m_tree = std::make_unique<TreeWatch>(m_root);
    m_stamps = stampsOf(m_root);
    m_fx.whileBoxWaits = [this](const QString&) { whileBoxWaits(); };
}

Monkey::~Monkey()
{
    m_fx.whileBoxWaits = {};
    qInstallMessageHandler(g_previousHandler);
    g_previousHandler = nullptr;
}

int Monkey::below(int n)
{
    return n <= 1 ? 0 : static_cast<int>(m_rng() % static_cast<std::uint64_t>(n));
}

Qt::KeyboardModifiers Monkey::modifiers()
{
    const int r = below(20);
    if (r < 11)
        return Qt::NoModifier;
    if (r < 16)
        return Qt::ShiftModifier;
    if (r < 18)
        return Qt::ControlModifier;
    return Qt::ShiftModifier | Qt::ControlModifier;
}

void Monkey::note(const QString& what)
{
    const QByteArray bytes = what.toUtf8();
    for (const char c : bytes) {
        m_digest ^= static_cast<unsigned char>(c);
        m_digest *= 1099511628211ull;
    }
    if (m_stepAction.isEmpty())
        m_stepAction = what;
    m_digest ^= 0xff; // end of the note
    m_digest *= 1099511628211ull;
    if (recordTrace)
        trace << QString::number(m_step) + QLatin1Char(' ') + what;
}

void Monkey::problem(const QString& what)
{
    ++m_problems;
    ADD_FAILURE() << "seed " << m_seed << ", step " << m_step << " (" << m_stepAction.toStdString()
                  << "): " << what.toStdString();
}

void Monkey::run(int events)
{
    for (int i = 0; i < events && m_problems < kMaxProblems; ++i) {
        m_step = i;
        step();
    }
}

// --- Windows ---

QString Monkey::nameOf(QWidget* top)
{
    Forms& f = m_fx.forms();
    if (top == f.form1().topLevel())
        return QStringLiteral("Form1");
    if (top == f.for6().topLevel())
        return QStringLiteral("For6");
    if (f.form2Exists() && top == f.form2().topLevel())
        return QStringLiteral("Form2");
    if (f.form3Exists() && top == f.form3().topLevel())
        return QStringLiteral("Form3");
    if (f.form4Exists() && top == f.form4().topLevel())
        return QStringLiteral("Form4");
    // The options, about and records windows are told by their captions, so that looking does not
    // create them.
    const QString title = top->windowTitle();
    if (title == QStringLiteral("ОПЦИИ"))
        return QStringLiteral("Form5");
    if (title == QStringLiteral("О программе"))
        return QStringLiteral("Form6");
    if (title == QStringLiteral("РЕКОРДЫ"))
        return QStringLiteral("Form7");
    return {};
}

std::vector<Monkey::Open> Monkey::openWindows()
{
    std::vector<Open> open;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || isPopup(w))
            continue;
        const QString name = nameOf(w);
        if (!name.isEmpty())
            open.push_back({w, name});
    }
    // The application lists its windows in no fixed order; the seed needs one.
    std::sort(open.begin(), open.end(), [](const Open& a, const Open& b) { return a.name < b.name; });
    return open;
}

const Monkey::Open* Monkey::find(const std::vector<Open>& open, const QString& name) const
{
    for (const Open& w : open)
        if (w.name == name)
            return &w;
    return nullptr;
}

// The widget that a press at a point of the window reaches, as the window system routes it:
// the topmost control there that takes the mouse, else the window itself.
QWidget* Monkey::routeTo(QWidget* top, QPoint at, QPoint& local) const
{
    QWidget* target = top->childAt(at);
    if (!target)
        target = top;
    local = notNull(target->mapFrom(top, at), target);
    return target;
}

// A point anywhere in the window, or a point of a control chosen among all the window's visible
// widgets, so that small controls get their share.
QWidget* Monkey::targetIn(const Open& w, QPoint& local)
{
    if (chance(60))
        return routeTo(w.top, QPoint(below(w.top->width()), below(w.top->height())), local);
    const std::vector<QWidget*> controls = visibleControls(w.top);
    if (controls.empty())
        return routeTo(w.top, QPoint(below(w.top->width()), below(w.top->height())), local);
    QWidget* c = controls[static_cast<std::size_t>(below(static_cast<int>(controls.size())))];
    return routeTo(w.top, c->mapTo(w.top, QPoint(below(c->width()), below(c->height()))), local);
}

QString Monkey::describe(const Open& w, QWidget* widget, QPoint local) const
{
    const int index = widget == w.top ? -1 : static_cast<int>(w.top->findChildren<QWidget*>().indexOf(widget));
    return QStringLiteral("%1:%2#%3@%4,%5")
        .arg(w.name, QLatin1String(widget->metaObject()->className()))
        .arg(index)
        .arg(local.x())
        .arg(local.y());
}

// --- The folder list ---

bool Monkey::insideTree(const QString& path) const
{
    const QString clean = QDir::cleanPath(path);
    return clean == m_root || clean.startsWith(m_root + QLatin1Char('/'));
}

// The folder that entry `row` of the folder list opens: an ancestor of the current folder (or the
// folder itself) for the first entries, a subfolder after them.
QString Monkey::entryPath(int row)
{
    const shell::DirList& dir = m_fx.forms().form3().Dir1;
    const QStringList entries = dir.entries();
    if (row < 0 || row >= entries.size())
        return {};
    if (row >= dir.chainLength())
        return QDir(dir.path()).filePath(entries.at(row));
    QString path = dir.path();
    for (int up = dir.chainLength() - 1; up > row; --up)
        path = QFileInfo(path).path();
    return path;
}

// Whether a press (or, with `activates`, a double-click) at a point of the folder list would open a
// folder outside the tree.
bool Monkey::opensOutside(QWidget* target, QPoint local, bool activates)
{
    if (!m_fx.forms().form3Exists())
        return false;
    auto* list = static_cast<QListWidget*>(m_fx.forms().form3().Dir1.widget());
    if (target != list->viewport())
        return false;
    if (!activates && !list->style()->styleHint(QStyle::SH_ItemView_ActivateItemOnSingleClick, nullptr, list))
        return false;
    const QModelIndex index = list->indexAt(local);
    return index.isValid() && !insideTree(entryPath(index.row()));
}

// --- Save targets ---

void Monkey::recordTarget(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    if (!insideTree(clean)) {
        problem(QStringLiteral("a save would write outside the folder tree: ") + clean);
        return;
    }
    const QString rel = QDir(m_root).relativeFilePath(clean);
    m_targets.insert(rel);
    m_stepTargets.insert(rel);
}

void Monkey::checkStepWrites()
{
    if (!m_tree->written()) {
        m_stepTargets.clear();
        return;
    }
    ++m_stepChecks;
    Stamps now = stampsOf(m_root);
    QStringList stray;
    for (auto it = now.cbegin(); it != now.cend(); ++it) {
        const auto was = m_stamps.constFind(it.key());
        if ((was == m_stamps.cend() || !(*was == *it)) && !m_stepTargets.contains(it.key()))
            stray << it.key();
    }
    for (auto it = m_stamps.cbegin(); it != m_stamps.cend(); ++it)
        if (!now.contains(it.key()) && !m_stepTargets.contains(it.key()))
            stray << it.key() + QStringLiteral(" (gone)");
    // A folder's own time moves when a save renames a file into it.
    stray.removeIf([&](const QString& path) {
        if (!path.endsWith(QLatin1Char('/')))
            return false;
        for (const QString& t : std::as_const(m_stepTargets))
            if (t.startsWith(path))
                return true;
        return false;
    });
    if (!stray.isEmpty())
        problem(QStringLiteral("files changed that no save of this step was aimed at: ") + stray.join(QStringLiteral(", ")));
    m_stamps = std::move(now);
    m_stepTargets.clear();
}

// A map save runs on the main window's next timer tick with the dialog's folder and name box as
// they are then; nothing the monkey can do changes them inside one advance of the clock.
void Monkey::beforeClockMoves()
{
    if (!m_fx.form1().Timer5.enabled())
        return;
    Form3& dialog = m_fx.forms().form3();
    if (!insideTree(dialog.Dir1.path())) {
        problem(QStringLiteral("the folder list is outside the tree at a save: ") + dialog.Dir1.path());
        dialog.Dir1.setPath(m_root);
    }
    QString name = dialog.Text1.text();
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!insideTree(dialog.Dir1.path() + QLatin1Char('/') + name)) {
        // A name such as ".." made of typed dots: the player types a plain name instead.
        name = QStringLiteral("monkey.dbm");
        dialog.Text1.setText(name);
        ++m_counts.namesReplaced;
        note(QStringLiteral("name replaced"));
    }
    recordTarget(dialog.Dir1.path() + QLatin1Char('/') + name);
    ++m_counts.mapSaves;
}

// --- Steps ---

void Monkey::step()
{
    ++m_counts.events;
    m_stepAction.clear();
    Form3* dialog = m_fx.forms().form3Exists() ? &m_fx.forms().form3() : nullptr;
    const QString driveBefore = dialog ? dialog->Drive1.drive() : QString();
    const QString dirBefore = dialog ? dialog->Dir1.path() : QString();
    const std::vector<Open> open = openWindows();

    enum class Act { Click, Move, Wheel, DoubleClick, Drag, Key, Type, Tick, Menu, Close, LevelJump, Folder, Drive, File };
    static constexpr struct {
        int weight;
        Act act;
        const char* name;
    } kActs[] = {
        {27, Act::Click, "click"}, {14, Act::Move, "move"},     {2, Act::Wheel, "wheel"},
        {3, Act::DoubleClick, "double-click"},
        {3, Act::Drag, "drag"},    {14, Act::Key, "key"},       {6, Act::Type, "type"},
        {17, Act::Tick, "tick"},   {5, Act::Menu, "menu"},      {1, Act::Close, "close box"},
        {1, Act::LevelJump, "level-jump word"}, {4, Act::Folder, "folder"}, {1, Act::Drive, "drive"},
        {2, Act::File, "file"},
    };
    int total = 0;
    for (const auto& a : kActs)
        total += a.weight;
    int r = below(total);
    std::size_t chosen = 0;
    while (r >= kActs[chosen].weight)
        r -= kActs[chosen++].weight;
    Act act = kActs[chosen].act;

    // Actions that need a window fall back to a click when it is not open.
    const bool mainOpen = find(open, QStringLiteral("Form1")) != nullptr;
    const bool dialogOpen = find(open, QStringLiteral("Form3")) != nullptr;
    if (((act == Act::Menu || act == Act::LevelJump) && !mainOpen)
        || ((act == Act::Folder || act == Act::Drive || act == Act::File) && !dialogOpen))
        act = Act::Click;
    if (open.empty())
        act = Act::Tick;
    for (const auto& a : kActs)
        if (a.act == act)
            ++m_counts.actions[a.name];

    const Open* w = open.empty() ? nullptr : &open[static_cast<std::size_t>(below(static_cast<int>(open.size())))];
    if (w && act != Act::Tick && act != Act::Menu && act != Act::LevelJump && act != Act::Folder && act != Act::Drive
        && act != Act::File)
        ++m_counts.windows[w->name.toStdString()];

    m_watch->arm();
    m_watch->inStep = true;
    switch (act) {
    case Act::Click: click(*w); break;
    case Act::Move: moves(*w); break;
    case Act::Wheel: wheel(*w); break;
    case Act::DoubleClick: doubleClick(*w); break;
    case Act::Drag: drag(*w); break;
    case Act::Key: key(*w); break;
    case Act::Type: type(*w); break;
    case Act::Tick: tick(); break;
    case Act::Menu: ++m_counts.windows["Form1"]; menuCommand(); break;
    case Act::Close: closeBox(*w); break;
    case Act::LevelJump: ++m_counts.windows["Form1"]; levelJumpWord(); break;
    case Act::Folder: ++m_counts.windows["Form3"]; openFolder(); break;
    case Act::Drive: ++m_counts.windows["Form3"]; chooseDrive(); break;
    case Act::File: ++m_counts.windows["Form3"]; pickFile(); break;
    }
    m_watch->inStep = false;
    afterStep(driveBefore, dirBefore);
}

void Monkey::afterStep(const QString& driveBefore, const QString& dirBefore)
{
    // A menu or the drive box's list opened by the step closes before the next one.
    closePopups();

    if (m_watch->nested > 0) {
        problem(QStringLiteral("a handler ran an event loop of its own (a modal window?)"));
        m_watch->nested = 0;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && !isPopup(w) && nameOf(w).isEmpty()) {
            problem(QStringLiteral("a window that is not the game's: ") + QLatin1String(w->metaObject()->className())
                    + QStringLiteral(" \"") + w->windowTitle() + QLatin1Char('"'));
            w->close();
        }
    }

    if (m_fx.forms().form3Exists()) {
        Form3& dialog = m_fx.forms().form3();
        if (!insideTree(dialog.Dir1.path())) {
            // A drive chosen in the list moves the folder list to the volume's root; put it back
            // before any later step can save there.
            const bool driveChosen = !driveBefore.isEmpty() && dialog.Drive1.drive() != driveBefore;
            if (driveChosen) {
                ++m_counts.drivesUndone;
                note(QStringLiteral("drive undone"));
            } else {
                problem(QStringLiteral("the working folder left the tree: ") + dialog.Dir1.path());
            }
            dialog.Dir1.setPath(!dirBefore.isEmpty() && insideTree(dirBefore) ? dirBefore : m_root);
        }
    }

    QCoreApplication::processEvents();

    if (m_fx.ended) {
        // The program ended (a close box of the main window or the start screen): run it again.
        m_fx.restart();
        m_fx.start();
        ++m_counts.restarts;
        note(QStringLiteral("restart"));
    }

    checkStepWrites();

    m_counts.messages += static_cast<int>(m_fx.messages.size());
    if (recordTrace)
        for (QString text : std::as_const(m_fx.messages))
            messages << text.replace(m_root, QStringLiteral("<root>"));
    m_fx.messages.clear();
}

void Monkey::click(const Open& w)
{
    QPoint local;
    QWidget* target = targetIn(w, local);
    const int b = below(20);
    const Qt::MouseButton button = b < 17 ? Qt::LeftButton : b < 19 ? Qt::RightButton : Qt::MiddleButton;
    const Qt::KeyboardModifiers mods = modifiers();
    note(QStringLiteral("click %1 b%2 m%3").arg(describe(w, target, local)).arg(int(button)).arg(int(mods)));
    if (opensOutside(target, local, false)) {
        sendMove(target, local, Qt::NoButton, mods);
        return;
    }
    QTest::mouseClick(target, button, mods, local);
}

void Monkey::moves(const Open& w)
{
    const int n = 1 + below(3);
    const Qt::KeyboardModifiers mods = modifiers();
    for (int i = 0; i < n; ++i) {
        QPoint local;
        QWidget* target = targetIn(w, local);
        note(QStringLiteral("move %1 m%2").arg(describe(w, target, local)).arg(int(mods)));
        sendMove(target, local, Qt::NoButton, mods);
    }
}

// One notch of the wheel either way: scrolls the lists, moves the speed slider, steps the drive box.
void Monkey::wheel(const Open& w)
{
    QPoint local;
    QWidget* target = targetIn(w, local);
    const Qt::KeyboardModifiers mods = modifiers();
    const int delta = below(2) ? 120 : -120;
    note(QStringLiteral("wheel %1 %2 m%3").arg(describe(w, target, local)).arg(delta).arg(int(mods)));
    QWheelEvent e(QPointF(local), QPointF(target->mapToGlobal(local)), QPoint(), QPoint(0, delta), Qt::NoButton, mods,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &e);
}

void Monkey::doubleClick(const Open& w)
{
    QPoint local;
    QWidget* target = targetIn(w, local);
    const Qt::KeyboardModifiers mods = modifiers();
    note(QStringLiteral("double-click %1 m%2").arg(describe(w, target, local)).arg(int(mods)));
    if (opensOutside(target, local, true)) {
        note(QStringLiteral("single click instead"));
        QTest::mouseClick(target, Qt::LeftButton, mods, local);
        return;
    }
    // The sequence the window system delivers: press, release, double-click, release.
    QPointer<QWidget> guard(target);
    QTest::mouseClick(target, Qt::LeftButton, mods, local);
    if (!guard || !target->isVisible()) {
        // The first click hid the window: the second press lands on whatever lies behind.
        return;
    }
    QTest::mouseDClick(target, Qt::LeftButton, mods, local);
    QTest::mouseRelease(target, Qt::LeftButton, mods, local);
}

void Monkey::drag(const Open& w)
{
    QPoint local;
    QWidget* target = targetIn(w, local);
    const Qt::KeyboardModifiers mods = modifiers();
    const int n = 1 + below(4);
    std::vector<QPoint> path;
    for (int i = 0; i < n; ++i)
        path.push_back(notNull(target->mapFrom(w.top, QPoint(below(w.top->width()), below(w.top->height()))), target));
    note(QStringLiteral("drag %1 to %2,%3 m%4").arg(describe(w, target, local)).arg(path.back().x()).arg(path.back().y()).arg(int(mods)));
    if (opensOutside(target, local, false) || opensOutside(target, path.back(), false))
        return;
    // The pressed widget keeps the mouse until the release, wherever the pointer goes.
    QTest::mousePress(target, Qt::LeftButton, mods, local);
    for (QPoint p : path)
        sendMove(target, p, Qt::LeftButton, mods);
    QTest::mouseRelease(target, Qt::LeftButton, mods, path.back());
}

void Monkey::key(const Open& w)
{
    QWidget* target = w.top->focusWidget();
    if (!target || !target->isVisible() || chance(40)) {
        const std::vector<QWidget*> controls = visibleControls(w.top);
        target = controls.empty() ? w.top : controls[static_cast<std::size_t>(below(static_cast<int>(controls.size())))];
    }
    const Qt::KeyboardModifiers mods = modifiers();
    const int r = below(100);
    Qt::Key key;
    char letter = 0;
    if (r < 20)
        key = Qt::Key_P;
    else if (r < 28)
        key = Qt::Key_Shift;
    else if (r < 38)
        key = below(2) ? Qt::Key_Return : Qt::Key_Enter;
    else if (r < 60) {
        letter = kLettersAndDigits[below(static_cast<int>(std::size(kLettersAndDigits)) - 1)];
        key = Qt::Key_unknown;
    } else {
        key = kOtherKeys[below(static_cast<int>(std::size(kOtherKeys)))];
    }
    note(QStringLiteral("key %1 %2 m%3").arg(describe(w, target, QPoint())).arg(letter ? int(letter) : int(key)).arg(int(mods)));

    // Enter in the folder list opens its current entry: never one outside the tree.
    if (m_fx.forms().form3Exists() && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        auto* list = static_cast<QListWidget*>(m_fx.forms().form3().Dir1.widget());
        if ((target == list || target == list->viewport()) && !insideTree(entryPath(list->currentRow()))) {
            note(QStringLiteral("down instead"));
            key = Qt::Key_Down;
        }
    }
    if (letter)
        QTest::keyClick(target, letter, mods);
    else
        QTest::keyClick(target, key, mods);
}

void Monkey::type(const Open& w)
{
    std::vector<QLineEdit*> boxes;
    for (QLineEdit* e : w.top->findChildren<QLineEdit*>())
        if (e->isVisible() && e->isEnabled())
            boxes.push_back(e);
    if (boxes.empty()) {
        key(w);
        return;
    }
    QLineEdit* box = boxes[static_cast<std::size_t>(below(static_cast<int>(boxes.size())))];
    const int n = 1 + below(6);
    QString typed;
    for (int i = 0; i < n; ++i)
        typed += kTypeable.at(below(static_cast<int>(kTypeable.size())));
    const bool shift = chance(15);
    const bool enter = chance(25);
    note(QStringLiteral("type %1 \"%2\" s%3 e%4").arg(describe(w, box, QPoint()), typed).arg(int(shift)).arg(int(enter)));
    const Qt::KeyboardModifiers mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
    for (const QChar c : std::as_const(typed)) {
        if (c.unicode() < 128)
            QTest::keyClick(box, static_cast<char>(c.unicode()), mods);
        else
            QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), mods);
    }
    if (enter)
        QTest::keyClick(box, Qt::Key_Return);
}

void Monkey::tick()
{
    const int r = below(10);
    int ms;
    if (r < 4)
        ms = 16;
    else if (r < 6)
        ms = 1 + below(15);
    else if (r < 8)
        ms = 16 * (2 + below(7));
    else if (r < 9)
        ms = 100;
    else
        ms = 200 + below(801);
    note(QStringLiteral("tick %1").arg(ms));
    beforeClockMoves();
    m_fx.advance(ms);
}

void Monkey::whileBoxWaits()
{
    if (chance(30)) {
        note(QStringLiteral("box: melody ends"));
        ++m_counts.boxEvents;
        m_fx.endMelodyNow();
    }
    if (chance(50)) {
        const int ticks = 1 + below(8);
        note(QStringLiteral("box: %1 ticks").arg(ticks));
        ++m_counts.boxEvents;
        beforeClockMoves();
        m_fx.tick(ticks);
    }
}

void Monkey::menuCommand()
{
    Form1& f1 = m_fx.form1();
    std::vector<QAction*> actions;
    std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& list) {
        for (QAction* a : list) {
            actions.push_back(a);
            if (a->menu())
                walk(a->menu()->actions());
        }
    };
    walk(f1.menuBar()->actions());
    QAction* a = actions[static_cast<std::size_t>(below(static_cast<int>(actions.size())))];
    note(QStringLiteral("menu ") + a->text());
    if (a == f1.save.action()) {
        recordTarget(m_fx.forms().form3().Dir1.path() + QStringLiteral("/save.dbs"));
        ++m_counts.gameSaves;
    }
    a->trigger();
}

void Monkey::closeBox(const Open& w)
{
    note(QStringLiteral("close ") + w.name);
    if (w.name == QLatin1String("Form1")) {
        recordTarget(m_fx.forms().form3().Dir1.path() + QStringLiteral("/config.cfg"));
        ++m_counts.settingsWrites;
    }
    w.top->close();
}

// The hidden level-jump dialog opens on the word "vorp" in the hint line and a Shift-press on the
// paddle: a sequence random keys would almost never produce.
void Monkey::levelJumpWord()
{
    Form1& f1 = m_fx.form1();
    QWidget* deck = f1.deck.widget();
    const QPoint at = notNull(QPoint(below(deck->width()), below(deck->height())), deck);
    note(QStringLiteral("level-jump word @%1,%2").arg(at.x()).arg(at.y()));
    QTest::keyClick(f1.Text1.widget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(f1.Text1.widget(), QStringLiteral("vorp"));
    QTest::mouseClick(deck, Qt::LeftButton, Qt::ShiftModifier, at);
}

// Opens a folder of the tree from the folder list: a double-click on its entry, or a click and Enter.
void Monkey::openFolder()
{
    auto* list = static_cast<QListWidget*>(m_fx.forms().form3().Dir1.widget());
    std::vector<int> rows;
    for (int row = 0; row < list->count(); ++row)
        if (insideTree(entryPath(row)))
            rows.push_back(row);
    if (rows.empty()) {
        problem(QStringLiteral("the folder list shows no folder of the tree"));
        return;
    }
    const int row = rows[static_cast<std::size_t>(below(static_cast<int>(rows.size())))];
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    const QPoint at = notNull(list->visualItemRect(item).center(), list->viewport());
    const bool byKey = chance(40);
    note(QStringLiteral("folder \"%1\" by %2")
             .arg(QDir(m_root).relativeFilePath(entryPath(row)), byKey ? QStringLiteral("enter") : QStringLiteral("double-click")));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    if (byKey) {
        QTest::keyClick(list, Qt::Key_Return);
        return;
    }
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

void Monkey::chooseDrive()
{
    QWidget* box = m_fx.forms().form3().Drive1.widget();
    const Qt::KeyboardModifiers mods = modifiers() & ~Qt::ControlModifier;
    if (chance(70)) {
        const Qt::Key key = kDriveKeys[below(static_cast<int>(std::size(kDriveKeys)))];
        note(QStringLiteral("drive key %1").arg(int(key)));
        QTest::keyClick(box, key, mods);
        return;
    }
    const QPoint at = notNull(QPoint(below(box->width()), below(box->height())), box);
    note(QStringLiteral("drive click @%1,%2").arg(at.x()).arg(at.y()));
    QTest::mouseClick(box, Qt::LeftButton, mods, at);
}

void Monkey::pickFile()
{
    auto* list = static_cast<QListWidget*>(m_fx.forms().form3().File1.widget());
    if (list->count() == 0) {
        note(QStringLiteral("file: none"));
        return;
    }
    const int row = below(list->count());
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    const QPoint at = notNull(list->visualItemRect(item).center(), list->viewport());
    const Qt::KeyboardModifiers mods = chance(80) ? Qt::NoModifier : modifiers();
    note(QStringLiteral("file %1 m%2").arg(item->text()).arg(int(mods)));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, mods, at);
}

} // namespace monkey
