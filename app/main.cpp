// Plinkat: reads the command line and readies the play folder, then starts the game (the start
// screen, then the main window, whose load handler runs the start-up) and runs the event loop.
#include "audio/media_device.h"
#include "game/form1.h"
#include "game/forms.h"
#include "launch/start.h"
#include "shell/program.h"
#include "view/startup_scale.h"

#include <QApplication>
#include <QFont>

int main(int argc, char** argv)
{
    // Before any window, so that --help and --version need no display.
    const launch::Start start = launch::start(argc, argv);
    if (start.exitCode)
        return *start.exitCode;

    // The window size chosen under "вид" is the toolkit's scale factor, set before it starts; it is
    // read from the play folder, which the line above made the current folder.
    const double windowScale = view::applyWindowSize(argc, argv);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plinkat"));
    QApplication::setDesktopFileName(QStringLiteral(PLINKAT_APP_ID)); // links the windows to the menu entry
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    if (!start.failure.isEmpty()) {
        shell::msgBox(start.failure); // started from the menu, the player sees no standard error
        return 1;
    }
    // The game's own close handlers end the program, not the last window going.
    QApplication::setQuitOnLastWindowClosed(false);
    audio::deferOutputUntilFirstFrame();
    Forms::Setup setup;
    setup.windowScale = windowScale;
    Forms forms(std::move(setup));
    // A logout, a closed terminal or Ctrl+C closes the window the player is in, as its close box would.
    shell::onEndRequest([&forms] { forms.closeShowingWindow(); });
    forms.start();
    // A request to end that came while start-up waited in a message box has ended the program.
    if (shell::programEnded())
        return 0;
    // Gamepads are looked for once the first window is on screen.
    shell::afterFirstFrame([&forms] { forms.form1().controls.startGamepads(); });
    return QApplication::exec();
}
