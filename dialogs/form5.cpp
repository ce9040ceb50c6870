#include "dialogs/form5.h"

#include "assets/art.h"
#include "game/form1.h"
#include "game/forms.h"
#include "shell/basic.h"
#include "shell/files.h"
#include "shell/program.h"

#include <QFont>
#include <QWidget>
#include <cmath>

namespace {

void setFont(shell::Control& control, int pointSize, bool bold = false, bool condensed = false)
{
    QFont font = control.widget()->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    if (condensed)
        font.setStretch(QFont::SemiCondensed);
    control.widget()->setFont(font);
}

// The option buttons are too small for a caption; their labels sit under them and name them.
void nameOption(shell::OptionButton& option, const QString& name)
{
    option.setToolTip(name);
    option.widget()->setAccessibleName(name);
}

} // namespace

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
      Picture1(*this, 4080, 2040, 915, 990, &art::optionsPicture),
      m_forms(forms)
{
    setBackColor(shell::rgb(240, 240, 240));
    // Frames with their caption set into the top border, so the controls at the top of a frame
    // sit inside it rather than on its edge.
    topLevel()->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid #a8a8a8; border-radius: 3px; margin-top: 7px; }"
        "QGroupBox::title { subcontrol-origin: margin; subcontrol-position: top left;"
        " left: 4px; padding: 0 2px; }"));
    Option2.setValue(true);
    HScroll1.setSteps(1, 10);

    // Look: the speed number large and centred, the option labels centred under their buttons.
    setFont(Label1, 16, true);
    Label1.setAlignment(Qt::AlignCenter);
    for (shell::Label* label : {&Label1, &Label2, &Label3})
        label->setTransparent(true);
    Label3.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2.setWordWrap(true);
    nameOption(Option1, Label3.caption());
    nameOption(Option2, Label2.caption());
    setFont(Text1, 12, true);
    Text1.setAlignment(Qt::AlignCenter);
    setFont(Command5, 7, false, true);
    HScroll1.widget()->setAccessibleName(Frame2.caption());
    // The window opens with the focus on "готово", so Enter or Space closes it.
    Command1.setFocus();

    // QScrollBar reports every movement of the thumb as a value change, so a drag runs this too.
    HScroll1.onChange = [this] { HScroll1_Change(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
}

void Form5::Form_Load()
{
    // The first creation comes from start-up, which fills the window right after; a window
    // destroyed by its close box and created again shows the live values instead of the
    // design ones, so that the slider and the melody box never disagree with the game.
    Form1& f1 = m_forms.form1();
    HScroll1.setValue(static_cast<int>(std::nearbyint(10.0f * f1.skor)));
    HScroll1_Change();
    Text1.setText(shell::numText(f1.num));
}

void Form5::HScroll1_Change()
{
    Form1& f1 = m_forms.form1();
    f1.skor = static_cast<float>(HScroll1.value()) / 10.0f;
    Label1.setCaption(shell::numText(f1.skor * 10.0f));
}

void Form5::Command1_Click()
{
    hide();
}

void Form5::Command2_Click()
{
    m_forms.form1().setHeight(kHeightEasy);
}

void Form5::Command3_Click()
{
    m_forms.form1().setHeight(kHeightNormal);
}

void Form5::Command4_Click()
{
    m_forms.form1().setHeight(kHeightNightmare);
}

void Form5::Command5_Click()
{
    Form1& f1 = m_forms.form1();

    // Only a number is a choice: anything else puts the current next melody back in the box.
    const std::optional<float> chosen = shell::textToNumber(Text1.text());
    if (!chosen) {
        Text1.setText(shell::numText(f1.num));
        shell::msgBox(QStringLiteral("Номер мелодии должен быть числом. Следующей будет мелодия ")
                      + shell::numText(f1.num) + QStringLiteral("."));
        return;
    }

    f1.num = *chosen;
    if (f1.num > f1.melodi)
        f1.num = f1.melodi;
    if (f1.num < 1)
        f1.num = 1;
    Text1.setText(shell::numText(f1.num));

    // The close ends the melody that plays; its Done starts the chosen one and moves num on.
    f1.MMControl2->setCommand(QStringLiteral("close"));
    f1.file = shell::numText(f1.num) + QStringLiteral(".mid");
    f1.MMControl2->setFileName(shell::joinPath(m_forms.startFolder(), QStringLiteral("\\music\\"), f1.file));
    f1.MMControl2->setCommand(QStringLiteral("open"));
    shell::msgBox(QStringLiteral("мелодия номер ") + shell::numText(f1.num));
}
