// The saved game: the level number in save.dbs in the working folder.
//
// save.dbs holds one line: the level in print form, then CR LF (level 4 is " 4 \r\n").
// Both commands first show the file's full path, then the level. They change nothing but
// `level` (and `file`): play, the ball, the paddle, the score and the cells go on as they were.
// The path and the level saved are taken when the command is chosen: while the path box waits
// the game goes on behind it, and its handlers may change `file` and `level` meanwhile.
//
// A save is written whole, so a failed save (a full or read-only disk, a disk error, a folder
// gone) keeps every byte of the old file and tells the player why instead of reporting the
// level: the level box comes only when the save is on disk. A save the disk did not confirm is
// on disk: the box that says so comes first, then the level box. A load that finds no file, cannot
// read it, or finds no number at the start of the file, keeps the current level and says so.
#include "game/form1.h"
#include "shell/basic.h"
#include "shell/files.h"
#include "shell/program.h"

#include <cerrno>

namespace {

const QString kSaveName = QStringLiteral("save.dbs");

QString levelMessage(float level)
{
    return QStringLiteral("уровень  - ") + shell::numText(level);
}

} // namespace

void Form1::save_Click()
{
    file = kSaveName;
    const QString path = workingFolder() + QStringLiteral("/") + file;
    const float saved = level;
    shell::msgBox(path);
    const QByteArray text = (shell::printForm(saved) + QStringLiteral("\r\n")).toLatin1();
    const shell::WriteResult written = shell::writeFileWhole(path, text);
    if (!written)
        shell::msgBox(shell::writeFailedMessage(QStringLiteral("Не удалось сохранить игру"), path, written));
    if (written.inPlace())
        shell::msgBox(levelMessage(saved));
}

void Form1::load_Click()
{
    file = kSaveName;
    const QString path = workingFolder() + QStringLiteral("/") + file;
    shell::msgBox(path);

    shell::ReadFile in(path);
    if (in.missing() || in.error() == EISDIR) {
        shell::msgBox(QStringLiteral("Сохранённой игры нет: ") + path);
        return;
    }
    float stored = 0;
    shell::FreeFormReader reader(in);
    const bool read = in.error() == 0 && reader.next(stored) == shell::FreeFormReader::Status::Number;
    if (in.error() != 0) {
        shell::msgBox(shell::readFailedMessage(QStringLiteral("Не удалось прочитать сохранение"), path, in.error()));
        return;
    }
    if (!read) {
        shell::msgBox(QStringLiteral("В сохранении нет номера уровня: ") + path);
        return;
    }
    level = stored;
    shell::msgBox(levelMessage(level));
}
