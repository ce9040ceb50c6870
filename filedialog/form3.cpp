#include "filedialog/form3.h"

#include "game/forms.h"

Form3::Form3(Forms& forms)
    : Window(QStringLiteral("save - load"), 4575, 4380),
      Drive1(*this, 0, 0, 2175, 315),
      Dir1(*this, 0, 360, 2175, 2790, forms.startFolder()),
      File1(*this, 2160, 360, 2415, 2820, forms.startFolder()),
      Command1(*this, 0, 3240, 1335, 495, QStringLiteral("save")),
      Text1(*this, 1560, 3240, 1455, 495, QStringLiteral("1.dbm")),
      Command2(*this, 0, 3840, 1335, 495, QStringLiteral("load")),
      Option1(*this, 3120, 3240, 255, 255),
      Option2(*this, 3120, 3600, 255, 255),
      Label1(*this, 3480, 3240, 975, 195, QStringLiteral("все файлы")),
      Label2(*this, 3480, 3600, 1035, 195, QStringLiteral("только dbm")),
      Timer1(100),
      m_forms(forms)
{
    Option1.setValue(true);
}
