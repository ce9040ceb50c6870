#pragma once
// config.cfg: the melody bound, the next melody and the ball speed, one line in print form.
//
// A missing file gives the design values (5, 1, 4) silently. A file with fewer than three
// numbers, or a token that is not a number, keeps the design value for each field it does not
// supply, and the caller tells the player once. A melody bound outside the 16-bit range counts
// as damaged too. The speed is clamped into 0..10, the range of the options slider.
#include "files/game_files.h"
#include "shell/files.h"

#include <QByteArray>
#include <QString>
#include <cstdint>

namespace config_cfg {

inline const QString kFileName = files::nameOf(files::GameFile::ConfigCfg);

struct Values {
    int16_t melodi = 5;
    float num = 1;
    float skor = 4;
};

struct ReadResult {
    Values values;
    bool missing = false; // no file: design values, nothing to report
    bool damaged = false; // some fields fell back to the design values
    int error = 0;        // errno when the file is there but could not be read (then damaged too)
};

ReadResult read(const QString& path);
QByteArray text(const Values& v); // " 5  1  4 " CR LF
shell::WriteResult write(const QString& path, const Values& v);

inline const QString kDamagedMessage =
    QStringLiteral("Файл настроек config.cfg повреждён: недостающие значения взяты по умолчанию.");
// What the player is told when the file could not be read (r.error) or is damaged. A file that
// could not be read is not written at the end either: the values it holds are not lost to the
// design values that stood in for them.
QString readProblemMessage(const QString& path, const ReadResult& r);
QString writeFailedMessage(const QString& path, const shell::WriteResult& result);

} // namespace config_cfg
