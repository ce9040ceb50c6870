#include "maps/map_file.h"

#include "shell/basic.h"
#include "shell/files.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

namespace maps {

ReadStatus readMap(const QString& path, CellGrid& cells)
{
    QFile in(path);
    if (QFileInfo(path).isDir() || !in.open(QIODevice::ReadOnly))
        return ReadStatus::Missing;
    return readMap(static_cast<QIODevice&>(in), cells);
}

ReadStatus readMap(QIODevice& in, CellGrid& cells)
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

std::optional<CellGrid> peekMap(const QString& path)
{
    // isFile() is false for a pipe or a device, whose opening or reading could wait forever.
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || info.size() < kShortestMapBytes || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray head = file.read(kPeekBytes);
    QBuffer in(&head);
    in.open(QIODevice::ReadOnly);
    CellGrid cells{};
    if (readMap(static_cast<QIODevice&>(in), cells) != ReadStatus::Ok)
        return std::nullopt;
    return cells;
}

QByteArray mapText(const CellGrid& cells)
{
    QByteArray out;
    out.reserve(200);
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            out += shell::printForm(cells[x][y]).toLatin1() + "\r\n";
    return out;
}

bool writeMap(const QString& path, const CellGrid& cells)
{
    return shell::writeFileWhole(path, mapText(cells));
}

QString readFailedMessage(ReadStatus status, const QString& path)
{
    switch (status) {
    case ReadStatus::Missing: return QStringLiteral("Нет файла карты: ") + path;
    case ReadStatus::TooShort: return QStringLiteral("В карте меньше 40 клеток: ") + path;
    case ReadStatus::NotANumber: return QStringLiteral("Карта испорчена: ") + path;
    case ReadStatus::Ok: break;
    }
    return {};
}

QString writeFailedMessage(const QString& path)
{
    return QStringLiteral("Не удалось записать карту: ") + path;
}

} // namespace maps
