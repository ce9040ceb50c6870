// The pause button and the hint-line rule of the main window's free surface.
#include "game/form1.h"

void Form1::Command2_Click()
{
    pauseOrResume();
    polos.setFocus(); // so that the P key works at once
}

void Form1::pauseOrResume()
{
    if (resumeFromAway())
        return;
    if (Timer1.enabled())
        holdStill(PlayState::Paused);
    else
        Timer1.setEnabled(true);
}

void Form1::Command2_MouseMove(const shell::MouseArgs&)
{
    Text1.setText(QStringLiteral("Пауза и снятие с неё"));
}

void Form1::Form_MouseMove(const shell::MouseArgs&)
{
    if (!Timer1.enabled())
        Text1.setText(QString());
}
