#pragma once
// Program-wide services of the window shell: the modal message box, the end of the program, and
// the requests from outside to end it.
#include <QString>
#include <functional>

namespace shell {

// Title of every message box and window caption that shows the product's name.
inline const QString kProductTitle = QStringLiteral("Plinkat");

// Shows a modal box with the text and one OK button and returns when the player has closed it.
void msgBox(const QString& text);
// Replaces what msgBox does (tests answer OK and record the text); an empty function restores the real box.
void setMessageBoxHandler(std::function<void(const QString&)> handler);
// Whether a handler waits in a message box now. Devices the box's modality does not hold back
// (the gamepads) check it.
bool boxWaiting();

// Ends the program: every timer stops ticking and the event loop quits with exit code 0.
void endProgram();
void setEndProgramHandler(std::function<void()> handler);
bool programEnded();

// Requests from outside to end the program: SIGTERM (logout, shutdown), SIGHUP (the terminal was
// closed), SIGINT (Ctrl+C) and the desktop session manager's request to quit. Each reaches the
// handler later as an ordinary event on the GUI thread, also while a handler waits in a message
// box; the signal handler itself only writes a byte to a pipe. Requests that come while the
// handler runs, or once the program has ended, are dropped. Call once, after the application
// object exists; an empty function ignores requests from then on.
void onEndRequest(std::function<void()> handler);

// Runs the work once the next window to be exposed has been painted (or after a second, should
// none be): what the first frame need not wait for.
void afterFirstFrame(std::function<void()> work);

} // namespace shell
