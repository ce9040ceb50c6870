#include "filedialog/form3.h"

#include "assets/art.h"
#include "filedialog/map_preview.h"
#include "files/map_dbm.h"
#include "game/form1.h"
#include "game/forms.h"
#include "shell/program.h"

#include <QFont>
#include <QWidget>

namespace {
// The labels' "green": a darker green than the cells' so that it reads on the light background.
constexpr shell::Color kLabelGreen = shell::rgb(0, 128, 0);
// The filter labels reach the right edge of the window and use a small font, so that their
// texts fit beside the option buttons at this toolkit's font sizes.
constexpr float kFilterLabelWidth = 4575 - 3480;
constexpr qreal kFilterLabelPoints = 8;
} // namespace

Form3::Form3(Forms& forms)
    : Window(QStringLiteral("save - load"), 4575, 4380),
      Drive1(*this, 0, 0, 2175, 315, forms.workFolder()),
      Dir1(*this, 0, 360, 2175, 2790, forms.workFolder()),
      File1(*this, 2160, 360, 2415, 2820, forms.workFolder()),
      Command1(*this, 0, 3240, 1335, 495, QStringLiteral("save")),
      Text1(*this, 1560, 3240, 1455, 495, map_dbm::levelFileName(1)),
      Command2(*this, 0, 3840, 1335, 495, QStringLiteral("load")),
      Option1(*this, 3120, 3240, 255, 255),
      Option2(*this, 3120, 3600, 255, 255),
      Label1(*this, 3480, 3240, kFilterLabelWidth, 195, QStringLiteral("все файлы")),
      Label2(*this, 3480, 3600, kFilterLabelWidth, 195, QStringLiteral("только dbm")),
      Timer1(100),
      m_forms(forms)
{
    setIcon(art::appIcon());
    setBackgroundPicture(&art::panelBackground);
    Option1.setValue(true);
    showMarks(forms.view().cellMarks);
    for (shell::Label* l : {&Label1, &Label2}) {
        l->setForeColor(kLabelGreen);
        l->setTransparent(true);
        l->setWordWrap(false);
        l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        QFont small = l->widget()->font();
        small.setPointSizeF(kFilterLabelPoints);
        l->widget()->setFont(small);
    }

    Drive1.onChange = [this] { Drive1_Change(); };
    Dir1.onChange = [this] { Dir1_Change(); };
    Dir1.onRefused = [](const QString& path) { shell::msgBox(QStringLiteral("Папка недоступна: ") + path); };
    Option1.onClick = [this] { Option1_Click(); };
    Option2.onClick = [this] { Option2_Click(); };
    Timer1.onTick = [this] { Timer1_Tick(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void Form3::showMarks(bool on)
{
    File1.setPreviewReader([on](const QString& path) { return filedialog::readMapPreview(path, on); },
                           filedialog::kMapIconSize, filedialog::kMapTipSize);
}

// On this system a drive is a mounted volume and its current folder is its root.
void Form3::Drive1_Change()
{
    const QString chosen = Drive1.drive();
    if (!Dir1.setPath(chosen)) {
        Drive1.restoreDrive(shell::DriveList::driveOf(Dir1.path()));
        shell::msgBox(QStringLiteral("Диск недоступен: ") + chosen);
        return;
    }
    File1.setPath(Dir1.path());
}

void Form3::Dir1_Change()
{
    File1.setPath(Dir1.path());
}

void Form3::Option1_Click()
{
    File1.setPattern(QStringLiteral("*.*"));
}

void Form3::Option2_Click()
{
    File1.setPattern(map_dbm::kPattern);
}

void Form3::Timer1_Tick()
{
    Text1.setText(File1.fileName());
}

void Form3::Command1_Click()
{
    Timer1.setEnabled(false);
    m_forms.form1().Timer5.setEnabled(true);
}

void Form3::Command2_Click()
{
    Timer1.setEnabled(false);
    m_forms.form1().Timer6.setEnabled(true);
}
