#include "editor/form2.h"

#include "game/forms.h"

Form2::Form2(Forms& forms) : Window(QStringLiteral("РЕДАКТОР КАРТ"), 7275, 4770), m_forms(forms)
{
    for (int n = 1; n <= 40; ++n) {
        const int x = (n - 1) % 10 + 1;
        const int y = (n - 1) / 10 + 1;
        m_cells[n - 1] = std::make_unique<shell::Label>(*this, 720 * (x - 1), 120 + 720 * (y - 1), 735, 735, QStringLiteral("0"));
    }
}

Form2::~Form2() = default;
