#pragma once
// The save/load dialog "save - load": picks the folder and name of a map file.
//
// Its folder list is the program's working folder: the settings, the saved game and every map
// are opened in Dir1.path(). The dialog loads and saves nothing itself; "save" and "load" start
// the main window's Timer5 and Timer6, which take the folder and the name from here.
// A drive or folder that cannot be read is refused: the previous one stays and the player is told.
// The file list shows beside each file that reads as a map a picture of its cells, read only to
// be drawn (filedialog/map_preview.h).
#include "shell/controls.h"
#include "shell/filelists.h"
#include "shell/timer.h"
#include "shell/window.h"

class Forms;

class Form3 : public shell::Window {
public:
    explicit Form3(Forms& forms);

    shell::DriveList Drive1;
    shell::DirList Dir1;
    shell::FileList File1;
    shell::Button Command1; // "save"
    shell::TextBox Text1;   // file name, "1.dbm"
    shell::Button Command2; // "load"
    shell::OptionButton Option1; // all files
    shell::OptionButton Option2; // only *.dbm
    shell::Label Label1;    // "все файлы"
    shell::Label Label2;    // "только dbm"
    shell::Timer Timer1;    // 100 ms: the name box follows the file list

    // Cell marks on the pictures of the maps (view/cell_marks.h).
    void showMarks(bool on);

    void Drive1_Change();
    void Dir1_Change();
    void Option1_Click();
    void Option2_Click();
    void Timer1_Tick();
    void Command1_Click();
    void Command2_Click();

private:
    Forms& m_forms;
};
