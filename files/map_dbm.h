#pragma once
// Map files (*.dbm): the 40 cell values in record order, x = 1..10 outer, y = 1..4 inner.
// Written form: one record per line, sign position (space or "-"), digits, one space, CR LF.
// Reading takes numbers separated by spaces, commas and line ends; text after the 40th number
// is not read. Values outside 0..3 are kept as read.
//
// A level's map is named by its number ("3.dbm"); a map the player saves takes any name.
#include "files/game_files.h"
#include "maps/cells.h"
#include "shell/files.h"

#include <QByteArray>
#include <QString>
#include <optional>

class QIODevice;

namespace map_dbm {

// How every map's name ends, and the file list's filter that shows only maps ("*.dbm").
inline const QString kEnding = files::nameOf(files::GameFile::MapDbm);
inline const QString kPattern = QLatin1Char('*') + kEnding;
// The map of a level: the level in number text, then the ending ("12.dbm").
QString levelFileName(float level);

// Missing: no such file, or a folder. Unreadable: the file is there but could not be read (no
// permission, a read error, not a regular file); its errno goes to `error`.
enum class ReadStatus { Ok, Missing, Unreadable, TooShort, NotANumber };

// Reads a map into `cells`. Only a complete read is committed: on any failure `cells` is
// untouched. Row 0 and column 0 are never touched.
ReadStatus read(const QString& path, CellGrid& cells, int* error = nullptr);
// The same from an open device (never Missing); the file reader and the fuzz target share it.
ReadStatus read(QIODevice& in, CellGrid& cells);

// The cells of a map file for showing it, or nothing when the file is not a whole map: missing,
// a folder or other file that is not a regular one, unreadable, fewer than 40 numbers, a bad
// token. A file shorter than the shortest map (forty one-digit numbers and the 39 separators
// between them) is not opened: the files of /proc say they hold nothing, and reading some of
// them waits or takes what it reads away. Only the first kPeekBytes are read, so a large file
// costs no more than a map; a map whose 40 numbers lie beyond them is not shown (load still reads
// it). Tells the player nothing; safe to call from any thread.
inline constexpr qint64 kShortestMapBytes = 40 + 39;
inline constexpr qint64 kPeekBytes = 64 * 1024;
std::optional<CellGrid> peek(const QString& path);

QByteArray text(const CellGrid& cells);
// Writes the whole file (see shell::writeFileWhole): on failure the old file keeps every byte.
shell::WriteResult write(const QString& path, const CellGrid& cells);

} // namespace map_dbm
