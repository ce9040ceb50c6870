#pragma once
// The records window "РЕКОРДЫ": the ten best runs from records.txt, the newest one marked.
//
// Modeless, like the about window: the game goes on behind it. It reads the file each time it is
// shown and whenever a run enters the table while it is up.
#include "files/records_txt.h"
#include "shell/controls.h"
#include "shell/window.h"

#include <array>
#include <memory>

class Forms;

class Form7 : public shell::Window {
public:
    explicit Form7(Forms& forms);
    ~Form7() override;

    shell::Label Label1; // heading
    shell::Label Label2, Label3, Label4; // column heads: "очки", "уровень", "когда"
    shell::Label Label5; // what the file says when it cannot be read, or that the table is empty
    shell::Button Command1; // "назад"

    // One line of the table: place, score, level, date and time.
    struct Row {
        std::unique_ptr<shell::Label> place, score, level, when;
    };
    const Row& row(int i) const { return m_rows.at(static_cast<std::size_t>(i)); }
    // The line marked as the newest record, or -1.
    int marked() const { return m_marked; }

    // Reads records.txt afresh and fills the table.
    void showTable();

private:
    Forms& m_forms;
    std::array<Row, records_txt::kTableSize> m_rows;
    int m_marked = -1;
};
