#include "launch/command_line.h"

#include <QCommandLineParser>
#include <algorithm>
#include <iterator>

namespace launch {

namespace {

// Qt's own options, which the application object takes out of the arguments: those followed by a
// value, and switches. Both may be written with one dash or two.
const QLatin1StringView kQtValueOptions[] = {
    QLatin1StringView("platform"), QLatin1StringView("platformpluginpath"), QLatin1StringView("platformtheme"),
    QLatin1StringView("plugin"),   QLatin1StringView("qwindowgeometry"),    QLatin1StringView("geometry"),
    QLatin1StringView("qwindowtitle"), QLatin1StringView("title"),          QLatin1StringView("qwindowicon"),
    QLatin1StringView("icon"),     QLatin1StringView("session"),            QLatin1StringView("display"),
    QLatin1StringView("name"),     QLatin1StringView("visual"),             QLatin1StringView("style"),
    QLatin1StringView("stylesheet"), QLatin1StringView("qmljsdebugger")};
const QLatin1StringView kQtSwitches[] = {QLatin1StringView("reverse"), QLatin1StringView("testability"),
                                         QLatin1StringView("nograb"),  QLatin1StringView("dograb"),
                                         QLatin1StringView("sync"),    QLatin1StringView("widgetcount")};

// An option's name as typed: without its dashes and without "=value".
QStringView optionName(const QString& argument)
{
    QStringView name = QStringView(argument).mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
    const qsizetype equals = name.indexOf(QLatin1Char('='));
    return equals < 0 ? name : name.left(equals);
}

template <class List>
bool listed(const List& list, QStringView name)
{
    return std::find(std::begin(list), std::end(list), name) != std::end(list);
}

// How many arguments from `at` on are one of Qt's options: 0 when it is none, 2 with its value.
int qtOptionLength(const QStringList& arguments, qsizetype at)
{
    const QString& argument = arguments[at];
    if (argument.size() < 2 || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("--"))
        return 0;
    const QStringView name = optionName(argument);
    if (listed(kQtSwitches, name))
        return 1;
    if (!listed(kQtValueOptions, name))
        return 0;
    const bool valueAttached = argument.contains(QLatin1Char('='));
    return valueAttached || at + 1 == arguments.size() ? 1 : 2;
}

// The argument the parser's unknown option came from, as the player typed it.
QString typedOption(const QStringList& arguments, const QString& name)
{
    for (const QString& argument : arguments) {
        if (argument == QLatin1String("--"))
            break;
        if (argument.startsWith(QLatin1Char('-')) && optionName(argument) == name)
            return argument.section(QLatin1Char('='), 0, 0);
    }
    return QStringLiteral("--") + name;
}

CommandLine wrong(const QString& error)
{
    CommandLine line;
    line.action = CommandLine::Action::Wrong;
    line.error = error;
    return line;
}

} // namespace

CommandLine readCommandLine(const QStringList& arguments)
{
    QStringList own;
    for (qsizetype at = 0; at < arguments.size();) {
        const int qt = at == 0 ? 0 : qtOptionLength(arguments, at);
        if (qt == 0)
            own.append(arguments[at]);
        at += qt == 0 ? 1 : qt;
    }

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption folder(QStringLiteral("folder"), QString(), QStringLiteral("папка"));
    parser.addOptions({help, version, folder});

    if (!parser.parse(own)) {
        if (!parser.unknownOptionNames().isEmpty())
            return wrong(QStringLiteral("неизвестный параметр «%1»").arg(typedOption(own, parser.unknownOptionNames().front())));
        return wrong(QStringLiteral("после «--folder» нужно имя папки"));
    }
    if (!parser.positionalArguments().isEmpty())
        return wrong(QStringLiteral("лишний аргумент «%1»").arg(parser.positionalArguments().front()));

    CommandLine line;
    if (parser.isSet(help)) {
        line.action = CommandLine::Action::Help;
    } else if (parser.isSet(version)) {
        line.action = CommandLine::Action::Version;
    } else if (parser.isSet(folder)) {
        line.folder = parser.value(folder);
        if (line.folder.isEmpty())
            return wrong(QStringLiteral("после «--folder» нужно имя папки"));
    }
    return line;
}

QString helpText(const QString& program, const QString& defaultFolder, bool copiesShippedFiles)
{
    QString text = QStringLiteral("Использование: %1 [--folder ПАПКА]\n\n"
                                  "Plinkat — арканоид: мяч выбивает цветные клетки, ракетку ведут мышью.\n\n")
                       .arg(program);
    if (copiesShippedFiles) {
        text += QStringLiteral("Без параметров игра идёт в папке игрока %1.\n"
                               "Папка создаётся при запуске, и в неё копируются недостающие файлы игры:\n"
                               "карты уровней, config.cfg, ring.Wav и мелодии. Файлы, которые в ней уже\n"
                               "есть, — свои карты, настройки, сохранение — никогда не заменяются.\n\n")
                    .arg(defaultFolder);
    } else {
        text += QStringLiteral("Без параметров игра идёт в текущей папке: файлы игры не установлены\n"
                               "рядом с программой, и копировать в папку нечего.\n\n");
    }
    text += QStringLiteral("Параметры:\n"
                           "  --folder ПАПКА  играть в этой папке; она готовится так же\n"
                           "  -h, --help      показать эту справку и выйти\n"
                           "  -v, --version   показать версию и выйти\n\n"
                           "Подробнее: man plinkat\n");
    return text;
}

QString versionText()
{
    return QStringLiteral("Plinkat " PLINKAT_VERSION "\n");
}

} // namespace launch
