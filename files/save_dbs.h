#pragma once
// save.dbs: the saved game, the level number alone on one line in print form, then CR LF
// (level 4 is " 4 \r\n"). Reading takes the first number of the file, separated as the map files'
// numbers are; what follows it is not read.
#include "files/game_files.h"
#include "shell/files.h"

#include <QByteArray>
#include <QString>

class QIODevice;

namespace save_dbs {

inline const QString kFileName = files::nameOf(files::GameFile::SaveDbs);

// Missing: no such file, or a folder. Unreadable: the file is there but could not be read (no
// permission, a read error, not a regular file); its errno goes to `error`. NoLevel: the file
// does not start with a number.
enum class ReadStatus { Ok, Missing, Unreadable, NoLevel };

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    float level = 0; // when Ok
    int error = 0;   // when Unreadable
};

ReadResult read(const QString& path);
// The same from an open device (Ok or NoLevel); the file reader and the fuzz target share it.
ReadResult read(QIODevice& in);

QByteArray text(float level);
// Writes the whole file (see shell::writeFileWhole): on failure the old file keeps every byte.
shell::WriteResult write(const QString& path, float level);

} // namespace save_dbs
