// sound.cfg as the game reads it at start-up: sound_cfg::read on a real file and parse on
// the bytes, checked against a model written with the standard library's regular expressions.
// Every line is "name value" with spaces or tabs around and between; a line that is anything
// else but blank is skipped and noted by its number; the last good line of a name counts; a volume
// is 0 .. 100 in one to three digits, taken to the nearer step of 10; the file counts up to its
// last whole line within kMaxBytes. What the game writes back reads again to the same choices.
#include "files/sound_cfg.h"
#include "reference.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <regex>
#include <string>
#include <unistd.h>

namespace {

using sound_cfg::ReadResult;
using sound_cfg::Values;

const QString& scratchPath()
{
    static const QString path = QDir::tempPath() + QStringLiteral("/plinkat-fuzz-sound-%1.cfg").arg(getpid());
    return path;
}

void writeScratch(const QByteArray& bytes)
{
    QFile f(scratchPath());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fuzzref::fail("cannot write the scratch sound file");
}

struct Model {
    Values values;
    QList<int> bad;
};

Model model(const std::string& text)
{
    static const std::regex blank(R"(^[ \t\r]*$)");
    static const std::regex music(R"(^[ \t\r]*music[ \t\r]+(on|off)[ \t\r]*$)");
    static const std::regex volume(R"(^[ \t\r]*(music-volume|effect-volume)[ \t\r]+([0-9]{1,3})[ \t\r]*$)");
    Model m;
    std::size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        ++number;
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        std::smatch match;
        if (std::regex_match(line, match, music)) {
            m.values.music = match[1] == "on";
        } else if (std::regex_match(line, match, volume) && std::stoi(match[2]) <= 100) {
            const int percent = (std::stoi(match[2]) + 5) / 10 * 10;
            (match[1] == "music-volume" ? m.values.musicVolume : m.values.effectVolume) = percent;
        } else if (!std::regex_match(line, blank)) {
            m.bad.append(number);
        }
        start = end + 1;
    }
    return m;
}

bool sameAs(const ReadResult& a, const ReadResult& b)
{
    return a.values == b.values && a.badLines == b.badLines && a.cut == b.cut && a.error == b.error;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using fuzzref::check;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ReadResult parsed = sound_cfg::parse(bytes);
    // The model splits words at spaces, tabs and CR only; a NUL is an ordinary byte to the game.
    const std::string text(bytes.constData(), bytes.size());
    if (text.find('\0') == std::string::npos) {
        const Model m = model(text);
        check(parsed.values == m.values, "choices differ from the model");
        check(parsed.badLines == m.bad, "skipped lines differ from the model");
    }
    for (const int v : {parsed.values.musicVolume, parsed.values.effectVolume})
        check(v >= 0 && v <= 100 && v % 10 == 0, "a volume the menu does not offer");
    check(!parsed.cut && parsed.error == 0, "parsing bytes found a file's fault");

    writeScratch(bytes);
    const ReadResult read = sound_cfg::read(scratchPath());
    if (size <= static_cast<size_t>(sound_cfg::kMaxBytes)) {
        check(sameAs(read, parsed), "the file reads other than its bytes");
    } else {
        ReadResult head = sound_cfg::parse(bytes.left(bytes.lastIndexOf('\n', sound_cfg::kMaxBytes - 1) + 1));
        head.cut = true;
        check(sameAs(read, head), "the file's cut differs");
    }
    check(read.damaged() == (read.cut || !read.badLines.isEmpty()), "damage is more than its reasons");

    writeScratch(sound_cfg::text(parsed.values));
    const ReadResult back = sound_cfg::read(scratchPath());
    check(back.values == parsed.values && !back.damaged(), "what the game writes reads back differently");
    return 0;
}
