// Menu entries of the main window that open the options and about windows.
#include "dialogs/form5.h"
#include "dialogs/form6.h"
#include "game/form1.h"
#include "game/forms.h"

void Form1::sped_Click()
{
    m_forms.form5().show();
}

void Form1::about_Click()
{
    m_forms.form6().show();
}
