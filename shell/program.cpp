#include "shell/program.h"

#include "shell/timer.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

namespace shell {

namespace {
std::function<void(const QString&)> g_messageBox;
std::function<void()> g_endProgram;
bool g_ended = false;
} // namespace

void msgBox(const QString& text)
{
    // A handler that goes on after the program has ended (it ended while the handler waited in a
    // box) shows nothing more.
    if (g_ended)
        return;
    if (g_messageBox) {
        g_messageBox(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, kProductTitle, text, QMessageBox::Ok, QApplication::activeWindow());
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

void setMessageBoxHandler(std::function<void(const QString&)> handler)
{
    g_messageBox = std::move(handler);
}

void endProgram()
{
    g_ended = true;
    if (g_endProgram) {
        g_endProgram();
        return;
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        w->hide();
    QCoreApplication::exit(0);
}

void setEndProgramHandler(std::function<void()> handler)
{
    g_endProgram = std::move(handler);
    g_ended = false;
}

bool programEnded()
{
    return g_ended;
}

} // namespace shell
