#include "game/form4.h"

#include "game/forms.h"

Form4::Form4(Forms& forms)
    : Window(QStringLiteral("select level"), 2010, 1860),
      Text1(*this, 120, 120, 1815, 855, QStringLiteral("1")),
      Command1(*this, 120, 1080, 1815, 735, QStringLiteral("уровень. сделано Relk'ом")),
      m_forms(forms)
{
}
