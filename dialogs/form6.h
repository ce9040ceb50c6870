#pragma once
// The about window "О программе".
#include "shell/controls.h"
#include "shell/window.h"

class Forms;

class Form6 : public shell::Window {
public:
    explicit Form6(Forms&); // made like every window; it needs nothing of the others

    shell::PictureBox Picture1;
    shell::Label Label1;  // credit line
    shell::Label Label2;  // note on running the game
    shell::Button Command1; // "назад"
    shell::Label Label41; // version
};
