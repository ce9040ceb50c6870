// Numbers typed into text boxes: the level-jump box and the melody box of the options window
// read their text with shell::textToNumber. A text is a number when, without surrounding
// spaces, it matches the decimal grammar and is finite as a float; the number text of what was
// read reads back to the same value within its 7 digits (whole numbers exactly), and its print
// form (as the files hold it) reads back through the file reader to the same value.
#include "reference.h"
#include "shell/basic.h"

#include <QBuffer>
#include <QString>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using fuzzref::check;
    // A text box holds Unicode text; the bytes are taken as UTF-8, as typed or pasted.
    const QString typed = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<float> got = shell::textToNumber(typed);

    const QString trimmed = typed.trimmed();
    std::optional<fuzzref::Token> model;
    bool ascii = true;
    for (QChar c : trimmed)
        ascii = ascii && c.unicode() < 128;
    if (ascii) {
        const QByteArray latin = trimmed.toLatin1();
        model = fuzzref::number(std::string_view(latin.constData(), static_cast<std::size_t>(latin.size())));
    }
    check(got.has_value() == model.has_value(), got ? "accepted a text that is not a number" : "rejected a number",
          typed.toStdString());
    if (!got)
        return 0;
    check(std::isfinite(*got), "a typed number is not finite");
    check(fuzzref::sameValue(*got, *model), "typed number differs from the model", typed.toStdString());

    // Number text: no leading space, a point (never a comma), and it reads back to itself.
    const QString text = shell::numText(*got);
    check(!text.isEmpty() && !text.startsWith(QLatin1Char(' ')) && !text.contains(QLatin1Char(',')),
          "malformed number text", text.toStdString());
    const std::optional<float> again = shell::textToNumber(text);
    check(again.has_value(), "number text does not read back", text.toStdString());
    check(fuzzref::closeBySevenDigits(*again, *got), "number text moved the value", text.toStdString());
    if (fuzzref::printsExactly(*got))
        check(*again == *got && shell::numText(*again) == text, "a whole number did not come back exactly", text.toStdString());

    // Print form, as the files hold it, reads back through the file reader to the same text.
    const QByteArray printed = shell::printForm(*got).toLatin1();
    check(printed.size() >= 3 && printed.endsWith(' ') && (printed[0] == ' ' || printed[0] == '-'),
          "malformed print form", printed.toStdString());
    QBuffer buf;
    buf.setData(printed + "\r\n");
    buf.open(QIODevice::ReadOnly);
    shell::FreeFormReader reader(buf);
    float v = 0;
    check(reader.next(v) == shell::FreeFormReader::Status::Number, "print form does not read back", printed.toStdString());
    check(v == *again, "print form and number text read back differently", printed.toStdString());
    check(reader.next(v) == shell::FreeFormReader::Status::End, "print form holds more than one number");
    return 0;
}
