#pragma once
// The main window's menu "вид": the cell marks, on or off, and the size of the game's windows.
//
// Both are kept in view.cfg, written as soon as a choice is made. The marks show at once on the
// playfield, in the editor and on the map pictures of the save/load dialog. A new window size
// takes effect at the next start, as the player is told; a size the screen cannot hold is offered
// disabled, its tooltip saying so.
#include "shell/window.h"

#include <array>

class Forms;

namespace view {

class ViewMenu {
public:
    ViewMenu(shell::Window& main, Forms& forms);

    shell::MenuItem vid;   // "вид"
    shell::MenuItem marks; // "метки клеток"
    shell::MenuItem razmer; // "размер окон"
    std::array<shell::MenuItem, 4> sizes; // 100 %, 150 %, 200 %, fit: the order of view_cfg::kSizeChoices

    void marks_Click();
    void size_Click(std::size_t i);

private:
    void tickSize();

    Forms& m_forms;
};

} // namespace view
