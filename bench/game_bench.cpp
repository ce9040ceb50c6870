// Costs of the game's frame: one ball tick (the handler with its redraw of the 40 cells on the
// main window's canvas), the same with the repaint that the tick causes, and a paint of the whole
// main window. The game runs on the headless platform with silent devices and a hand-driven
// clock, in a temporary copy of the build's play folder; the paddle follows the ball so play
// goes on, and a cleared level is relaunched as a player would.
#include "audio/media_device.h"
#include "game/for6.h"
#include "game/form1.h"
#include "game/forms.h"
#include "shell/program.h"
#include "shell/timer.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>
#include <QWidget>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

class SilentDevice : public audio::MediaDevice {
public:
    void setCommand(const QString&) override {}
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
