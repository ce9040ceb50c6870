// Map save: the cells to the file named in the save/load dialog.
//
// The player is first shown the joined path (folder, "/", name), exactly as joined, so the root
// folder shows "//". The file written is the one shown: the path is fixed before the box, since
// other handlers may change `file` while the box waits (a melody that ends sets it to the next
// melody's name). The cells are written as they are once the box has been closed. The file is
// written whole: a failure (empty name, the name of a folder, no permission, a full disk, a disk
// gone read-only or failing) keeps every byte of any earlier file and tells the player why.
// Timer5 ends stopped in every case.
#include "filedialog/form3.h"
#include "files/map_dbm.h"
#include "game/form1.h"
#include "game/forms.h"
#include "messages/file_messages.h"
#include "shell/files.h"
#include "shell/program.h"

void Form1::Timer5_Tick()
{
    Timer5.setEnabled(false);
    Form3& dialog = m_forms.form3();
    file = dialog.Text1.text();
    const QString path = shell::joinPath(dialog.Dir1.path(), "/", file);
    shell::msgBox(path);
    const shell::WriteResult written = map_dbm::write(path, cells);
    if (!written)
        shell::msgBox(messages::mapWriteFailed(path, written));
    if (!written.inPlace())
        return;
    // The new file shows in the list at once, if the dialog is still there.
    if (m_forms.form3Exists())
        m_forms.form3().File1.refresh();
}
