#include "dialogs/form6.h"

#include "game/forms.h"

Form6::Form6(Forms& forms)
    : Window(QStringLiteral("О программе"), 4905, 4755),
      Picture1(*this, 0, 0, 2595, 2865),
      Label1(*this, 2640, 0, 2295, 2175),
      Label2(*this, 0, 2880, 4935, 1335,
             QStringLiteral("Программа не работает под windows  xp. Под windows 9x/2000/nt работает стабильно. "
                            "Если игра идет слишком быстро либо слишком медленно подредактируйте скорость в опциях.")),
      Command1(*this, 3240, 4320, 1695, 375, QStringLiteral("назад")),
      Label41(*this, 0, 4440, 855, 255, QStringLiteral("V 2.12")),
      m_forms(forms)
{
    Command1.onClick = [this] { hide(); };
}
