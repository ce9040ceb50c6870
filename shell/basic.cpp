#include "shell/basic.h"

#include <QIODevice>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <locale.h>

namespace shell {

QList<QByteArrayView> wordsOf(QByteArrayView line)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    QList<QByteArrayView> out;
    qsizetype i = 0;
    while (i < line.size()) {
        while (i < line.size() && isSpace(line[i]))
            ++i;
        const qsizetype start = i;
        while (i < line.size() && !isSpace(line[i]))
            ++i;
        if (i > start)
            out.append(line.sliced(start, i - start));
    }
    return out;
}

namespace {

// Number texts never depend on the desktop's locale: Qt adopts the environment's locale at
// start-up, and a Russian one would write "0,5" into the files and read "4.5" as 4. Formatting
// goes through std::to_chars and parsing through strtod_l in the C locale.
locale_t cLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return c;
}

// "%.7g" (as std::to_chars gives it) has the 7 significant digits; only the exponent needs the
// game's own spelling.
QString shortest(float value)
{
    if (value == 0.0f)
        return QStringLiteral("0"); // also folds -0
    char buf[48];
    const auto end = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::general, 7).ptr;
    QString text = QString::fromLatin1(buf, end - buf);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return text;
}

bool isSeparator(char c)
{
    return c == ' ' || c == ',' || c == '\r' || c == '\n' || c == '\t';
}

// Longest token worth reading; anything longer cannot be a number of the game's files.
constexpr int kMaxToken = 64;

} // namespace

QString numText(float value)
{
    return shortest(value);
}

QString printForm(float value)
{
    QString digits = shortest(std::fabs(value));
    if (digits.startsWith(QLatin1String("0.")))
        digits.remove(0, 1);
    const QChar sign = (value < 0.0f) ? QLatin1Char('-') : QLatin1Char(' ');
    return sign + digits + QLatin1Char(' ');
}

std::optional<float> parseNumber(QStringView token)
{
    // sign? digits* ('.' digits*)? ([eE] sign? digits+)?, with at least one mantissa digit.
    qsizetype i = 0;
    const qsizetype n = token.size();
    auto isDigit = [&](qsizetype k) { return k < n && token[k] >= QLatin1Char('0') && token[k] <= QLatin1Char('9'); };
    if (i < n && (token[i] == QLatin1Char('+') || token[i] == QLatin1Char('-')))
        ++i;
    int mantissaDigits = 0;
    while (isDigit(i)) { ++i; ++mantissaDigits; }
    if (i < n && token[i] == QLatin1Char('.')) {
        ++i;
        while (isDigit(i)) { ++i; ++mantissaDigits; }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < n && (token[i] == QLatin1Char('e') || token[i] == QLatin1Char('E'))) {
        ++i;
        if (i < n && (token[i] == QLatin1Char('+') || token[i] == QLatin1Char('-')))
            ++i;
        if (!isDigit(i))
            return std::nullopt;
        while (isDigit(i))
            ++i;
    }
    if (i != n)
        return std::nullopt;
    const QByteArray latin = token.toLatin1();
    const double wide = strtod_l(latin.constData(), nullptr, cLocale());
    const float value = static_cast<float>(wide);
    if (!std::isfinite(wide) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<float> textToNumber(const QString& text)
{
    return parseNumber(QStringView(text).trimmed());
}

FreeFormReader::Status FreeFormReader::next(float& value)
{
    char c = 0;
    do {
        if (!m_device.getChar(&c))
            return Status::End;
    } while (isSeparator(c));

    QString token;
    token.append(QLatin1Char(c));
    while (m_device.getChar(&c)) {
        if (isSeparator(c))
            break;
        if (token.size() >= kMaxToken)
            return Status::NotANumber;
        token.append(QLatin1Char(c));
    }
    const auto number = parseNumber(token);
    if (!number)
        return Status::NotANumber;
    value = *number;
    return Status::Number;
}

} // namespace shell
