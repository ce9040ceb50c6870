#pragma once
// The options window "ОПЦИИ": sound on/off, speed, difficulty, next melody.
#include "shell/controls.h"
#include "shell/window.h"

class Forms;

class Form5 : public shell::Window {
public:
    explicit Form5(Forms& forms);

    shell::Frame Frame2;       // "скорость"
    shell::Label Label1;       // the slider's number
    shell::ScrollBar HScroll1; // 0..100 = 10 x skor
    shell::Frame Frame1;       // "звук"
    shell::OptionButton Option1; // sound on
    shell::OptionButton Option2; // sound off
    shell::Label Label3;
    shell::Label Label2;
    shell::Button Command1;    // "готово"
    shell::Frame Frame3;       // "сложность"
    shell::Button Command2, Command3, Command4;
    shell::Frame Frame4;       // "музыка"
    shell::TextBox Text1;      // melody number
    shell::Button Command5;    // "подтвердить"
    shell::PictureBox Picture1;

    // The slider, on every change and scroll: skor = value / 10, Label1 shows the value.
    void HScroll1_Change();

private:
    Forms& m_forms;
};
