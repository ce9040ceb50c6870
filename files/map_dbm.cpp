#include "files/map_dbm.h"

#include "shell/basic.h"
#include "shell/files.h"

#include <QBuffer>
#include <cerrno>

namespace map_dbm {

QString levelFileName(float level)
{
    return shell::numText(level) + kEnding;
}

ReadStatus read(const QString& path, CellGrid& cells, int* error)
{
    shell::ReadFile in(path);
    ReadStatus status = ReadStatus::Unreadable;
    if (in.missing() || in.error() == EISDIR)
        status = ReadStatus::Missing;
    else if (in.error() == 0)
        status = read(static_cast<QIODevice&>(in), cells);
    // A read error ends the numbers early: that is the disk's fault, not the map's.
    if (status != ReadStatus::Ok && status != ReadStatus::Missing && in.error() != 0)
        status = ReadStatus::Unreadable;
    if (error)
        *error = in.error();
    return status;
}

ReadStatus read(QIODevice& in, CellGrid& cells)
{
    shell::FreeFormReader reader(in);
    CellGrid scratch = cells;
    for (int x = 1; x <= 10; ++x) {
        for (int y = 1; y <= 4; ++y) {
            switch (reader.next(scratch[x][y])) {
            case shell::FreeFormReader::Status::Number: break;
            case shell::FreeFormReader::Status::End: return ReadStatus::TooShort;
            case shell::FreeFormReader::Status::NotANumber: return ReadStatus::NotANumber;
            }
        }
    }
    cells = scratch;
    return ReadStatus::Ok;
}

std::optional<CellGrid> peek(const QString& path)
{
    // ReadFile opens no pipe or device, whose opening or reading could wait forever.
    shell::ReadFile file(path);
    if (file.error() != 0 || file.sizeAtOpen() < kShortestMapBytes)
        return std::nullopt;
    QByteArray head = file.read(kPeekBytes);
    if (file.error() != 0)
        return std::nullopt;
    QBuffer in(&head);
    in.open(QIODevice::ReadOnly);
    CellGrid cells{};
    if (read(static_cast<QIODevice&>(in), cells) != ReadStatus::Ok)
        return std::nullopt;
    return cells;
}

QByteArray text(const CellGrid& cells)
{
    QByteArray out;
    out.reserve(200);
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            out += shell::printForm(cells[x][y]).toLatin1() + "\r\n";
    return out;
}

shell::WriteResult write(const QString& path, const CellGrid& cells)
{
    return shell::writeFileWhole(path, text(cells));
}

} // namespace map_dbm
