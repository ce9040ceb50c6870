#pragma once
// view.cfg beside config.cfg: how the game looks, one setting a line as "name value".
//
//   cell-marks on          off: the cells show their colour only (the default)
//   window-size 150        100, 150, 200 or fit (the largest size the screen holds)
//
// Reading is tolerant: a line with an unknown name or a value it does not know is skipped, and the
// last good line of a name counts. A missing, unreadable or odd file gives the defaults. The game
// writes the whole file again when a setting changes.
#include "files/game_files.h"
#include "shell/files.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace view_cfg {

inline const QString kFileName = files::nameOf(files::GameFile::ViewCfg);

// A window size: a percentage of the design size, or kFitScreen.
inline constexpr int kFitScreen = 0;
inline constexpr int kSizeChoices[] = {100, 150, 200, kFitScreen};

struct Values {
    bool cellMarks = false;
    int windowSize = 100;
    bool operator==(const Values&) const = default;
};

Values parse(QByteArrayView text);
QByteArray text(const Values& v); // one line per setting, LF ends
// The file's settings; only its first kMaxBytes count, and only a regular file is read.
Values read(const QString& path);
inline constexpr qsizetype kMaxBytes = 4096;
shell::WriteResult write(const QString& path, const Values& v);

} // namespace view_cfg
