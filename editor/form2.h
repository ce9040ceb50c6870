#pragma once
// The map editor "РЕДАКТОР КАРТ": 40 cell labels painted with four brushes.
//
// The labels are the editor's map: a label's caption is its cell's value as text and its
// background that value's colour. Painting never touches the game's cells; the commands have
// the main window copy the captions over on its next timer tick. Hints go to the main window's
// hint line.
//
// A click paints one cell; a press and a drag with the left button paint every cell the pointer
// passes. Ctrl+Z undoes the last change of the labels (a click, a whole drag, a map load), Ctrl+Y
// and Ctrl+Shift+Z redo it; undo and redo change the labels only, as painting does. The history
// belongs to the window: the close box, which destroys it, takes the history along.
#include "editor/grid_history.h"
#include "maps/cells.h"
#include "shell/controls.h"
#include "shell/window.h"

#include <array>
#include <memory>
#include <optional>

class Forms;

// The editor's two system greys: the window's own background (active border), and the background
// of a cell that has never been painted (kInactiveBorderGrey, maps/cells.h), the lighter of the two.
inline constexpr shell::Color kActiveBorderGrey = shell::rgb(192, 192, 192);

class Form2 : public shell::Window {
public:
    explicit Form2(Forms& forms);
    ~Form2() override;

    // Label(n), n = 1..40, is cell x = (n - 1) mod 10 + 1, y = (n - 1) div 10 + 1.
    shell::Label& Label(int n) { return *m_cells.at(static_cast<std::size_t>(n - 1)); }
    static int cellX(int n) { return (n - 1) % 10 + 1; }
    static int cellY(int n) { return (n - 1) / 10 + 1; }

    // Brushes: green, yellow, red, clear; one group, none selected at design.
    shell::OptionButton Option1, Option2, Option3, Option4;
    shell::Shape Shape1, Shape2, Shape3, Shape4; // swatches below the brushes
    shell::Button Command2; // "готово": play the painted map
    shell::Button Command3; // "нет": leave the editor
    shell::Label Label41;   // version
    shell::Button Command1; // "save-load"

    // Shows the editor. The first time a window shows, the focus goes to the first control that
    // takes it, the green brush, and a brush taking the focus is selected and writes its hint;
    // later openings keep the brush and the focus they had.
    void open();
    // Cell marks on the cells and on the brushes' swatches (view/cell_marks.h).
    void showMarks(bool on);

    // One cell label as the player sees it.
    struct CellFace {
        QString caption;
        shell::Color color = 0;
        bool operator==(const CellFace&) const = default;
    };
    using Faces = std::array<CellFace, 40>; // Label(n) at n - 1
    Faces faces() const;
    // Records what changed in the labels since `before` as one step of the undo history (a map
    // load rewrites them from outside).
    void recordStep(const Faces& before);
    void undo();
    void redo();

    void Label_Click(int n); // paints cell label n with the selected brush
    void Label_MouseDown(int n, const shell::MouseArgs& a);
    void Label_MouseMove(int n, const shell::MouseArgs& a);
    void Label_MouseUp(int n, const shell::MouseArgs& a);
    bool Form_KeyDown(int keyCode, int shift);
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Option4_Click();
    void Option1_MouseMove(const shell::MouseArgs& a);
    void Option2_MouseMove(const shell::MouseArgs& a);
    void Option3_MouseMove(const shell::MouseArgs& a);
    void Option4_MouseMove(const shell::MouseArgs& a);
    void Form_MouseMove(const shell::MouseArgs& a);
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command1_MouseMove(const shell::MouseArgs& a);
    void Command2_MouseMove(const shell::MouseArgs& a);
    void Command3_MouseMove(const shell::MouseArgs& a);

private:
    void hint(const QString& text);
    void paintCell(int n);
    void showFaces(const Faces& faces);
    void strokeTo(float x, float y);
    void endStroke();

    // A drag in progress: the labels as they were at the press, and the pointer's last place in
    // twips of the window.
    struct Stroke {
        Faces before;
        float x, y;
    };

    Forms& m_forms;
    std::array<std::unique_ptr<shell::Label>, 40> m_cells;
    bool m_shownBefore = false;
    std::optional<Stroke> m_stroke;
    editor::GridHistory<CellFace, 40> m_history;
};
