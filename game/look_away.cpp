// Where play stands, and the ball that waits while the player looks away: the main window losing
// the focus to another program, or being minimised, stops the ball where it stands. The game's own
// windows (options, about, message boxes, menus) do not count.
//
// The stop is at once: the ball hangs the moment a window of the game loses the focus, and the
// hang becomes the look-away when the focus turns out to be with another program, or lets the ball
// go on when it went to another of the game's windows. Nothing starts by itself on return; the next
// launch, P, Space or pause button goes on from where the ball stood, directions unchanged, with
// no map read and no drop.
#include "game/form1.h"

namespace {
const QString kLookedAway = QStringLiteral("ОТВЛЁКСЯ? МЯЧ ПОДОЖДЁТ. ЖМИ, КАК ВЕРНЁШЬСЯ");
} // namespace

actions::PlayState Form1::playState() const
{
    if (Timer1.enabled())
        return PlayState::Flying;
    return m_stillSince == Timer1.starts() ? m_still : PlayState::Stopped;
}

void Form1::holdStill(PlayState why)
{
    Timer1.setEnabled(false);
    m_still = why;
    m_stillSince = Timer1.starts();
}

bool Form1::resumeFromAway()
{
    const PlayState now = playState();
    if (now != PlayState::LookingAway && now != PlayState::LookedAway)
        return false;
    Timer1.setEnabled(true);
    return true;
}

void Form1::lookAway()
{
    holdStill(PlayState::LookedAway);
    Text1.setText(kLookedAway);
}

void Form1::Program_FocusLeft()
{
    controls.releaseKeys(); // their releases go to the window that has the focus now
    if (playState() == PlayState::Flying && visible())
        holdStill(PlayState::LookingAway);
}

void Form1::Program_FocusSettled(bool ours)
{
    if (playState() != PlayState::LookingAway)
        return;
    if (ours)
        Timer1.setEnabled(true); // only a window of the game's: the ball goes on behind it
    else
        lookAway();
}

void Form1::Form_Minimize()
{
    controls.releaseKeys();
    const PlayState now = playState();
    if (now == PlayState::Flying || now == PlayState::LookingAway)
        lookAway();
}
