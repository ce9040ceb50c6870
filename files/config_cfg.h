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

} // namespace config_cfg
