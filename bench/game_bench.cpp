// Costs of the game's frame: one ball tick (the handler with its redraw of the 40 cells on the
// main window's canvas), the same with the cell marks on, the same with the repaint that the tick
// causes, and a paint of the whole main window. The game runs on the headless platform with silent devices and a hand-driven
// clock, in a temporary copy of the build's play folder; the paddle follows the ball so play
// goes on, and a cleared level is relaunched as a player would.
// Also the save/load dialog's file list on a folder of 1,000 maps, with their pictures.
#include "audio/media_device.h"
#include "filedialog/form3.h"
#include "filedialog/map_preview.h"
#include "files/map_dbm.h"
#include "game/for6.h"
#include "game/form1.h"
#include "game/forms.h"
#include "shell/filelists.h"
#include "shell/program.h"
#include "shell/timer.h"
#include "shell/window.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWidget>
#include <atomic>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

class SilentDevice : public audio::MediaDevice {
public:
    void setCommand(const QString&) override {}
    void setVolume(int) override {}
    void fadeOut(int) override {}
    bool awaitingDone() const override { return false; }
};

class Game {
public:
    Game()
    {
        QDirIterator it(QStringLiteral(PLINKAT_PLAY_DIR), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString src = it.next();
            const QString rel = QDir(QStringLiteral(PLINKAT_PLAY_DIR)).relativeFilePath(src);
            QDir().mkpath(QFileInfo(m_dir.filePath(rel)).path());
            QFile::copy(src, m_dir.filePath(rel));
        }
        shell::setClock(&m_clock);
        shell::setMessageBoxHandler([this](const QString&) { ++messages; });
        shell::setEndProgramHandler([] {});
        Forms::Setup setup;
        setup.startFolder = m_dir.path();
        setup.workFolder = m_dir.path();
        setup.devices = [] { return std::make_unique<SilentDevice>(); };
        m_forms = std::make_unique<Forms>(setup);
        m_forms->form1();
        m_clock.advance(100); // start-up timers (music start, grid copy) run and stop
        m_forms->for6().Command4_Click(); // "СТАРТ": the main window is shown
        QApplication::processEvents();
        launch();
        QApplication::processEvents();
    }
    ~Game()
    {
        m_forms.reset();
        QApplication::processEvents();
        shell::setMessageBoxHandler({});
        shell::setEndProgramHandler({});
        shell::setClock(nullptr);
    }

    Form1& f1() { return m_forms->form1(); }
    Forms& forms() { return *m_forms; }
    QString folder() const { return m_dir.path(); }

    void launch() { f1().polos_MouseDown({1, 0, 3000, 300}); }

    // One 16 ms step of the clock during play: Timer1 runs the ball tick.
    void tick()
    {
        Form1& f = f1();
        f.deck.setLeft(f.ball.left() - 15); // the middle of the paddle under the ball
        m_clock.advance(shell::Clock::kGranularityMs);
        if (!f.Timer1.enabled())
            launch(); // a cleared level: the next one starts at once
    }

    int messages = 0;

private:
    QTemporaryDir m_dir;
    shell::ManualClock m_clock;
    std::unique_ptr<Forms> m_forms;
};

void BM_BallTick(benchmark::State& state)
{
    Game game;
    for (auto _ : state)
        game.tick();
    state.counters["levels"] = game.messages;
}
BENCHMARK(BM_BallTick)->Unit(benchmark::kMicrosecond);

// The same with the cell marks on: every coloured cell redrawn with its pips.
void BM_BallTickWithCellMarks(benchmark::State& state)
{
    Game game;
    game.forms().setView({true, 100});
    for (auto _ : state)
        game.tick();
}
BENCHMARK(BM_BallTickWithCellMarks)->Unit(benchmark::kMicrosecond);

// The tick and the repaint of what it changed, as the event loop does after each tick.
void BM_BallTickWithRepaint(benchmark::State& state)
{
    Game game;
    for (auto _ : state) {
        game.tick();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_BallTickWithRepaint)->Unit(benchmark::kMicrosecond);

// One whole frame of the main window: menu bar, strip, paddle, ball, hint line, drawn cells.
void BM_PaintMainWindowGrab(benchmark::State& state)
{
    Game game;
    game.tick();
    QWidget* window = game.f1().topLevel();
    for (auto _ : state) {
        const QPixmap frame = window->grab();
        benchmark::DoNotOptimize(frame.cacheKey());
    }
}
BENCHMARK(BM_PaintMainWindowGrab)->Unit(benchmark::kMicrosecond);

void BM_PaintMainWindowToImage(benchmark::State& state)
{
    Game game;
    game.tick();
    QWidget* window = game.f1().topLevel();
    QImage frame(window->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        window->render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_PaintMainWindowToImage)->Unit(benchmark::kMicrosecond);

// A folder of 1,000 maps of every kind beside the play folder, and the save/load dialog on screen
// (offscreen) showing it. Its reader counts the files it reads.
class MapFolder {
public:
    static constexpr int kMaps = 1000;

    MapFolder()
    {
        path = game.folder() + QStringLiteral("/many");
        QDir().mkpath(path);
        for (int i = 0; i < kMaps; ++i) {
            CellGrid cells{};
            for (int x = 1; x <= 10; ++x)
                for (int y = 1; y <= 4; ++y)
                    cells[x][y] = static_cast<float>((i + x * 7 + y * 3) % 4);
            map_dbm::write(QStringLiteral("%1/%2.dbm").arg(path).arg(i, 4, 10, QLatin1Char('0')), cells);
        }
        dialog().show();
        QApplication::processEvents();
    }

    Form3& dialog() { return game.forms().form3(); }
    // Forgets every picture read so far.
    void countReads()
    {
        dialog().File1.setPreviewReader([this](const QString& file) {
            ++reads;
            return filedialog::readMapPreview(file);
        }, filedialog::kMapIconSize, filedialog::kMapTipSize);
    }
    // Waits for the pictures of the rows in view and draws the list as the screen would.
    void show()
    {
        dialog().File1.waitForPreviews();
        QWidget* list = dialog().File1.widget();
        if (m_frame.size() != list->size())
            m_frame = QImage(list->size(), QImage::Format_ARGB32_Premultiplied);
        list->render(&m_frame);
        benchmark::DoNotOptimize(m_frame.constBits());
    }

    Game game;
    QString path;
    std::atomic<int> reads = 0;

private:
    QImage m_frame;
};

// Pointing the file list at the folder with nothing read yet, until its rows in view are drawn
// with their pictures.
void BM_MapFolderOpenCold(benchmark::State& state)
{
    MapFolder folder;
    for (auto _ : state) {
        state.PauseTiming();
        folder.dialog().File1.setPath(folder.game.folder());
        folder.countReads();
        state.ResumeTiming();
        folder.dialog().File1.setPath(folder.path);
        folder.show();
    }
    state.counters["files read"] = benchmark::Counter(folder.reads, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MapFolderOpenCold)->Unit(benchmark::kMicrosecond);

// The list read again (as after a save) with every picture in view known: the files' times are
// looked at, none is read.
void BM_MapFolderRefreshWarm(benchmark::State& state)
{
    MapFolder folder;
    folder.countReads();
    folder.dialog().File1.setPath(folder.path);
    folder.show();
    folder.reads = 0;
    for (auto _ : state) {
        folder.dialog().File1.refresh();
        folder.show();
    }
    state.counters["files read"] = benchmark::Counter(folder.reads, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MapFolderRefreshWarm)->Unit(benchmark::kMicrosecond);

// The same refresh of a list of the same size that shows no pictures: what the listing and its
// drawing cost by themselves.
void BM_MapFolderRefreshWithoutPictures(benchmark::State& state)
{
    MapFolder folder;
    shell::Window window(QStringLiteral("plain"), 4575, 4380);
    const shell::FileList& dialogList = folder.dialog().File1;
    shell::FileList list(window, dialogList.left(), dialogList.top(), dialogList.width(), dialogList.height(), folder.path);
    window.show();
    QImage frame(list.widget()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        list.refresh();
        list.widget()->render(&frame);
        benchmark::DoNotOptimize(frame.constBits());
    }
}
BENCHMARK(BM_MapFolderRefreshWithoutPictures)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9)); // as the game sets it
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
