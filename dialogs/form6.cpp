#include "dialogs/form6.h"

#include "assets/art.h"
#include "game/forms.h"

#include <QFont>
#include <QLabel>
#include <QWidget>

namespace {
// The window's design width is 4905 twips, but the note and the "назад" button reach 4935: the
// window is as wide as its widest control, so the button shows whole.
constexpr float kClientWidthTw = 4935;
constexpr float kClientHeightTw = 4755;
} // namespace

Form6::Form6(Forms&)
    : Window(QStringLiteral("О программе"), kClientWidthTw, kClientHeightTw),
      Picture1(*this, 0, 0, 2595, 2865, &art::aboutPicture),
      Label1(*this, 2640, 0, 2295, 2175,
             QStringLiteral("Plinkat\n\nИгру написала команда Plinkat.\n\n"
                            "Мнения, пожелания и предложения присылайте через трекер задач проекта.")),
      Label2(*this, 0, 2880, 4935, 1335,
             QStringLiteral("Программа не работает под windows  xp. Под windows 9x/2000/nt работает стабильно. "
                            "Если игра идет слишком быстро либо слишком медленно подредактируйте скорость в опциях.")),
      Command1(*this, 3240, 4320, 1695, 375, QStringLiteral("назад")),
      Label41(*this, 0, 4440, 855, 255, QStringLiteral("V 2.12"))
{
    setBackColor(shell::rgb(240, 240, 240));
    for (shell::Label* label : {&Label1, &Label2, &Label41})
        label->setTransparent(true);
    Label1.setWordWrap(true);
    Label1.setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    Label2.setWordWrap(true);
    Label2.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // Both texts reach the right edge of the window; keep the words clear of it.
    for (shell::Label* label : {&Label1, &Label2})
        if (auto* text = qobject_cast<QLabel*>(label->widget()))
            text->setContentsMargins(0, 0, 4, 0);
    Label41.setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    QFont small = Label41.widget()->font();
    small.setPointSize(8);
    Label41.widget()->setFont(small);

    Command1.onClick = [this] { hide(); };
}
