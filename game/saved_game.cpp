// The saved game: the level number in save.dbs in the working folder (files/save_dbs.h).
//
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
#include "files/save_dbs.h"
#include "game/form1.h"
#include "messages/file_messages.h"
#include "shell/basic.h"
#include "shell/files.h"
#include "shell/program.h"

namespace {

QString levelMessage(float level)
{
    return QStringLiteral("уровень  - ") + shell::numText(level);
}

} // namespace

void Form1::save_Click()
{
    file = save_dbs::kFileName;
    const QString path = workingFolder() + QStringLiteral("/") + file;
    const float saved = level;
    shell::msgBox(path);
    const shell::WriteResult written = save_dbs::write(path, saved);
    if (!written)
        shell::msgBox(messages::saveWriteFailed(path, written));
    if (written.inPlace())
        shell::msgBox(levelMessage(saved));
}

void Form1::load_Click()
{
    file = save_dbs::kFileName;
    const QString path = workingFolder() + QStringLiteral("/") + file;
    shell::msgBox(path);

    const save_dbs::ReadResult stored = save_dbs::read(path);
    if (stored.status != save_dbs::ReadStatus::Ok) {
        shell::msgBox(messages::saveReadFailed(path, stored));
        return;
    }
    level = stored.level;
    shell::msgBox(levelMessage(level));
}
