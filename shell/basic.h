#pragma once
// Number texts and the free-form number reader shared by every handler and file of the game.
//
// Number text: a number as it appears in captions, messages, hints and file names: shortest
// decimal form with at most 7 significant digits, no leading space, no point for a whole number
// (3 -> "3", 4.2 -> "4.2", 0.5 -> "0.5", -1 -> "-1"); the decimal separator is always ".".
// Print form: how the game's files store a number: a space (or "-"), the digits with no zero
// before the point (0.5 -> ".5"), then one space; " 5 ", " .5 ", "-4.2 ".
// Free-form reading: numbers separated by any run of spaces, tabs, commas, CR and LF.
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

class QIODevice;

namespace shell {

QString numText(float value);
QString printForm(float value);

// A whole number token or decimal number ("4", "-4.25", ".5", "1E+10"), strictly: no stray
// characters, and the value must be finite as a 32-bit float ("1e999" and "nan" are rejected).
std::optional<float> parseNumber(QStringView token);

// The text of a text box read as a number: the same rules after trimming surrounding spaces.
std::optional<float> textToNumber(const QString& text);

// The words of a line of a settings file, split at spaces and tabs; a CR at its end counts as a space.
QList<QByteArrayView> wordsOf(QByteArrayView line);

// Reads numbers one after the other from an open device without loading the whole file.
class FreeFormReader {
public:
    enum class Status { Number, End, NotANumber };
    explicit FreeFormReader(QIODevice& device) : m_device(device) {}

    // The next number; Status::End at the end of the data, Status::NotANumber for a bad token.
    Status next(float& value);

private:
    QIODevice& m_device;
};

} // namespace shell
