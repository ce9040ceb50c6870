#pragma once
// Map files (*.dbm): the 40 cell values in record order, x = 1..10 outer, y = 1..4 inner.
// Written form: one record per line, sign position (space or "-"), digits, one space, CR LF.
// Reading takes numbers separated by spaces, commas and line ends; text after the 40th number
// is not read. Values outside 0..3 are kept as read.
#include "game/form1.h"

#include <QByteArray>
#include <QString>

class QIODevice;

namespace maps {

enum class ReadStatus { Ok, Missing, TooShort, NotANumber };

// Reads a map into `cells`. Only a complete read is committed: on any failure `cells` is
// untouched. Row 0 and column 0 are never touched.
ReadStatus readMap(const QString& path, CellGrid& cells);
// The same from an open device (never Missing); the file reader and the fuzz target share it.
ReadStatus readMap(QIODevice& in, CellGrid& cells);

QByteArray mapText(const CellGrid& cells);
// Writes the whole file through a temporary file; false (and the old file intact) on failure.
bool writeMap(const QString& path, const CellGrid& cells);

// Short Russian messages for the player, naming the file.
QString readFailedMessage(ReadStatus status, const QString& path);
QString writeFailedMessage(const QString& path);

} // namespace maps
