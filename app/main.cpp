// Plinkat: starts the game (the start screen, then the main window, whose load handler runs the
// start-up) and runs the event loop.
#include "audio/media_device.h"
#include "game/form1.h"
#include "game/forms.h"

#include <QApplication>
#include <QFont>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Plinkat"));
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    audio::deferOutputUntilFirstFrame();
    Forms forms;
    forms.start();
    return QApplication::exec();
}
