#include "shell/file_previews.h"

#include <QApplication>
#include <QBuffer>
#include <QDateTime>
#include <QFileInfo>
#include <QHelpEvent>
#include <QListWidget>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolTip>
#include <optional>

// The rows in view (and a few around them) are looked at on one worker thread: the file's
// modification time and size are compared with the cached picture's, and the reader runs only
// when they differ or nothing is cached. Results come back as queued calls on m_context. Every
// fill of the list starts a new listing; a result of an earlier listing is dropped, so a read for
// a file no longer listed changes nothing. When the previews go, the worker's running read is
// waited for and the results still queued go with m_context.

namespace shell {

namespace {

constexpr int kRowsAround = 4;         // rows read beyond those in view, for a short scroll
constexpr int kCachedPreviews = 2000;  // pictures kept; the least recently used go first

} // namespace

// Keeps the picture's place in every row, so that names line up and rows keep their height
// when a picture arrives, with a pixel of air above and below it; draws the picture itself,
// untinted by the selection.
class FilePreviews::Delegate : public QStyledItemDelegate {
public:
    explicit Delegate(FilePreviews& previews) : m_previews(previews) {}

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
    FilePreviews& m_previews;
};

// Asks again when the list is shown, resized or scrolled.
class FilePreviews::Context : public QObject {
public:
    explicit Context(FilePreviews& previews) : m_previews(previews) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Show || event->type() == QEvent::Resize)
            m_previews.schedule();
        return false;
    }

private:
    FilePreviews& m_previews;
};

FilePreviews::FilePreviews(QListWidget& list, PathOfRow pathOf, PreviewReader reader, QSize iconSize, QSize tipSize)
    : m_list(list),
      m_pathOf(std::move(pathOf)),
      m_reader(std::move(reader)),
      m_iconSize(iconSize),
      m_tipSize(tipSize),
      m_cache(kCachedPreviews),
      m_delegate(std::make_unique<Delegate>(*this)),
      m_context(std::make_unique<Context>(*this))
{
    m_pool.setMaxThreadCount(1);
    m_list.setItemDelegate(m_delegate.get());
    m_list.viewport()->installEventFilter(m_context.get());
    QObject::connect(m_list.verticalScrollBar(), &QScrollBar::valueChanged, m_context.get(), [this] { schedule(); });
}

FilePreviews::~FilePreviews()
{
    m_pool.clear();
    for (const auto& flag : std::as_const(m_pending))
        *flag = true;
    m_pool.waitForDone(); // the read that runs now, if any
}

FilePreviews::Stamp FilePreviews::stampOf(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {info.lastModified().toMSecsSinceEpoch(), info.size()};
}

void FilePreviews::refilled()
{
    ++m_listing;
    for (const auto& flag : std::as_const(m_pending))
        *flag = true;
    m_pending.clear();
    m_checked.clear();
    schedule();
}

void FilePreviews::schedule()
{
    if (m_scheduled)
        return;
    m_scheduled = true;
    QMetaObject::invokeMethod(m_context.get(), [this] { askForRowsInView(); }, Qt::QueuedConnection);
}

QPixmap FilePreviews::icon(int row, qreal dpr)
{
    Entry* entry = entryOf(row);
    if (!entry || !entry->paint)
        return {};
    if (entry->icon.isNull() || entry->icon.devicePixelRatio() != dpr)
        entry->icon = entry->paint(m_iconSize, dpr);
    return entry->icon;
}

QString FilePreviews::toolTip(int row)
{
    Entry* entry = entryOf(row);
    if (!entry || !entry->paint)
        return {};
    QByteArray png;
    QBuffer out(&png);
    out.open(QIODevice::WriteOnly);
    entry->paint(m_tipSize, m_list.devicePixelRatio()).save(&out, "PNG");
    return QStringLiteral("<p style=\"white-space:pre\">%1<br>"
                          "<img src=\"data:image/png;base64,%2\" width=\"%3\" height=\"%4\"></p>")
        .arg(m_list.item(row)->text().toHtmlEscaped(), QString::fromLatin1(png.toBase64()))
        .arg(m_tipSize.width())
        .arg(m_tipSize.height());
}

void FilePreviews::waitUntilShown()
{
    do {
        askForRowsInView();
        m_pool.waitForDone();
        QCoreApplication::sendPostedEvents(m_context.get(), QEvent::MetaCall);
    } while (m_inFlight > 0 || m_scheduled);
}

// First and last row that the viewport shows (last < first when none). Rows run down the list
// in order.
std::pair<int, int> FilePreviews::rowsInView() const
{
    const int count = m_list.count();
    int lo = 0;
    int hi = count;
    while (lo < hi) { // the first row whose bottom is in view or below it
        const int mid = (lo + hi) / 2;
        if (m_list.visualItemRect(m_list.item(mid)).bottom() < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    const int height = m_list.viewport()->height();
    int last = lo - 1;
    while (last + 1 < count && m_list.visualItemRect(m_list.item(last + 1)).top() < height)
        ++last;
    return {lo, last};
}

void FilePreviews::askForRowsInView()
{
    m_scheduled = false;
    if (!m_list.isVisible())
        return;
    auto [first, last] = rowsInView();
    if (last < first)
        return;
    first = std::max(0, first - kRowsAround);
    last = std::min(m_list.count() - 1, last + kRowsAround);
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
        if (!m_pending.contains(row) && (!m_checked.contains(row) || !m_cache.contains(m_pathOf(row))))
            ask(row);
}

void FilePreviews::ask(int row)
{
    Result job;
    job.listing = m_listing;
    job.row = row;
    job.path = m_pathOf(row);
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
        QMetaObject::invokeMethod(m_context.get(), [this, job = std::move(job)] { deliver(job); }, Qt::QueuedConnection);
    });
}

void FilePreviews::deliver(const Result& result)
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
    m_list.update(m_list.model()->index(result.row, 0));
}

FilePreviews::Entry* FilePreviews::entryOf(int row)
{
    const QString path = m_pathOf(row);
    return path.isEmpty() ? nullptr : m_cache.object(path);
}

} // namespace shell
