// Menu entries of the main window that open the options, about and records windows.
#include "dialogs/form5.h"
#include "dialogs/form6.h"
#include "dialogs/form7.h"
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

void Form1::rekord_Click()
{
    Form7& table = m_forms.form7();
    table.showTable();
    table.show();
}
