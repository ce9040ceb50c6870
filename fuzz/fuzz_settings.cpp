// config.cfg as the game reads it at start-up: config_cfg::read on a real file.
// Up to three numbers are taken (melody bound, next melody, speed); each missing or bad field
// keeps its design value and marks the file damaged, a melody bound outside 16 bits too; the
// speed always ends in 0..10. The line the game writes back at shutdown reads again cleanly,
// to the same values within their 7 digits (whole values exactly).
#include "files/config_cfg.h"
#include "reference.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cmath>
#include <limits>
#include <unistd.h>

namespace {

// One scratch file per fuzzing process, in the temporary folder.
const QString& scratchPath()
{
    static const QString path = QDir::tempPath() + QStringLiteral("/plinkat-fuzz-settings-%1.cfg").arg(getpid());
    return path;
}

void writeScratch(const QByteArray& bytes)
{
    QFile f(scratchPath());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fuzzref::fail("cannot write the scratch settings file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using fuzzref::check;
    writeScratch(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    const config_cfg::ReadResult r = config_cfg::read(scratchPath());
    check(!r.missing, "an existing settings file reported missing");

    // The model: numbers are taken up to the first bad token or the third number.
    const std::vector<fuzzref::Token> toks = fuzzref::tokens(data, size);
    std::vector<fuzzref::Token> fields;
    for (const fuzzref::Token& t : toks) {
        if (t.kind == fuzzref::TokenKind::Bad || fields.size() == 3)
            break;
        fields.push_back(t);
    }
    const config_cfg::Values design;
    bool damaged = fields.size() < 3;
    if (!fields.empty() && fields[0].valueKnown) {
        const float m = std::nearbyint(fields[0].value);
        if (m >= std::numeric_limits<int16_t>::min() && m <= std::numeric_limits<int16_t>::max())
            check(r.values.melodi == static_cast<int16_t>(m), "melody bound differs from the model");
        else {
            damaged = true;
            check(r.values.melodi == design.melodi, "an out-of-range melody bound must keep the design value");
        }
    } else if (fields.empty()) {
        check(r.values.melodi == design.melodi, "a missing melody bound must keep the design value");
    }
    if (fields.size() >= 2)
        check(fuzzref::sameValue(r.values.num, fields[1]), "next melody differs from the model", fields[1].text);
    else
        check(r.values.num == design.num, "a missing next melody must keep the design value");
    if (fields.size() >= 3 && fields[2].valueKnown)
        check(r.values.skor == std::clamp(fields[2].value, 0.0f, 10.0f), "speed differs from the model", fields[2].text);
    else if (fields.size() < 3)
        check(r.values.skor == design.skor, "a missing speed must keep the design value");
    if (fields.empty() || fields[0].valueKnown)
        check(r.damaged == damaged, "damaged flag differs from the model");

    check(std::isfinite(r.values.num), "next melody is not finite");
    check(r.values.skor >= 0.0f && r.values.skor <= 10.0f, "speed outside 0..10");

    // Shutdown writes the values; the next start reads them without complaint, to the same line.
    const QByteArray line = config_cfg::text(r.values);
    check(line.endsWith("\r\n"), "settings line must end with CR LF");
    writeScratch(line);
    const config_cfg::ReadResult back = config_cfg::read(scratchPath());
    check(!back.damaged && !back.missing, "the game's own settings line reads back as damaged");
    check(back.values.melodi == r.values.melodi, "melody bound changed on a round trip");
    check(fuzzref::closeBySevenDigits(back.values.num, r.values.num), "next melody moved on a round trip");
    check(fuzzref::closeBySevenDigits(back.values.skor, r.values.skor), "speed moved on a round trip");
    if (fuzzref::printsExactly(r.values.num) && fuzzref::printsExactly(r.values.skor))
        check(config_cfg::text(back.values) == line && back.values.num == r.values.num && back.values.skor == r.values.skor,
              "whole settings changed on a round trip");
    return 0;
}
