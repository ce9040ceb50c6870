// Map load through the save/load dialog, and the two menu entries that open the dialog and the
// editor.
//
// A load that cannot read a whole map (no such file, an empty name, a folder, fewer than 40
// numbers, a token that is not a number) changes nothing: the cells, the playfield and the
// editor's labels stay as they were, the dialog stays open, the player is told why, and Timer6
// ends stopped.
#include "editor/form2.h"
#include "filedialog/form3.h"
#include "files/map_dbm.h"
#include "game/form1.h"
#include "game/forms.h"
#include "messages/file_messages.h"
#include "shell/basic.h"
#include "shell/files.h"
#include "shell/program.h"

namespace {

// The editor's labels show the loaded map: every caption takes its value; the background takes
// the value's colour, the editor's own background for 0; other values keep the label's colour.
void showInEditor(Form2& editor, const CellGrid& cells)
{
    for (int n = 1; n <= 40; ++n)
        editor.Label(n).setCaption(shell::numText(cells[Form2::cellX(n)][Form2::cellY(n)]));
    for (int n = 1; n <= 40; ++n) {
        const float v = cells[Form2::cellX(n)][Form2::cellY(n)];
        if (const std::optional<shell::Color> color = cellColor(v, editor.backColor()))
            editor.Label(n).setBackColor(*color);
    }
}

} // namespace

void Form1::Timer6_Tick()
{
    Timer6.setEnabled(false);
    Form3& dialog = m_forms.form3();
    file = dialog.Text1.text();
    const QString path = shell::joinPath(dialog.Dir1.path(), "\\", file);
    int error = 0;
    const map_dbm::ReadStatus status = map_dbm::read(path, cells, &error);
    if (status != map_dbm::ReadStatus::Ok) {
        shell::msgBox(messages::mapReadFailed(status, path, error));
        return;
    }
    drawGrid();
    dialog.hide();
    Timer1.setEnabled(true);
    // The load is one step of the editor's undo history. An editor created here, hidden, records
    // it too: undoing it there brings back the design grid.
    Form2& editor = m_forms.form2();
    const Form2::Faces before = editor.faces();
    showInEditor(editor, cells);
    editor.recordStep(before);
}

// "карты": the dialog, whose name box then follows the file list. Play goes on.
void Form1::map_Click()
{
    Form3& dialog = m_forms.form3();
    dialog.show();
    dialog.Timer1.setEnabled(true);
}

// "редактор карт": play stops while the editor is open.
void Form1::editor_Click()
{
    Timer1.setEnabled(false);
    m_forms.form2().open();
}
