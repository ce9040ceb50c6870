#pragma once
// The map editor "РЕДАКТОР КАРТ": 40 cell labels painted with four brushes.
#include "shell/controls.h"
#include "shell/window.h"

#include <array>
#include <memory>

class Forms;

class Form2 : public shell::Window {
public:
    explicit Form2(Forms& forms);
    ~Form2() override;

    // Label(n), n = 1..40, is cell x = (n - 1) mod 10 + 1, y = (n - 1) div 10 + 1.
    shell::Label& Label(int n) { return *m_cells.at(static_cast<std::size_t>(n - 1)); }

private:
    Forms& m_forms;
    std::array<std::unique_ptr<shell::Label>, 40> m_cells;
};
