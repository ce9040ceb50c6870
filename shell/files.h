#pragma once
// Whole-file writes and the joining of folders and file names.
#include <QByteArray>
#include <QString>

namespace shell {

// Writes the file whole. Where the folder allows it the data goes to a temporary file beside the
// target, which is then renamed over it, so a failed write never destroys what was there before.
// Where the folder forbids creating files but the file itself is writable (a shared play folder),
// the file is rewritten in place. Returns false, with nothing reported as done, when neither works.
bool writeFileWhole(const QString& path, const QByteArray& data);

// Joins a folder and a name with the handlers' separator ("/", "\" or "\music\"). The separator's
// "\" become "/"; the folder and the name are kept exactly, since "\" is an ordinary character in
// a file or folder name here.
QString joinPath(const QString& folder, const QString& separator, const QString& name);

} // namespace shell
