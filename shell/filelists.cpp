#include "shell/filelists.h"

#include <QDir>
#include <QListWidget>
#include <QComboBox>
#include <QStorageInfo>

namespace shell {

DriveList::DriveList(Container& parent, float left, float top, float width, float height)
    : Control(parent, new QComboBox(parent.surface()), left, top, width, height), m_drive(QStringLiteral("/"))
{
    auto* box = static_cast<QComboBox*>(m_widget);
    box->addItems(drives());
}

QStringList DriveList::drives() const
{
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes())
        if (v.isValid() && v.isReady() && !roots.contains(v.rootPath()))
            roots << v.rootPath();
    return roots;
}

void DriveList::setDrive(const QString& root)
{
    if (root == m_drive)
        return;
    m_drive = root;
    if (onChange)
        onChange();
}

DirList::DirList(Container& parent, float left, float top, float width, float height, const QString& path)
    : Control(parent, new QListWidget(parent.surface()), left, top, width, height), m_path(QDir(path).absolutePath())
{
    refresh();
}

bool DirList::setPath(const QString& path)
{
    const QDir dir(path);
    if (!dir.exists() || !dir.isReadable())
        return false;
    const QString abs = dir.absolutePath();
    if (abs == m_path)
        return true;
    m_path = abs;
    refresh();
    if (onChange)
        onChange();
    return true;
}

void DirList::refresh()
{
    auto* list = static_cast<QListWidget*>(m_widget);
    list->clear();
    list->addItems(QDir(m_path).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name));
}

FileList::FileList(Container& parent, float left, float top, float width, float height, const QString& path)
    : Control(parent, new QListWidget(parent.surface()), left, top, width, height), m_path(path)
{
    refresh();
}

void FileList::setPath(const QString& path) { m_path = path; refresh(); }
void FileList::setPattern(const QString& pattern) { m_pattern = pattern; refresh(); }

QStringList FileList::files() const
{
    return QDir(m_path).entryList({m_pattern}, QDir::Files, QDir::Name);
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
    if (!found.isEmpty())
        list->setCurrentItem(found.first());
}

void FileList::refresh()
{
    auto* list = static_cast<QListWidget*>(m_widget);
    list->clear();
    list->addItems(files());
}

} // namespace shell
