// The editor's grid to the playfield: Timer2 ("готово") and Timer3 ("save-load", start-up).
//
// Both read the 40 captions of the editor's cell labels into the cells (reading creates the
// editor, hidden, if it does not exist yet). A caption is read as a number; one that is not a
// number (the editor itself never writes one) gives 0, an empty cell. Row 0 and column 0 are
// never touched.
#include "editor/form2.h"
#include "game/form1.h"
#include "game/forms.h"
#include "shell/basic.h"

namespace {

void takeEditorGrid(Form1& f1)
{
    Form2& editor = f1.forms().form2();
    for (int n = 1; n <= 40; ++n)
        f1.cells[Form2::cellX(n)][Form2::cellY(n)] = shell::textToNumber(editor.Label(n).caption()).value_or(0.0f);
}

} // namespace

// Empty cells are left unpainted; the ball tick started here repaints the whole grid anyway.
void Form1::Timer2_Tick()
{
    takeEditorGrid(*this);
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            if (cells[x][y] != 0)
                drawCell(x, y);
    Timer2.setEnabled(false);
    Timer1.setEnabled(true);
}

// Every cell is painted, empty ones in the background colour; play stays as it was.
void Form1::Timer3_Tick()
{
    takeEditorGrid(*this);
    drawGrid();
    Timer3.setEnabled(false);
}
