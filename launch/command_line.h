#pragma once
// The game's command line: the play folder, the help and the version.
#include <QString>
#include <QStringList>

namespace launch {

struct CommandLine {
    enum class Action { Play, Help, Version, Wrong };
    Action action = Action::Play;
    QString folder; // the value of --folder; empty when it was not given
    QString error;  // for Wrong: what is wrong, naming the argument as it was typed
};

// Reads the arguments (the program's name first). Qt's own options for the windows and the
// session (-platform, -display, -session <id> and the like, with their values) are left alone for
// the application object, which reads them itself. A word after one dash is an option as after
// two, as with Qt's options: -folder, -help, -version.
CommandLine readCommandLine(const QStringList& arguments);

// What --help prints: the program's name as it was started, and the folder a game without
// --folder plays in with whether the shipped files are copied into it.
QString helpText(const QString& program, const QString& defaultFolder, bool copiesShippedFiles);

// What --version prints.
QString versionText();

} // namespace launch
