#pragma once
// Program-wide services of the window shell: the modal message box and the end of the program.
#include <QString>
#include <functional>

namespace shell {

// Title of every message box and window caption that shows the product's name.
inline const QString kProductTitle = QStringLiteral("Plinkat");

// Shows a modal box with the text and one OK button and returns when the player has closed it.
void msgBox(const QString& text);
// Replaces what msgBox does (tests answer OK and record the text); an empty function restores the real box.
void setMessageBoxHandler(std::function<void(const QString&)> handler);

// Ends the program: every timer stops ticking and the event loop quits with exit code 0.
void endProgram();
void setEndProgramHandler(std::function<void()> handler);
bool programEnded();

} // namespace shell
