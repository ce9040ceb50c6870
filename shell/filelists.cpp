#include "shell/filelists.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QStorageInfo>
#include <QStyle>
#include <QStyledItemDelegate>

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
    m_previews = std::make_unique<FilePreviews>(*listWidget(), [this](int row) { return pathOf(row); },
                                                std::move(reader), iconSize, tipSize);
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
