// The ball waits while the player looks away: the main window losing the focus to another
// program, or being minimised, stops the ball where it stands. The game's own windows (options,
// about, message boxes, menus) do not count.
//
// The stop is at once: the ball is held the moment a window of the game loses the focus, and the
// hold becomes the pause when the focus turns out to be with another program, or lets the ball go
// on when it went to another of the game's windows. Nothing starts by itself on return; the next
// launch, P, Space or pause button goes on from where the ball stood, directions unchanged, with
// no map read and no drop.
#include "game/form1.h"

namespace {
const QString kLookedAway = QStringLiteral("ОТВЛЁКСЯ? МЯЧ ПОДОЖДЁТ. ЖМИ, КАК ВЕРНЁШЬСЯ");
} // namespace

bool Form1::ballHangs() const
{
    return (ballHeld || lookedAway) && !Timer1.enabled();
}

void Form1::resumeFromAway()
{
    ballHeld = false;
    lookedAway = false;
    Timer1.setEnabled(true);
}

void Form1::Program_FocusLeft()
{
    controls.releaseKeys(); // their releases go to the window that has the focus now
    if (!Timer1.enabled() || !visible())
        return;
    Timer1.setEnabled(false);
    ballHeld = true;
}

void Form1::Program_FocusSettled(bool ours)
{
    if (!ballHeld || Timer1.enabled())
        return;
    ballHeld = false;
    if (ours) {
        Timer1.setEnabled(true); // only a window of the game's: the ball goes on behind it
        return;
    }
    lookedAway = true;
    Text1.setText(kLookedAway);
}

void Form1::Form_Minimize()
{
    controls.releaseKeys();
    if (!Timer1.enabled() && !ballHeld)
        return;
    Timer1.setEnabled(false);
    ballHeld = false;
    lookedAway = true;
    Text1.setText(kLookedAway);
}
