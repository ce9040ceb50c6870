#pragma once
// The options window "ОПЦИИ": sound on/off, speed, difficulty, next melody.
//
// Every change takes effect at once on the main window's state; nothing here is saved by the
// window itself (skor and num reach config.cfg at shutdown).
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
    shell::OptionButton Option1; // sound on; the ball tick reads it on every hit
    shell::OptionButton Option2; // sound off, selected at start
    shell::Label Label3;       // "звук", names Option1
    shell::Label Label2;       // "без звука", names Option2
    shell::Button Command1;    // "готово"
    shell::Frame Frame3;       // "сложность"
    shell::Button Command2, Command3, Command4; // easy, normal, nightmare
    shell::Frame Frame4;       // "музыка"
    shell::TextBox Text1;      // melody number
    shell::Button Command5;    // "подтвердить"
    shell::PictureBox Picture1;

    // A window brought back after its close box shows the current speed and next melody.
    void Form_Load() override;

    // The slider, on every change and scroll: skor = value / 10, Label1 shows the value.
    void HScroll1_Change();
    void Command1_Click(); // hides the window
    void Command2_Click(); // difficulty: main window heights
    void Command3_Click();
    void Command4_Click();
    void Command5_Click(); // the melody choice

private:
    Forms& m_forms;
};
