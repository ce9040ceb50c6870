#pragma once
// The hidden level-jump dialog "select level": a large number field and one button.
#include "shell/controls.h"
#include "shell/window.h"

class Forms;

class Form4 : public shell::Window {
public:
    explicit Form4(Forms& forms);

    shell::TextBox Text1;   // level number to jump to
    shell::Button Command1; // applies it through the main window's Timer7

    // Shows the dialog (modeless) with the number selected, ready to be typed over.
    void open();
    void Command1_Click();

private:
    Forms& m_forms;
};
