#include "dialogs/form5.h"

#include "game/form1.h"
#include "game/forms.h"
#include "shell/basic.h"

Form5::Form5(Forms& forms)
    : Window(QStringLiteral("ОПЦИИ"), 5220, 3555),
      Frame2(*this, 0, 0, 2775, 1455, QStringLiteral("скорость")),
      Label1(Frame2, 480, 240, 1575, 495),
      HScroll1(Frame2, 0, 1080, 2775, 255, 0, 100),
      Frame1(*this, 0, 1440, 2775, 1695, QStringLiteral("звук")),
      Option1(Frame1, 240, 240, 255, 255),
      Option2(Frame1, 1440, 240, 255, 255),
      Label3(Frame1, 120, 720, 735, 495, QStringLiteral("звук")),
      Label2(Frame1, 1320, 720, 975, 855, QStringLiteral("без звука")),
      Command1(*this, 0, 3120, 2775, 375, QStringLiteral("готово")),
      Frame3(*this, 2760, 0, 1215, 3495, QStringLiteral("сложность")),
      Command2(Frame3, 120, 480, 975, 495, QStringLiteral("легко")),
      Command3(Frame3, 120, 1560, 975, 495, QStringLiteral("средняя")),
      Command4(Frame3, 120, 2640, 975, 495, QStringLiteral("сложно")),
      Frame4(*this, 4080, 0, 1095, 1695, QStringLiteral("музыка")),
      Text1(Frame4, 120, 240, 855, 495, QStringLiteral("1")),
      Command5(Frame4, 120, 960, 855, 375, QStringLiteral("подтвердить")),
      Picture1(*this, 4080, 2040, 915, 990),
      m_forms(forms)
{
    Option2.setValue(true);
    HScroll1.setSteps(1, 10);
    HScroll1.onChange = [this] { HScroll1_Change(); };
}

void Form5::HScroll1_Change()
{
    Form1& f1 = m_forms.form1();
    f1.skor = static_cast<float>(HScroll1.value()) / 10.0f;
    Label1.setCaption(shell::numText(f1.skor * 10.0f));
}
