#pragma once
// The table of the ten best runs, kept in records.txt in the start-up folder.
//
// A run is the play from a score of 0 until the ball is lost (which resets the score) or the
// program ends. A run enters the table when its score is above 0 and beats the tenth entry, or
// the table has room; an equal score ranks below the older one, so the earlier player keeps the
// place.
//
// records.txt is UTF-8 text, one record per line: the score, the level the run reached, and the
// local date and time with its offset from UTC, separated by spaces:
//     1250 7 2026-12-08T22:41:05+01:00
// Lines starting with "#" are comments. Reading is tolerant: a line that is not a record (too
// few or too many fields, a field that is not a number or a date, a score not above 0) is
// skipped, and only the best ten of the rest are kept. The file is written whole.
#include "files/game_files.h"
#include "shell/files.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

namespace records_txt {

inline constexpr std::size_t kTableSize = 10;
inline const QString kFileName = files::nameOf(files::GameFile::RecordsTxt);

struct Record {
    float score = 0;
    float level = 0;
    QDateTime when;
    bool operator==(const Record&) const = default;
};

// Best first.
using Table = std::vector<Record>;

Table parse(const QByteArray& text);
QByteArray format(const Table& table);

// Puts a record where it ranks and drops what falls below the tenth place. Returns its place
// (0 is the best), or -1 when it does not enter the table (then the table is unchanged).
int insert(Table& table, const Record& record);

// The place of the record set last (the latest date and time), or -1 for an empty table.
int newest(const Table& table);

// The table as stored in a file. A missing file is an empty table; a file that exists but
// cannot be read whole (no permission, a read error) sets `readError`.
struct Stored {
    Table table;
    int readError = 0;
    bool readable() const { return readError == 0; }
};
Stored read(const QString& path);

// Enters a run into the file's table and writes the file whole. `place` is -1 when the run does
// not enter the table (nothing is written); `written()` tells whether a run that entered reached
// the file. A file that exists but cannot be read is never overwritten, since the table written
// would lose every record in it.
struct Kept {
    int place = -1;
    int readError = 0;         // the file could not be read, so it was left alone
    shell::WriteResult write;  // how the write went, when there was one
    // The run entered the table and the file holds it now, though the disk may not have confirmed
    // it yet.
    bool written() const { return place >= 0 && readError == 0 && write.inPlace(); }
};
Kept keep(const QString& path, const Record& record);

} // namespace records_txt
