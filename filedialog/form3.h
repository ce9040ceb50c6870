#pragma once
// The save/load dialog "save - load": picks the folder and name of a map file.
// Its folder list is the program's working folder.
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
    shell::Label Label1;
    shell::Label Label2;
    shell::Timer Timer1; // 100 ms: the name box follows the file list

private:
    Forms& m_forms;
};
