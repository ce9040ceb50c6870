// save.dbs as "загрузить" reads it. The saved game has no reader function of its own: its load
// handler (game/saved_game.cpp) runs shell::FreeFormReader over the file and takes the first
// number as the level, so this target drives the same reader over the same bytes. The whole file
// is then read number by number as well, which covers the reader every file of the game shares.
// What "сохранить" writes for the level loaded reads back as the same level within its 7
// digits, and a whole level exactly.
#include "reference.h"
#include "shell/basic.h"

#include <QBuffer>

namespace {

using Status = shell::FreeFormReader::Status;

// The level that loading these bytes would set, as the load handler takes it.
Status firstNumber(const QByteArray& bytes, float& level)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    shell::FreeFormReader reader(buf);
    return reader.next(level);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using fuzzref::check;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::vector<fuzzref::Token> toks = fuzzref::tokens(data, size);

    float level = -12345;
    const Status first = firstNumber(bytes, level);
    if (toks.empty())
        check(first == Status::End, "a file without tokens must give no level");
    else if (toks[0].kind == fuzzref::TokenKind::Bad)
        check(first == Status::NotANumber, "a bad first token must give no level", toks[0].text);
    else {
        check(first == Status::Number, "a number first must give the level", toks[0].text);
        check(fuzzref::sameValue(level, toks[0]), "level differs from the model", toks[0].text);
    }
    if (first != Status::Number)
        check(level == -12345, "a failed read changed the level");

    // Every number of the file, in order, until the end or the first bad token.
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    shell::FreeFormReader reader(buf);
    std::size_t k = 0;
    for (;; ++k) {
        float v = 0;
        const Status s = reader.next(v);
        if (k >= toks.size()) {
            check(s == Status::End, "reader goes on past the last token");
            break;
        }
        if (toks[k].kind == fuzzref::TokenKind::Bad) {
            check(s == Status::NotANumber, "reader accepted a bad token", toks[k].text);
            break;
        }
        check(s == Status::Number, "reader rejected a number", toks[k].text);
        check(fuzzref::sameValue(v, toks[k]), "reader value differs from the model", toks[k].text);
    }

    if (first == Status::Number) {
        // The save handler writes the level in print form and CR LF.
        const QByteArray saved = (shell::printForm(level) + QStringLiteral("\r\n")).toLatin1();
        float back = 0;
        check(firstNumber(saved, back) == Status::Number, "a saved level does not read back", saved.toStdString());
        check(fuzzref::closeBySevenDigits(back, level), "a saved level reads back far from the level", saved.toStdString());
        if (fuzzref::printsExactly(level))
            check(back == level, "a saved whole level reads back as another level", saved.toStdString());
    }
    return 0;
}
