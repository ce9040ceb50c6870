#include "launch/play_folder.h"

#include "messages/file_messages.h"
#include "shell/files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace launch {

QString shippedFiles(const QString& binaryFolder, const QString& relative)
{
    // The binary's folder is a canonical path, so ".." may be taken away by the letter.
    const QFileInfo shipped(QDir::cleanPath(QDir(binaryFolder).filePath(relative)));
    return shipped.isDir() ? shipped.canonicalFilePath() : QString();
}

QString playersFolder(const QString& xdgDataHome, const QString& home)
{
    if (QDir::isAbsolutePath(xdgDataHome))
        return QDir::cleanPath(xdgDataHome + QStringLiteral("/plinkat"));
    if (home.isEmpty())
        return {};
    return QDir::cleanPath(home + QStringLiteral("/.local/share/plinkat"));
}

QString preparePlayFolder(const QString& folder, const QString& shipped)
{
    const QString failed = QStringLiteral("Не удалось подготовить папку игры %1:\n").arg(folder);
    if (!QDir().mkpath(folder))
        return failed + QStringLiteral("папку нельзя создать.");
    if (shipped.isEmpty())
        return {};
    const QDir from(shipped), to(folder);
    QDirIterator it(shipped, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString name = from.relativeFilePath(source);
        const QString target = to.filePath(name);
        const QFileInfo there(target);
        if (there.exists() || there.isSymLink()) // also a link to nowhere: never written through
            continue;
        if (!QDir().mkpath(there.path()))
            return failed + QStringLiteral("нельзя создать папку %1.").arg(there.path());
        QFile in(source);
        const QByteArray data = in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
        if (in.error() != QFile::NoError)
            return failed + QStringLiteral("нельзя прочитать файл игры %1.").arg(source);
        // A copy the disk did not confirm is in place; were it lost, the next start copies it again.
        if (const shell::WriteResult written = shell::writeFileWhole(target, data); !written.inPlace())
            return failed + QStringLiteral("нельзя записать файл %1. ").arg(name) + messages::writeFailureReason(written.error);
    }
    return {};
}

} // namespace launch
