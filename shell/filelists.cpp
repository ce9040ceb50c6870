#include "shell/filelists.h"

#include <QApplication>
#include <QBuffer>
#include <QCache>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QHelpEvent>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QThreadPool>
#include <QToolTip>
#include <atomic>

namespace shell {

namespace {

constexpr int kIndentPx = 10;         // one step of the folder list's indentation
constexpr int kDepthRole = Qt::UserRole + 1;

// A drive box that reads the mounted volumes afresh whenever the player opens it, so a volume
// mounted while the dialog is open shows up.
class DriveCombo : public QComboBox {
public:
    DriveCombo(DriveList& owner, QWidget* parent) : QComboBox(parent), m_owner(owner) {}

    void showPopup() override
    {
        m_owner.refresh();
        QComboBox::showPopup();
    }

private:
    DriveList& m_owner;
};

// Draws each entry of the folder list shifted right by its depth.
class IndentDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem shifted(option);
        shifted.rect.adjust(index.data(kDepthRole).toInt() * kIndentPx, 0, 0, 0);
        QStyledItemDelegate::paint(painter, shifted, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return QStyledItemDelegate::sizeHint(option, index) + QSize(index.data(kDepthRole).toInt() * kIndentPx, 0);
    }
};

QIcon standardIcon(QStyle::StandardPixmap which)
{
    return QApplication::style()->standardIcon(which);
}

} // namespace

// --- DriveList ---

DriveList::DriveList(Container& parent, float left, float top, float width, float height, const QString& folder)
    : Control(parent, new DriveCombo(*this, parent.surface()), left, top, width, height), m_drive(driveOf(folder))
{
    auto* box = static_cast<QComboBox*>(m_widget);
    refresh();
    QObject::connect(box, &QComboBox::activated, [this, box](int index) {
        if (index >= 0)
            setDrive(box->itemData(index).toString());
    });
}

QStringList DriveList::drives()
{
    QStringList others;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        const QString root = v.rootPath();
        if (v.isValid() && v.isReady() && root != QLatin1String("/") && QFileInfo(root).isDir() && !others.contains(root))
            others << root;
    }
    others.sort(Qt::CaseInsensitive);
    return QStringList{QStringLiteral("/")} + others;
}

QString DriveList::driveOf(const QString& folder)
{
    const QString root = QStorageInfo(folder).rootPath();
    return root.isEmpty() ? QStringLiteral("/") : root;
}

void DriveList::refresh()
{
    auto* box = static_cast<QComboBox*>(m_widget);
    const QSignalBlocker quiet(box);
    box->clear();
    QStringList roots = drives();
    if (!roots.contains(m_drive))
        roots << m_drive;
    for (const QString& root : roots)
        box->addItem(standardIcon(QStyle::SP_DriveHDIcon), root, root);
    box->setCurrentIndex(box->findData(m_drive));
}

void DriveList::showDrive(const QString& root)
{
    auto* box = static_cast<QComboBox*>(m_widget);
    const QSignalBlocker quiet(box);
    int i = box->findData(root);
    if (i < 0) {
        box->addItem(standardIcon(QStyle::SP_DriveHDIcon), root, root);
        i = box->count() - 1;
    }
    box->setCurrentIndex(i);
}

void DriveList::setDrive(const QString& root)
{
    showDrive(root);
    if (root == m_drive)
        return;
    m_drive = root;
    if (onChange)
        onChange();
}

void DriveList::restoreDrive(const QString& root)
{
    m_drive = root;
    showDrive(root);
}

// --- DirList ---

DirList::DirList(Container& parent, float left, float top, float width, float height, const QString& path)
    : Control(parent, new QListWidget(parent.surface()), left, top, width, height), m_path(QDir(path).absolutePath())
{
    auto* list = static_cast<QListWidget*>(m_widget);
    list->setItemDelegate(new IndentDelegate(list));
    list->setUniformItemSizes(true);
    // Double-click and Enter both activate an entry.
    QObject::connect(list, &QListWidget::itemActivated, [this, list](QListWidgetItem* item) { open(list->row(item)); });
    refresh();
}

bool DirList::isReadableFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

bool DirList::setPath(const QString& path)
{
    if (path.isEmpty() || !isReadableFolder(path))
        return false;
    const QString abs = QDir(path).absolutePath();
    const bool moved = abs != m_path;
    m_path = abs;
    refresh(); // the same folder is read afresh too
    if (moved && onChange)
        onChange();
    return true;
}

QStringList DirList::entries() const
{
    QStringList out;
    for (const QString& p : m_chain)
        out << (p == QLatin1String("/") ? p : QFileInfo(p).fileName());
    return out + m_subdirs;
}

QString DirList::pathOfEntry(int index) const
{
    if (index < 0)
        return {};
    if (index < m_chain.size())
        return m_chain.at(index);
    const int sub = index - static_cast<int>(m_chain.size());
    if (sub >= m_subdirs.size())
        return {};
    return QDir(m_path).filePath(m_subdirs.at(sub));
}

bool DirList::open(int index)
{
    const QString target = pathOfEntry(index);
    if (target.isEmpty())
        return false;
    if (setPath(target))
        return true;
    if (onRefused)
        onRefused(target);
    return false;
}

bool DirList::openEntry(const QString& name)
{
    const QStringList shown = entries();
    // Subfolders first: a subfolder may share its name with an ancestor.
    for (int i = static_cast<int>(shown.size()) - 1; i >= 0; --i)
        if (shown.at(i) == name)
            return open(i);
    return false;
}

void DirList::refresh()
{
    m_chain.clear();
    for (QDir d(m_path);; ) {
        m_chain.prepend(d.absolutePath());
        if (d.isRoot() || !d.cdUp())
            break;
    }
    m_subdirs = QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);

    auto* list = static_cast<QListWidget*>(m_widget);
    list->clear();
    const QStringList shown = entries();
    const QIcon open = standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = standardIcon(QStyle::SP_DirClosedIcon);
    for (int i = 0; i < shown.size(); ++i) {
        const bool inChain = i < m_chain.size();
        auto* item = new QListWidgetItem(inChain ? open : closed, shown.at(i), list);
        item->setData(kDepthRole, inChain ? i : static_cast<int>(m_chain.size()));
        item->setToolTip(pathOfEntry(i));
    }
    // The current folder is the highlighted entry, as in the classic list.
    list->setCurrentRow(static_cast<int>(m_chain.size()) - 1);
}

// --- FileList previews ---
//
// The rows in view (and a few around them) are looked at on one worker thread: the file's
// modification time and size are compared with the cached picture's, and the reader runs only
// when they differ or nothing is cached. Results come back as queued calls on m_context. Every
// fill of the list starts a new listing; a result of an earlier listing is dropped, so a read for
// a file no longer listed changes nothing. When the list goes, the worker's running read is
// waited for and the results still queued go with m_context.

namespace {

constexpr int kRowsAround = 4;         // rows read beyond those in view, for a short scroll
constexpr int kCachedPreviews = 2000;  // pictures kept; the least recently used go first

// What identifies a file's content for the cache: a rewritten file has a new time or size.
struct Stamp {
    qint64 modified = -1; // milliseconds since the epoch; -1 when the file does not exist
    qint64 size = -1;
    bool operator==(const Stamp&) const = default;
};

Stamp stampOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {info.lastModified().toMSecsSinceEpoch(), info.size()};
}

} // namespace

class FileList::Previews {
    struct Entry {
        Stamp stamp;
        PixmapSource paint; // empty: the file has no picture
        QPixmap icon;       // painted when first shown, at the pixel ratio it was shown at
    };
    struct Result {
        int listing = 0;
        int row = 0;
        QString path;
        std::shared_ptr<std::atomic_bool> dropped;
        bool looked = false; // false when the read was dropped before it started
        bool read = false;   // the reader ran: the file is new or changed
        Stamp stamp;
        PixmapSource paint;
    };

    // Keeps the picture's place in every row, so that names line up and rows keep their height
    // when a picture arrives, with a pixel of air above and below it; draws the picture itself,
    // untinted by the selection.
    class Delegate : public QStyledItemDelegate {
    public:
        explicit Delegate(Previews& previews) : m_previews(previews) {}

        QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
        {
            return QStyledItemDelegate::sizeHint(option, index) + QSize(0, 2);
        }

        void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
        {
            QStyledItemDelegate::paint(painter, option, index);
            const QPixmap icon = m_previews.icon(index.row(), painter->device()->devicePixelRatio());
            if (icon.isNull())
                return;
            QStyleOptionViewItem opt(option);
            initStyleOption(&opt, index);
            const QStyle* style = opt.widget ? opt.widget->style() : QApplication::style();
            painter->drawPixmap(style->subElementRect(QStyle::SE_ItemViewItemDecoration, &opt, opt.widget).topLeft(), icon);
        }

        bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                       const QModelIndex& index) override
        {
            if (event->type() == QEvent::ToolTip && index.isValid()) {
                const QString tip = m_previews.toolTip(index.row());
                if (!tip.isEmpty()) {
                    QToolTip::showText(event->globalPos(), tip, view->viewport(), option.rect);
                    return true;
                }
            }
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        }

    protected:
        void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
        {
            QStyledItemDelegate::initStyleOption(option, index);
            option->features |= QStyleOptionViewItem::HasDecoration;
            option->decorationSize = m_previews.iconSize();
        }

    private:
        Previews& m_previews;
    };

    // Asks again when the list is shown, resized or scrolled.
    class Context : public QObject {
    public:
        explicit Context(Previews& previews) : m_previews(previews) {}
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Show || event->type() == QEvent::Resize)
                m_previews.schedule();
            return false;
        }

    private:
        Previews& m_previews;
    };

public:
    Previews(FileList& owner, PreviewReader reader, QSize iconSize, QSize tipSize)
        : m_owner(owner), m_reader(std::move(reader)), m_iconSize(iconSize), m_tipSize(tipSize)
    {
        m_pool.setMaxThreadCount(1);
        QListWidget* list = m_owner.listWidget();
        list->setItemDelegate(&m_delegate);
        list->viewport()->installEventFilter(&m_context);
        QObject::connect(list->verticalScrollBar(), &QScrollBar::valueChanged, &m_context, [this] { schedule(); });
    }

    ~Previews()
    {
        m_pool.clear();
        for (const auto& flag : std::as_const(m_pending))
            *flag = true;
        m_pool.waitForDone(); // the read that runs now, if any
    }

    // The list was filled afresh: reads under way no longer matter.
    void refilled()
    {
        ++m_listing;
        for (const auto& flag : std::as_const(m_pending))
            *flag = true;
        m_pending.clear();
        m_checked.clear();
        schedule();
    }

    void schedule()
    {
        if (m_scheduled)
            return;
        m_scheduled = true;
        QMetaObject::invokeMethod(&m_context, [this] { askForRowsInView(); }, Qt::QueuedConnection);
    }

    // The picture beside a row, painted once for each pixel ratio; null when it has none (yet).
    QPixmap icon(int row, qreal dpr)
    {
        Entry* entry = entryOf(row);
        if (!entry || !entry->paint)
            return {};
        if (entry->icon.isNull() || entry->icon.devicePixelRatio() != dpr)
            entry->icon = entry->paint(m_iconSize, dpr);
        return entry->icon;
    }

    // The file's name over its picture at tipSize, or nothing when it has none.
    QString toolTip(int row)
    {
        Entry* entry = entryOf(row);
        if (!entry || !entry->paint)
            return {};
        QListWidget* list = m_owner.listWidget();
        QByteArray png;
        QBuffer out(&png);
        out.open(QIODevice::WriteOnly);
        entry->paint(m_tipSize, list->devicePixelRatio()).save(&out, "PNG");
        return QStringLiteral("<p style=\"white-space:pre\">%1<br>"
                              "<img src=\"data:image/png;base64,%2\" width=\"%3\" height=\"%4\"></p>")
            .arg(list->item(row)->text().toHtmlEscaped(), QString::fromLatin1(png.toBase64()))
            .arg(m_tipSize.width())
            .arg(m_tipSize.height());
    }

    // Asks for the rows in view, waits for the worker and delivers its results, until nothing
    // more is asked for.
    void waitUntilShown()
    {
        do {
            askForRowsInView();
            m_pool.waitForDone();
            QCoreApplication::sendPostedEvents(&m_context, QEvent::MetaCall);
        } while (m_inFlight > 0 || m_scheduled);
    }

    QSize iconSize() const { return m_iconSize; }

private:
    // First and last row that the viewport shows (last < first when none). Rows run down the
    // list in order.
    std::pair<int, int> rowsInView() const
    {
        QListWidget* list = m_owner.listWidget();
        const int count = list->count();
        int lo = 0;
        int hi = count;
        while (lo < hi) { // the first row whose bottom is in view or below it
            const int mid = (lo + hi) / 2;
            if (list->visualItemRect(list->item(mid)).bottom() < 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        const int height = list->viewport()->height();
        int last = lo - 1;
        while (last + 1 < count && list->visualItemRect(list->item(last + 1)).top() < height)
            ++last;
        return {lo, last};
    }

    void askForRowsInView()
    {
        m_scheduled = false;
        QListWidget* list = m_owner.listWidget();
        if (!list->isVisible())
            return;
        auto [first, last] = rowsInView();
        if (last < first)
            return;
        first = std::max(0, first - kRowsAround);
        last = std::min(list->count() - 1, last + kRowsAround);
        // Reads that have not started for rows scrolled far away are dropped.
        for (auto it = m_pending.begin(); it != m_pending.end();) {
            if (it.key() < first || it.key() > last) {
                *it.value() = true;
                it = m_pending.erase(it);
            } else {
                ++it;
            }
        }
        for (int row = first; row <= last; ++row)
            if (!m_pending.contains(row) && (!m_checked.contains(row) || !m_cache.contains(m_owner.pathOf(row))))
                ask(row);
    }

    void ask(int row)
    {
        Result job;
        job.listing = m_listing;
        job.row = row;
        job.path = m_owner.pathOf(row);
        job.dropped = std::make_shared<std::atomic_bool>(false);
        const Entry* cached = m_cache.object(job.path);
        const std::optional<Stamp> known = cached ? std::optional(cached->stamp) : std::nullopt;
        m_pending.insert(row, job.dropped);
        ++m_inFlight;
        m_pool.start([this, job = std::move(job), known, read = m_reader]() mutable {
            if (!*job.dropped) {
                job.looked = true;
                job.stamp = stampOf(job.path);
                if (job.stamp != known) {
                    job.read = true;
                    job.paint = read(job.path);
                }
            }
            // `m_context` outlives every job: the destructor waits for the pool first.
            QMetaObject::invokeMethod(&m_context, [this, job = std::move(job)] { deliver(job); }, Qt::QueuedConnection);
        });
    }

    void deliver(const Result& result)
    {
        --m_inFlight;
        if (result.listing != m_listing)
            return;
        if (m_pending.value(result.row) == result.dropped)
            m_pending.remove(result.row);
        if (!result.looked)
            return;
        m_checked.insert(result.row);
        if (!result.read) {
            if (!m_cache.contains(result.path))
                schedule(); // dropped from the cache meanwhile: read it again
            return;
        }
        m_cache.insert(result.path, new Entry{result.stamp, result.paint, {}});
        QListWidget* list = m_owner.listWidget();
        list->update(list->model()->index(result.row, 0));
    }

    Entry* entryOf(int row)
    {
        const QString path = m_owner.pathOf(row);
        return path.isEmpty() ? nullptr : m_cache.object(path);
    }

    FileList& m_owner;
    const PreviewReader m_reader;
    const QSize m_iconSize;
    const QSize m_tipSize;
    QCache<QString, Entry> m_cache{kCachedPreviews};
    int m_listing = 0;       // how many times the list has been filled
    QSet<int> m_checked;     // rows of this listing whose file has been looked at
    QHash<int, std::shared_ptr<std::atomic_bool>> m_pending; // rows being looked at: their drop flags
    int m_inFlight = 0;      // reads started and not yet delivered, of any listing
    bool m_scheduled = false;
    Delegate m_delegate{*this};
    Context m_context{*this};
    QThreadPool m_pool;
};

// --- FileList ---

FileList::FileList(Container& parent, float left, float top, float width, float height, const QString& path)
    : Control(parent, new QListWidget(parent.surface()), left, top, width, height), m_path(QDir(path).absolutePath())
{
    static_cast<QListWidget*>(m_widget)->setSelectionMode(QAbstractItemView::SingleSelection);
    fill();
}

FileList::~FileList()
{
    // The list and its delegate go before the previews they show.
    delete m_widget;
    m_widget = nullptr;
}

void FileList::setPath(const QString& path)
{
    m_path = QDir(path).absolutePath();
    fill();
}

void FileList::setPattern(const QString& pattern)
{
    m_pattern = pattern;
    fill();
}

QStringList FileList::scan() const
{
    // "*.*" is every file, as on the systems the pattern comes from; names need no dot.
    const QString filter = m_pattern == QLatin1String("*.*") ? QStringLiteral("*") : m_pattern;
    return QDir(m_path).entryList({filter}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

QStringList FileList::files() const
{
    QStringList out;
    auto* list = static_cast<QListWidget*>(m_widget);
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

QString FileList::fileName() const
{
    auto* item = static_cast<QListWidget*>(m_widget)->currentItem();
    return item && item->isSelected() ? item->text() : QString();
}

void FileList::select(const QString& name)
{
    auto* list = static_cast<QListWidget*>(m_widget);
    const auto found = list->findItems(name, Qt::MatchExactly);
    if (found.isEmpty()) {
        list->clearSelection();
        list->setCurrentRow(-1);
        return;
    }
    list->setCurrentItem(found.first());
    found.first()->setSelected(true);
}

// A new folder or pattern starts with nothing selected.
void FileList::fill()
{
    auto* list = static_cast<QListWidget*>(m_widget);
    list->clear();
    list->addItems(scan());
    if (m_previews)
        m_previews->refilled();
}

QString FileList::pathOf(int row) const
{
    const QListWidgetItem* item = listWidget()->item(row);
    return item ? QDir(m_path).filePath(item->text()) : QString();
}

void FileList::refresh()
{
    const QString keep = fileName();
    fill();
    if (!keep.isEmpty())
        select(keep);
}

// Previews of the list.

QListWidget* FileList::listWidget() const
{
    return static_cast<QListWidget*>(m_widget);
}

void FileList::setPreviewReader(PreviewReader reader, QSize iconSize, QSize tipSize)
{
    // The new previews take over the list before the old ones go.
    m_previews = std::make_unique<Previews>(*this, std::move(reader), iconSize, tipSize);
    m_previews->schedule();
}

QPixmap FileList::preview(const QString& name) const
{
    const auto found = listWidget()->findItems(name, Qt::MatchExactly);
    if (!m_previews || found.isEmpty())
        return {};
    return m_previews->icon(listWidget()->row(found.first()), listWidget()->devicePixelRatio());
}

void FileList::waitForPreviews()
{
    if (m_previews)
        m_previews->waitUntilShown();
}

} // namespace shell
