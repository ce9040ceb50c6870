#include "editor/form2.h"

#include "assets/art.h"
#include "editor/cell_grid.h"
#include "filedialog/form3.h"
#include "game/form1.h"
#include "game/forms.h"
#include "view/cell_marks.h"

#include <QFont>
#include <QWidget>

namespace {
// Swatch colours as designed (full 255; the painted cells use 250).
constexpr shell::Color kSwatchGreen = shell::rgb(0, 255, 0);
constexpr shell::Color kSwatchYellow = shell::rgb(255, 255, 0);
constexpr shell::Color kSwatchRed = shell::rgb(255, 0, 0);
// The version label's green, dark enough to read on the light background.
constexpr shell::Color kVersionGreen = shell::rgb(0, 128, 0);

const QString kHintGreen = QStringLiteral("ЗЕЛЁНАЯ КЛЕТКА");
const QString kHintYellow = QStringLiteral("ЖЕЛТАЯ КЛЕТКА");
const QString kHintRed = QStringLiteral("КРАСНАЯ КЛЕТКА");
const QString kHintClear = QStringLiteral("ОЧИСТИТЬ КЛЕТКУ");

constexpr int kLeftButton = 1;
constexpr int kShift = 1;
constexpr int kCtrl = 2;
constexpr int kKeyY = 'Y';
constexpr int kKeyZ = 'Z';
static_assert(editor::kColumns * editor::kRows == 40);
} // namespace

Form2::Form2(Forms& forms)
    : Window(QStringLiteral("РЕДАКТОР КАРТ"), 7275, 4770),
      Option1(*this, 240, 3480, 255, 195),
      Option2(*this, 840, 3480, 255, 195),
      Option3(*this, 1560, 3480, 255, 195),
      Option4(*this, 2280, 3480, 255, 195),
      Shape1(*this, 60, 3840, 495, 855, shell::Shape::Kind::Rectangle),
      Shape2(*this, 720, 3840, 495, 855, shell::Shape::Kind::Rectangle),
      Shape3(*this, 1440, 3840, 495, 855, shell::Shape::Kind::Rectangle),
      Shape4(*this, 2160, 3840, 495, 855, shell::Shape::Kind::Rectangle),
      Command2(*this, 2880, 3840, 1215, 495, QStringLiteral("готово")),
      Command3(*this, 4080, 3840, 1215, 495, QStringLiteral("нет")),
      Label41(*this, 6360, 4440, 855, 255, QStringLiteral("V 2.10")),
      Command1(*this, 5280, 3840, 1335, 495, QStringLiteral("save-load")),
      m_forms(forms)
{
    setIcon(art::appIcon());
    setBackColor(kActiveBorderGrey);
    setBackgroundPicture(&art::panelBackground);

    QFont cellFont;
    cellFont.setBold(true);
    for (int n = 1; n <= 40; ++n) {
        auto label = std::make_unique<shell::Label>(*this, editor::kPitchTw * static_cast<float>(cellX(n) - 1),
                                                    editor::kGridTopTw + editor::kPitchTw * static_cast<float>(cellY(n) - 1),
                                                    editor::kCellTw, editor::kCellTw, QStringLiteral("0"));
        label->setBackColor(kInactiveBorderGrey);
        label->setBorder(true);
        label->setAlignment(Qt::AlignCenter);
        label->setFocusPolicy(Qt::NoFocus);
        label->widget()->setFont(cellFont);
        label->onClick = [this, n] { Label_Click(n); };
        label->onMouseDown = [this, n](const shell::MouseArgs& a) { Label_MouseDown(n, a); };
        label->onMouseMove = [this, n](const shell::MouseArgs& a) { Label_MouseMove(n, a); };
        label->onMouseUp = [this, n](const shell::MouseArgs& a) { Label_MouseUp(n, a); };
        m_cells[static_cast<std::size_t>(n - 1)] = std::move(label);
    }

    Shape1.setFillColor(kSwatchGreen);
    Shape2.setFillColor(kSwatchYellow);
    Shape3.setFillColor(kSwatchRed);
    Shape4.setFillColor(std::nullopt);
    Shape4.setBorderColor(std::nullopt);

    Label41.setForeColor(kVersionGreen);
    Label41.setTransparent(true);
    Label41.setFocusPolicy(Qt::NoFocus);

    Command2.setToolTip(QStringLiteral("играть на карте"));
    Command1.setToolTip(QStringLiteral("загрузить либо сохранить карту"));

    Option1.onClick = [this] { Option1_Click(); };
    Option2.onClick = [this] { Option2_Click(); };
    Option3.onClick = [this] { Option3_Click(); };
    Option4.onClick = [this] { Option4_Click(); };
    Option1.onMouseMove = [this](const shell::MouseArgs& a) { Option1_MouseMove(a); };
    Option2.onMouseMove = [this](const shell::MouseArgs& a) { Option2_MouseMove(a); };
    Option3.onMouseMove = [this](const shell::MouseArgs& a) { Option3_MouseMove(a); };
    Option4.onMouseMove = [this](const shell::MouseArgs& a) { Option4_MouseMove(a); };
    onMouseMove = [this](const shell::MouseArgs& a) { Form_MouseMove(a); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command1.onMouseMove = [this](const shell::MouseArgs& a) { Command1_MouseMove(a); };
    Command2.onMouseMove = [this](const shell::MouseArgs& a) { Command2_MouseMove(a); };
    Command3.onMouseMove = [this](const shell::MouseArgs& a) { Command3_MouseMove(a); };
    onKeyDown = [this](const shell::KeyArgs& k) { return Form_KeyDown(k.keyCode, k.shift); };
    showMarks(forms.view().cellMarks);
}

void Form2::showMarks(bool on)
{
    const shell::CaptionOverlay cellMark = on ? view::captionMarkOverlay() : shell::CaptionOverlay();
    for (auto& cell : m_cells)
        cell->setOverlay(cellMark);
    Shape1.setOverlay(on ? view::markOverlay(1) : shell::Overlay());
    Shape2.setOverlay(on ? view::markOverlay(2) : shell::Overlay());
    Shape3.setOverlay(on ? view::markOverlay(3) : shell::Overlay());
}

Form2::~Form2() = default;

void Form2::open()
{
    show();
    if (m_shownBefore)
        return; // the window gives the focus back to the control that had it
    m_shownBefore = true;
    // On its first opening the green brush takes the focus and is selected, with its hint.
    if (!Option1.value())
        Option1.click();
    Option1.setFocus();
}

void Form2::hint(const QString& text)
{
    m_forms.form1().Text1.setText(text);
}

// The four tests in this order, each reading its brush afresh; with no brush selected the cell
// stays as it is.
void Form2::paintCell(int n)
{
    shell::Label& cell = Label(n);
    if (Option1.value()) {
        cell.setCaption(QStringLiteral("1"));
        cell.setBackColor(kGreen);
    }
    if (Option2.value()) {
        cell.setCaption(QStringLiteral("2"));
        cell.setBackColor(kYellow);
    }
    if (Option3.value()) {
        cell.setCaption(QStringLiteral("3"));
        cell.setBackColor(kRed);
    }
    if (Option4.value()) {
        cell.setCaption(QStringLiteral("0"));
        cell.setBackColor(backColor());
    }
}

// A click is one step of the history; within a stroke (a click with the mouse is a press and a
// release too) the stroke records it.
void Form2::Label_Click(int n)
{
    const Faces before = faces();
    paintCell(n);
    if (!m_stroke)
        m_history.record(before, faces());
}

// A press with the left button starts a stroke and paints its cell.
void Form2::Label_MouseDown(int n, const shell::MouseArgs& a)
{
    if (a.button != kLeftButton)
        return;
    endStroke();
    m_stroke = Stroke{faces(), Label(n).left() + a.x, Label(n).top() + a.y};
    paintCell(n);
}

// The pressed label keeps the mouse for the whole stroke, so the cells are found by where the
// pointer is on the window. Moves come seldom when the pointer is fast: every cell on the straight
// way from the last place is painted. Moves over the cells change no hint.
void Form2::Label_MouseMove(int n, const shell::MouseArgs& a)
{
    if (!m_stroke)
        return;
    if (!(a.button & kLeftButton)) { // the release never came here
        endStroke();
        return;
    }
    strokeTo(Label(n).left() + a.x, Label(n).top() + a.y);
}

void Form2::Label_MouseUp(int n, const shell::MouseArgs& a)
{
    if (!m_stroke || a.button != kLeftButton)
        return;
    strokeTo(Label(n).left() + a.x, Label(n).top() + a.y);
    endStroke();
}

void Form2::strokeTo(float x, float y)
{
    for (int n : editor::cellsAlong(m_stroke->x, m_stroke->y, x, y))
        paintCell(n);
    m_stroke->x = x;
    m_stroke->y = y;
}

// The whole stroke is one step of the history.
void Form2::endStroke()
{
    if (!m_stroke)
        return;
    m_history.record(m_stroke->before, faces());
    m_stroke.reset();
}

Form2::Faces Form2::faces() const
{
    Faces f;
    for (std::size_t i = 0; i < f.size(); ++i)
        f[i] = {m_cells[i]->caption(), m_cells[i]->backColor()};
    return f;
}

void Form2::showFaces(const Faces& faces)
{
    for (std::size_t i = 0; i < faces.size(); ++i) {
        m_cells[i]->setCaption(faces[i].caption);
        m_cells[i]->setBackColor(faces[i].color);
    }
}

void Form2::recordStep(const Faces& before)
{
    m_history.record(before, faces());
}

// A stroke still going is ended first, so that it is the step undone.
void Form2::undo()
{
    endStroke();
    Faces f = faces();
    if (m_history.undo(f))
        showFaces(f);
}

void Form2::redo()
{
    endStroke();
    Faces f = faces();
    if (m_history.redo(f))
        showFaces(f);
}

// Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo, whichever control has the focus. The keys are
// found by their place, so under the Russian layout Ctrl with "Я" and "Н" does the same.
bool Form2::Form_KeyDown(int keyCode, int shift)
{
    if (keyCode == kKeyZ && shift == kCtrl) {
        undo();
        return true;
    }
    if ((keyCode == kKeyY && shift == kCtrl) || (keyCode == kKeyZ && shift == (kCtrl | kShift))) {
        redo();
        return true;
    }
    return false;
}

void Form2::Option1_Click() { hint(kHintGreen); }
void Form2::Option2_Click() { hint(kHintYellow); }
void Form2::Option3_Click() { hint(kHintRed); }
void Form2::Option4_Click() { hint(kHintClear); }
void Form2::Option1_MouseMove(const shell::MouseArgs&) { hint(kHintGreen); }
void Form2::Option2_MouseMove(const shell::MouseArgs&) { hint(kHintYellow); }
void Form2::Option3_MouseMove(const shell::MouseArgs&) { hint(kHintRed); }
void Form2::Option4_MouseMove(const shell::MouseArgs&) { hint(kHintClear); }
void Form2::Form_MouseMove(const shell::MouseArgs&) { hint(QString()); }

void Form2::Command1_MouseMove(const shell::MouseArgs&) { hint(QStringLiteral("Ну сохранись...")); }
void Form2::Command2_MouseMove(const shell::MouseArgs&) { hint(QStringLiteral("ЕСЛИ ГОТОВ - ЖМИ")); }
void Form2::Command3_MouseMove(const shell::MouseArgs&) { hint(QStringLiteral("НЕХОЧЕШЬ И НЕ НАДО")); }

// "готово": the main window takes the grid on its next tick and plays on it.
void Form2::Command2_Click()
{
    m_forms.form1().Timer2.setEnabled(true);
    hide();
}

// "нет": just leave.
void Form2::Command3_Click()
{
    hide();
}

// "save-load": the main window takes the grid on its next tick, before the dialog can save it.
void Form2::Command1_Click()
{
    hide();
    m_forms.form1().Timer3.setEnabled(true);
    m_forms.form3().show();
}
