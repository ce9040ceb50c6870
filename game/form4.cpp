#include "game/form4.h"

#include "assets/art.h"
#include "game/form1.h"
#include "game/forms.h"

#include <QFont>
#include <QLineEdit>
#include <QWidget>

Form4::Form4(Forms& forms)
    : Window(QStringLiteral("select level"), 2010, 1860),
      Text1(*this, 120, 120, 1815, 855, QStringLiteral("1")),
      Command1(*this, 120, 1080, 1815, 735, QStringLiteral("уровень. сделано Relk'ом")),
      m_forms(forms)
{
    setIcon(art::appIcon());

    // A large centred number: the field is 57 pixels high.
    Text1.setAlignment(Qt::AlignCenter);
    QFont big = Text1.widget()->font();
    big.setPixelSize(34);
    big.setBold(true);
    Text1.widget()->setFont(big);

    // The caption is long for so narrow a button: the largest font up to 13 pixels that shows it whole.
    shell::fitFont(Command1, Command1.caption(), 13, 6);

    Command1.onClick = [this] { Command1_Click(); };
    // Enter in the number field presses the button.
    if (auto* edit = qobject_cast<QLineEdit*>(Text1.widget()))
        QObject::connect(edit, &QLineEdit::returnPressed, edit, [this] { Command1.click(); });
}

void Form4::open()
{
    show();
    topLevel()->raise();
    topLevel()->activateWindow();
    Text1.setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(Text1.widget()))
        edit->selectAll();
}

void Form4::Command1_Click()
{
    hide();
    m_forms.form1().Timer7.setEnabled(true);
}
