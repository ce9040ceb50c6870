#pragma once
// sound.cfg beside config.cfg: the player's sound choices, one setting a line as "name value".
//
//   music on               off: no melody plays (the default is on)
//   music-volume 100       0 .. 100 per cent of the melodies' own level
//   effect-volume 100      0 .. 100 per cent of the hit effect's own level
//
// A volume of 0 is a volume, not "off": the switch is its own line. Reading is tolerant: a line
// that is no known setting with a good value is skipped and noted, the last good line of a name
// counts, and blank lines are fine. A volume between two steps is taken to the nearer one. A
// missing file gives the defaults silently; one with skipped lines, a cut, or one that cannot be
// read gives the defaults where it falls short, and the player is told. The game writes the whole
// file again when a setting changes.
#include "files/game_files.h"
#include "shell/files.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <array>

namespace sound_cfg {

inline const QString kFileName = files::nameOf(files::GameFile::SoundCfg);

// Volumes go in steps of 10 %: the smallest change a player hears at once in a melody (under
// 1 dB at the top of the range, 6 dB and more below 50 %), and few enough choices to read at a
// glance.
inline constexpr int kVolumeStep = 10;
inline constexpr std::array<int, 11> kVolumeChoices = {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100};

struct Values {
    bool music = true;
    int musicVolume = 100;
    int effectVolume = 100;
    bool operator==(const Values&) const = default;
};

struct ReadResult {
    Values values;
    QList<int> badLines;  // 1-based numbers of the lines skipped
    bool cut = false;     // the file is longer than kMaxBytes; only its head was read
    int error = 0;        // errno when the file is there but could not be read
    bool missing = false; // no file: the defaults, nothing to tell
    bool damaged() const { return error != 0 || cut || !badLines.isEmpty(); }
};

ReadResult parse(QByteArrayView text);
QByteArray text(const Values& v); // one line per setting, LF ends
// The file's settings; only its first kMaxBytes count, and only a regular file is read.
ReadResult read(const QString& path);
inline constexpr qsizetype kMaxBytes = 4096;
shell::WriteResult write(const QString& path, const Values& v);

} // namespace sound_cfg
