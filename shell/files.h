#pragma once
// Whole-file writes: the data goes to a temporary file beside the target, which is then renamed
// over it, so a failed write never destroys what was there before.
#include <QByteArray>
#include <QString>

namespace shell {

// Returns false and leaves the target untouched when the file cannot be written.
bool writeFileWhole(const QString& path, const QByteArray& data);

// Joins a folder and a name with the given separator as the handlers do; "\" becomes "/".
QString joinPath(const QString& folder, const QString& separator, const QString& name);

} // namespace shell
