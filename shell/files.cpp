#include "shell/files.h"

#include <QFileInfo>
#include <QSaveFile>

namespace shell {

bool writeFileWhole(const QString& path, const QByteArray& data)
{
    if (path.isEmpty() || QFileInfo(path).isDir())
        return false;
    QSaveFile out(path);
    out.setDirectWriteFallback(true); // only used when no temporary file can be created beside it
    if (!out.open(QIODevice::WriteOnly))
        return false;
    if (out.write(data) != data.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

QString joinPath(const QString& folder, const QString& separator, const QString& name)
{
    QString sep = separator;
    sep.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return folder + sep + name;
}

} // namespace shell
