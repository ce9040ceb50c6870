#include "game/for6.h"

#include "assets/art.h"
#include "game/form1.h"
#include "game/forms.h"
#include "shell/program.h"

For6::For6(Forms& forms)
    : Window(shell::kProductTitle, 6375, 4095),
      Picture4(*this, 0, 0, 6375, 4095, [](QSize s, qreal dpr) { return art::startPicture(4, s, dpr); }),
      Picture1(*this, 0, 0, 6375, 1335, [](QSize s, qreal dpr) { return art::startPicture(1, s, dpr); }),
      Picture2(*this, 120, 1440, 3480, 2055, [](QSize s, qreal dpr) { return art::startPicture(2, s, dpr); }),
      Picture3(*this, 6075, 1440, 240, 2055, [](QSize s, qreal dpr) { return art::startPicture(3, s, dpr); }),
      Command1(*this, 4200, 1440, 1815, 495, QStringLiteral("ЛЕГКО")),
      Command2(*this, 4200, 2160, 1815, 495, QStringLiteral("НОРМА")),
      Command3(*this, 4200, 2880, 1815, 495, QStringLiteral("КОШМАР")),
      Command4(*this, 360, 3600, 5775, 375, QStringLiteral("СТАРТ")),
      skul(*this, 3720, 3000, 300, 285, &art::skull),
      m_forms(forms)
{
    setIcon(art::appIcon());
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
}

void For6::Command1_Click()
{
    Form1& f1 = m_forms.form1();
    f1.setHeight(kHeightEasy);
    skul.setTop(1560);
    f1.Text1.setText(QStringLiteral(" Жми на стену для старта"));
}

void For6::Command2_Click()
{
    m_forms.form1().setHeight(kHeightNormal);
    skul.setTop(2280);
}

void For6::Command3_Click()
{
    m_forms.form1().setHeight(kHeightNightmare);
    skul.setTop(3000);
}

void For6::Command4_Click()
{
    hide();
    m_forms.form1().show();
}

void For6::Form_Unload()
{
    m_forms.form1().closeDevices();
    shell::endProgram();
}
