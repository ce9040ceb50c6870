#pragma once
// The start screen: three difficulties (main window heights) and the start button.
#include "shell/controls.h"
#include "shell/window.h"

class Forms;

class For6 : public shell::Window {
public:
    explicit For6(Forms& forms);

    shell::PictureBox Picture4; // background, behind everything
    shell::PictureBox Picture1; // title banner
    shell::PictureBox Picture2; // scene
    shell::PictureBox Picture3; // brick column
    shell::Button Command1;     // "ЛЕГКО"
    shell::Button Command2;     // "НОРМА"
    shell::Button Command3;     // "КОШМАР"
    shell::Button Command4;     // "СТАРТ"
    shell::PictureBox skul;     // marks the chosen difficulty

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Form_Unload() override; // closing the start screen ends the program, settings unsaved

private:
    Forms& m_forms;
};
