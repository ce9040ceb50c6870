#include "files/records_txt.h"

#include "shell/basic.h"
#include "shell/files.h"

#include <QStringList>
#include <algorithm>
#include <charconv>
#include <cmath>

namespace records_txt {

namespace {

// A records file is ten short lines; anything past this is not read.
constexpr qint64 kMaxRead = 1 << 20;

const QByteArray kHeader = QByteArrayLiteral("# Plinkat: очки, уровень, дата и время\n");

// Dates keep whole seconds, as the file stores them.
QDateTime toSeconds(const QDateTime& when)
{
    QDateTime s = when;
    s.setTime(QTime(when.time().hour(), when.time().minute(), when.time().second()));
    return s;
}

// The shortest text that reads back as the same float (a whole score stays "1250"), so a file
// written and read again holds the very same table.
QByteArray exact(float v)
{
    char buf[32];
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    return QByteArray(buf, end - buf);
}

std::optional<Record> parseLine(const QString& line)
{
    const QString text = line.simplified();
    if (text.isEmpty() || text.startsWith(QLatin1Char('#')))
        return std::nullopt;
    const QStringList fields = text.split(QLatin1Char(' '));
    if (fields.size() != 3)
        return std::nullopt;
    const std::optional<float> score = shell::parseNumber(fields[0]);
    const std::optional<float> level = shell::parseNumber(fields[1]);
    const QDateTime when = QDateTime::fromString(fields[2], Qt::ISODate);
    if (!score || !level || !(*score > 0) || !when.isValid())
        return std::nullopt;
    return Record{*score, *level, toSeconds(when)};
}

} // namespace

Table parse(const QByteArray& text)
{
    Table table;
    for (const QString& line : QString::fromUtf8(text).split(QLatin1Char('\n')))
        if (const std::optional<Record> r = parseLine(line))
            table.push_back(*r);
    // Equal scores keep the file's order, which is the order they were set in.
    std::stable_sort(table.begin(), table.end(), [](const Record& a, const Record& b) { return a.score > b.score; });
    if (table.size() > kTableSize)
        table.resize(kTableSize);
    return table;
}

QByteArray format(const Table& table)
{
    QByteArray out = kHeader;
    for (const Record& r : table) {
        // The local time with its offset, so the file means the same moment in any time zone.
        const QDateTime when = toSeconds(r.when);
        const QString date = when.toOffsetFromUtc(when.offsetFromUtc()).toString(Qt::ISODate);
        out += exact(r.score) + ' ' + exact(r.level) + ' ' + date.toUtf8();
        out += '\n';
    }
    return out;
}

int insert(Table& table, const Record& record)
{
    if (!(record.score > 0) || !std::isfinite(record.score))
        return -1;
    const auto at = std::find_if(table.begin(), table.end(), [&](const Record& r) { return r.score < record.score; });
    const auto place = static_cast<std::size_t>(at - table.begin());
    if (place >= kTableSize)
        return -1;
    table.insert(at, Record{record.score, record.level, toSeconds(record.when)});
    if (table.size() > kTableSize)
        table.resize(kTableSize);
    return static_cast<int>(place);
}

int newest(const Table& table)
{
    int found = -1;
    for (std::size_t i = 0; i < table.size(); ++i)
        if (found < 0 || table[i].when >= table[static_cast<std::size_t>(found)].when)
            found = static_cast<int>(i);
    return found;
}

Stored read(const QString& path)
{
    const shell::ReadResult in = shell::readFileHead(path, kMaxRead);
    if (in.missing())
        return {};
    if (in.error != 0)
        return {{}, in.error};
    return {parse(in.data), 0};
}

Kept keep(const QString& path, const Record& record)
{
    Stored stored = read(path);
    Kept kept;
    kept.place = insert(stored.table, record);
    kept.readError = stored.readError;
    if (kept.place >= 0 && stored.readable()) {
        kept.write = shell::writeFileWhole(path, format(stored.table));
    }
    return kept;
}

} // namespace records_txt
