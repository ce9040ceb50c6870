// The pause button and the hint-line rule of the main window's free surface.
#include "game/form1.h"

void Form1::Command2_Click()
{
    Timer1.setEnabled(!Timer1.enabled());
    polos.setFocus(); // so that the P key works at once
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
