#pragma once
// The player's words about the game's files: why a read or a write failed, and what each file's
// failure tells. Russian, one message a box; the windows and the launcher show them, the files'
// readers and writers (files/, shell/files.h) only hand back what happened.
#include "files/config_cfg.h"
#include "files/map_dbm.h"
#include "files/records_txt.h"
#include "files/save_dbs.h"
#include "files/sound_cfg.h"
#include "shell/files.h"

#include <QString>

namespace messages {

// The reason of a failed read or write (an errno, or WriteResult::kNotWritten): one sentence.
QString readFailureReason(int error);
QString writeFailureReason(int error);

// The whole message for a write that did not go as it should: `what` names the file for the
// player ("Не удалось сохранить настройки"), then the path, why, and what became of the file. A
// write whose new file is in place but not confirmed by the disk is told the same way for every
// file, with no `what`: the file is written.
QString writeFailed(const QString& what, const QString& path, const shell::WriteResult& result);
// The same for a failed read.
QString readFailed(const QString& what, const QString& path, int error);

// config.cfg, when it could not be read (r.error) or is damaged. A file that could not be read is
// not written at the end either: the values it holds are not lost to the design values that stood
// in for them.
QString configReadProblem(const QString& path, const config_cfg::ReadResult& r);
QString configWriteFailed(const QString& path, const shell::WriteResult& result);

// save.dbs, by what the load found (not Ok), and a save that failed.
QString saveReadFailed(const QString& path, const save_dbs::ReadResult& r);
QString saveWriteFailed(const QString& path, const shell::WriteResult& result);

// A map, by what its read found (not Ok), and a map save that failed.
QString mapReadFailed(map_dbm::ReadStatus status, const QString& path, int error = 0);
QString mapWriteFailed(const QString& path, const shell::WriteResult& result);

// What the player is told of a run of this score that entered the records: the hint line, and the
// box when records.txt does not hold it or the disk did not confirm it (empty otherwise). Both are
// decided here, so that they agree.
struct RecordNotice {
    QString hint;
    QString box;
};
RecordNotice recordNotice(float score, const QString& path, const records_txt::Kept& kept);

// view.cfg, when a choice of the menu "вид" could not be written.
QString viewWriteFailed(const QString& path, const shell::WriteResult& result);

// sound.cfg, damaged or unreadable (r.damaged()), and a choice of the menu "звук" not written.
QString soundReadProblem(const QString& path, const sound_cfg::ReadResult& r);
QString soundWriteFailed(const QString& path, const shell::WriteResult& result);

} // namespace messages
