// records.txt as the game reads it. Whatever the bytes, the table holds at most ten records,
// best first, each with a score above 0, a level that is a number and a valid date. Its size is
// what an independent reading of the lines expects: a line is a record when it has three fields,
// the first two numbers by the reference grammar (the score above 0) and the third a date. The
// table written back reads back the same, and a new run entered keeps all of this.
#include "files/records_txt.h"
#include "reference.h"

#include <QStringList>
#include <algorithm>
#include <cmath>

namespace {

std::optional<float> modelNumber(const QString& field)
{
    // A field is read as typed text is, with no length limit; non-ASCII never matches the grammar.
    const QByteArray bytes = field.toUtf8();
    const std::optional<fuzzref::Token> t = fuzzref::number(std::string_view(bytes.constData(), bytes.size()));
    if (!t)
        return std::nullopt;
    return t->value;
}

std::size_t modelCount(const QByteArray& bytes)
{
    std::size_t n = 0;
    for (const QString& line : QString::fromUtf8(bytes).split(QLatin1Char('\n'))) {
        const QStringList fields = line.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (fields.size() != 3 || fields[0].startsWith(QLatin1Char('#')))
            continue;
        const std::optional<float> score = modelNumber(fields[0]);
        if (score && *score > 0 && modelNumber(fields[1]) && QDateTime::fromString(fields[2], Qt::ISODate).isValid())
            ++n;
    }
    return n;
}

void checkTable(const records_txt::Table& table, const char* where)
{
    using fuzzref::check;
    check(table.size() <= records_txt::kTableSize, "more than ten records", where);
    for (std::size_t i = 0; i < table.size(); ++i) {
        const records_txt::Record& r = table[i];
        check(std::isfinite(r.score) && r.score > 0, "a record without a score above 0", where);
        check(std::isfinite(r.level), "a record whose level is not a number", where);
        check(r.when.isValid(), "a record without a date", where);
        check(i == 0 || table[i - 1].score >= r.score, "records out of order", where);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using fuzzref::check;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    records_txt::Table table = records_txt::parse(bytes);
    checkTable(table, "as read");
    check(table.size() == std::min(modelCount(bytes), records_txt::kTableSize), "table size differs from the model",
          std::to_string(table.size()));

    const QByteArray written = records_txt::format(table);
    check(records_txt::parse(written) == table, "the table written does not read back the same", written.toStdString());

    const float score = table.empty() ? 5 : table.back().score;
    const int place = records_txt::insert(table, {score, 1, QDateTime(QDate(2026, 12, 8), QTime(12, 0), Qt::UTC)});
    checkTable(table, "after a new run");
    if (place >= 0)
        check(records_txt::newest(table) == place || table[static_cast<std::size_t>(place)].when
                  <= table[static_cast<std::size_t>(records_txt::newest(table))].when,
              "the newest record is not the latest");
    return 0;
}
