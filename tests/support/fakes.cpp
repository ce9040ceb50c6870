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
    if (sharedLog)
        *sharedLog << name + QLatin1Char(' ') + word;
    if (word == QLatin1String("open")) {
        commands << QStringLiteral("open ") + fileName();
        opened << fileName();
        return;
    }
    commands << word;
    if (word == QLatin1String("play")) {
        if (!playing)
            ++owed;
        playing = true;
    }
    if (word == QLatin1String("close") && playing)
        finishPlayback();
}

void RecordingDevice::fadeOut(int)
{
    if (sharedLog)
        *sharedLog << name + QStringLiteral(" fade");
    commands << QStringLiteral("fade");
    if (playing)
        finishPlayback();
}

void RecordingDevice::finishPlayback()
{
    playing = false;
    QMetaObject::invokeMethod(&m_context, [this] {
        --owed;
        if (onDone)
            onDone();
    }, Qt::QueuedConnection);
}

void RecordingDevice::finishPlaybackNow()
{
    if (!playing)
        return;
    playing = false;
    --owed;
    if (onDone)
        onDone();
}

namespace {
// The play folder's sounds go to the start-up folder, its data to the working folder.
void copyPlayFolder(const QString& start, const QString& work)
{
    const QDir from(QStringLiteral(PLINKAT_PLAY_DIR));
    QDirIterator it(from.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString rel = from.relativeFilePath(src);
        if (rel == QLatin1String("plinkat"))
            continue;
        const bool sound = rel == QLatin1String("ring.Wav") || rel.startsWith(QLatin1String("music/"));
        const QString to = QDir(sound ? start : work).filePath(rel);
        QDir().mkpath(QFileInfo(to).path());
        QFile::copy(src, to);
    }
}
} // namespace

GameFixture::GameFixture(bool withShippedData, audio::DeviceFactory devices, bool framesByHand)
    : m_start(m_dir.filePath(QStringLiteral("start"))), m_work(m_dir.filePath(QStringLiteral("play"))),
      m_devices(std::move(devices)), m_framesByHand(framesByHand)
{
    QDir().mkpath(m_start);
    QDir().mkpath(m_work);
    if (withShippedData)
        copyPlayFolder(m_start, m_work);
    shell::setClock(&m_clock);
    shell::setMessageBoxHandler([this](const QString& text) {
        messages << text;
        if (!whileBoxWaits || m_boxDepth > 0)
            return;
        ++m_boxDepth;
        whileBoxWaits(text);
        --m_boxDepth;
    });
    makeForms();
}

void GameFixture::endMelodyNow()
{
    if (devices.size() > 1)
        devices[1]->finishPlaybackNow();
}

void GameFixture::makeForms()
{
    // Installing the handler also clears the ended state of an earlier run.
    shell::setEndProgramHandler([this] { ended = true; });
    Forms::Setup setup;
    setup.startFolder = m_start;
    setup.workFolder = m_work;
    setup.now = [this] { return now; };
    setup.screenArea = [this] { return screen; };
    setup.framesByHand = m_framesByHand;
    setup.devices = m_devices ? m_devices : [this]() -> std::unique_ptr<audio::MediaDevice> {
        auto d = std::make_unique<RecordingDevice>();
        d->name = QStringLiteral("MMControl%1").arg(devices.size() % 2 + 1);
        d->sharedLog = &deviceLog;
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
    deviceLog.clear();
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
