#include "launch/start.h"

#include "launch/command_line.h"
#include "launch/play_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace launch {

namespace {

void print(std::FILE* to, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
    std::fflush(to);
}

} // namespace

Start start(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const QString program = arguments.isEmpty() ? QStringLiteral("plinkat") : QFileInfo(arguments.front()).fileName();
    const CommandLine line = readCommandLine(arguments);
    if (line.action == CommandLine::Action::Wrong) {
        print(stderr, QStringLiteral("%1: %2\nСправка: %1 --help\n").arg(program, line.error));
        return {2, {}};
    }

    // An installation keeps the shipped files beside the folder of the binary (followed through links).
    const QString binaryFolder = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalPath();
    const QString shipped = shippedFiles(binaryFolder, QStringLiteral(PLINKAT_SHIPPED_FROM_BINARY));
    const QString playersOwn =
        shipped.isEmpty() ? QString() : playersFolder(qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("HOME"));

    if (line.action == CommandLine::Action::Help) {
        print(stdout, helpText(program, playersOwn.isEmpty() ? QStringLiteral("~/.local/share/plinkat") : playersOwn,
                               !shipped.isEmpty()));
        return {0, {}};
    }
    if (line.action == CommandLine::Action::Version) {
        print(stdout, versionText());
        return {0, {}};
    }

    if (line.folder.isEmpty() && shipped.isEmpty())
        return {}; // a build's own binary plays where it is started
    const QString folder = line.folder.isEmpty() ? playersOwn : QFileInfo(line.folder).absoluteFilePath();
    QString failure;
    if (folder.isEmpty())
        failure = QStringLiteral("Не удалось найти папку игры: не задана переменная HOME.");
    else
        failure = preparePlayFolder(folder, shipped);
    if (failure.isEmpty() && !QDir::setCurrent(folder))
        failure = QStringLiteral("Не удалось перейти в папку игры %1.").arg(folder);
    if (!failure.isEmpty())
        print(stderr, program + QStringLiteral(": ") + failure + QLatin1Char('\n'));
    return {std::nullopt, failure};
}

} // namespace launch
