// view.cfg as the game reads it at start-up: view_cfg::read on a real file and view_cfg::parse on the
// bytes, checked against a model written with the standard library's regular expressions. Every
// line is "name value" with spaces or tabs around and between; a line that is anything else is
// skipped; the last good line of a name counts; the file counts up to its last whole line within
// view_cfg::kMaxBytes. What the game writes back reads again to the same settings.
#include "files/view_cfg.h"
#include "reference.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <regex>
#include <string>
#include <unistd.h>

namespace {

const QString& scratchPath()
{
    static const QString path = QDir::tempPath() + QStringLiteral("/plinkat-fuzz-view-%1.cfg").arg(getpid());
    return path;
}

void writeScratch(const QByteArray& bytes)
{
    QFile f(scratchPath());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        fuzzref::fail("cannot write the scratch view file");
}

view_cfg::Values model(std::string text)
{
    static const std::regex line(R"(^[ \t\r]*(cell-marks|window-size)[ \t\r]+([^ \t\r]+)[ \t\r]*$)");
    view_cfg::Values v;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string one = text.substr(start, end - start);
        std::smatch m;
        if (one.find('\0') == std::string::npos && std::regex_match(one, m, line)) {
            const std::string name = m[1], value = m[2];
            if (name == "cell-marks" && (value == "on" || value == "off"))
                v.cellMarks = value == "on";
            if (name == "window-size" && (value == "100" || value == "150" || value == "200"))
                v.windowSize = std::stoi(value);
            if (name == "window-size" && value == "fit")
                v.windowSize = view_cfg::kFitScreen;
        }
        start = end + 1;
    }
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using fuzzref::check;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const view_cfg::Values parsed = view_cfg::parse(bytes);
    // The model splits words at spaces, tabs and CR only; a NUL is an ordinary byte to the game.
    std::string text(bytes.constData(), bytes.size());
    bool nul = text.find('\0') != std::string::npos;
    if (!nul)
        check(parsed == model(text), "settings differ from the model");
    check(parsed.windowSize == 100 || parsed.windowSize == 150 || parsed.windowSize == 200 || parsed.windowSize == view_cfg::kFitScreen,
          "a window size the game does not offer");

    writeScratch(bytes);
    const view_cfg::Values read = view_cfg::read(scratchPath());
    if (size <= static_cast<size_t>(view_cfg::kMaxBytes))
        check(read == parsed, "the file reads other than its bytes");
    else
        check(read == view_cfg::parse(bytes.left(bytes.lastIndexOf('\n', view_cfg::kMaxBytes - 1) + 1)), "the file's cut differs");

    writeScratch(view_cfg::text(parsed));
    check(view_cfg::read(scratchPath()) == parsed, "what the game writes reads back differently");
    return 0;
}
