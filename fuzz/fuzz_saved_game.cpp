// save.dbs as "загрузить" reads it: save_dbs::read over an in-memory device gives the file's
// first number as the level, or no level when the file does not start with one. The whole file
// is then read number by number as well, which covers the reader every file of the game shares.
// What "сохранить" writes for the level loaded reads back as the same level within its 7
// digits, and a whole level exactly.
#include "files/save_dbs.h"
#include "reference.h"
#include "shell/basic.h"

#include <QBuffer>

namespace {

using Status = shell::FreeFormReader::Status;

// The level that loading these bytes would set.
save_dbs::ReadResult load(const QByteArray& bytes)
{
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    return save_dbs::read(buf);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using fuzzref::check;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::vector<fuzzref::Token> toks = fuzzref::tokens(data, size);

    const save_dbs::ReadResult loaded = load(bytes);
    const bool found = loaded.status == save_dbs::ReadStatus::Ok;
    const float level = loaded.level;
    if (toks.empty() || toks[0].kind == fuzzref::TokenKind::Bad)
        check(loaded.status == save_dbs::ReadStatus::NoLevel, "a file without a number first must give no level");
    else {
        check(found, "a number first must give the level", toks[0].text);
        check(fuzzref::sameValue(level, toks[0]), "level differs from the model", toks[0].text);
    }

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

    if (found) {
        const QByteArray saved = save_dbs::text(level);
        check(saved.endsWith("\r\n"), "a saved level must end with CR LF", saved.toStdString());
        const save_dbs::ReadResult again = load(saved);
        const float back = again.level;
        check(again.status == save_dbs::ReadStatus::Ok, "a saved level does not read back", saved.toStdString());
        check(fuzzref::closeBySevenDigits(back, level), "a saved level reads back far from the level", saved.toStdString());
        if (fuzzref::printsExactly(level))
            check(back == level, "a saved whole level reads back as another level", saved.toStdString());
    }
    return 0;
}
