#include "support/fakes.h"

#include "game/form1.h"
#include "shell/program.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMetaObject>

namespace testing_support {

void RecordingDevice::setCommand(const QString& word)
{
    if (word == QLatin1String("open")) {
        commands << QStringLiteral("open ") + fileName();
        opened << fileName();
        return;
    }
    commands << word;
    if (word == QLatin1String("play"))
        playing = true;
    if (word == QLatin1String("close") && playing)
        finishPlayback();
}

void RecordingDevice::finishPlayback()
{
    playing = false;
    QMetaObject::invokeMethod(&m_context, [this] {
        if (onDone)
            onDone();
    }, Qt::QueuedConnection);
}

namespace {
void copyTree(const QString& from, const QString& to)
{
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString rel = QDir(from).relativeFilePath(src);
        if (rel == QLatin1String("plinkat"))
            continue;
        QDir().mkpath(QFileInfo(QDir(to).filePath(rel)).path());
        QFile::copy(src, QDir(to).filePath(rel));
    }
}
} // namespace

GameFixture::GameFixture(bool withShippedData)
{
    if (withShippedData)
        copyTree(QStringLiteral(PLINKAT_PLAY_DIR), m_dir.path());
    shell::setClock(&m_clock);
    shell::setMessageBoxHandler([this](const QString& text) { messages << text; });
    makeForms();
}

void GameFixture::makeForms()
{
    // Installing the handler also clears the ended state of an earlier run.
    shell::setEndProgramHandler([this] { ended = true; });
    Forms::Setup setup;
    setup.startFolder = m_dir.path();
    setup.devices = [this] {
        auto d = std::make_unique<RecordingDevice>();
        devices.push_back(d.get());
        return d;
    };
    m_forms = std::make_unique<Forms>(setup);
}

GameFixture::~GameFixture()
{
    m_forms.reset();
    // Windows closed by a close box are deleted by a queued event.
    QCoreApplication::processEvents();
    shell::setMessageBoxHandler({});
    shell::setEndProgramHandler({});
    shell::setClock(nullptr);
}

void GameFixture::restart()
{
    m_forms.reset();
    QCoreApplication::processEvents(); // windows closed by a close box go with their queued deletion
    devices.clear();
    ended = false;
    makeForms();
}

Form1& GameFixture::form1() { return m_forms->form1(); }
Form1& GameFixture::start()
{
    m_forms->start();
    return m_forms->form1();
}

void GameFixture::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile f(pathOf(name));
    QDir().mkpath(QFileInfo(f).path());
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes);
}

QByteArray GameFixture::readFile(const QString& name) const
{
    QFile f(pathOf(name));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool waitFor(const std::function<bool()>& condition, int maxMs)
{
    QElapsedTimer t;
    t.start();
    while (!condition()) {
        if (t.elapsed() > maxMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace testing_support
