// Painting by dragging across the editor's cells, and undo and redo of its changes with the keys,
// through the real window.
#include "editor/form2.h"
#include "filedialog/form3.h"
#include "files/map_dbm.h"
#include "game/form1.h"
#include "support/fakes.h"
#include "support/pointer.h"
#include "support/qt_print.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWindow>
#include <gtest/gtest.h>

using testing_support::GameFixture;
using testing_support::clickControl;

void PrintTo(const Form2::CellFace& f, std::ostream* os)
{
    *os << f.caption.toStdString() << '/' << std::hex << f.color << std::dec;
}

namespace {

// A drag as the window system delivers it: the pressed label keeps the mouse, so the moves and the
// release go to it, relative to it. Points are in cells from the grid's top left (48 pixels a
// cell, the grid 8 pixels down); the last point is where the button is released.
void drag(Form2& ed, int pressed, std::initializer_list<QPointF> points)
{
    QWidget* label = ed.Label(pressed).widget();
    QTest::mousePress(label, Qt::LeftButton, Qt::NoModifier, label->rect().center());
    QPoint at;
    for (QPointF p : points) {
        at = label->mapFrom(ed.surface(), QPoint(static_cast<int>(p.x() * 48), 8 + static_cast<int>(p.y() * 48)));
        QMouseEvent move(QEvent::MouseMove, QPointF(at), QPointF(label->mapToGlobal(at)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(label, &move);
    }
    QTest::mouseRelease(label, Qt::LeftButton, Qt::NoModifier, at);
}

// A key as the window system hands it to the editor's window; scan codes are X11's (the kernel's
// key code + 8).
constexpr quint32 kZPlace = 52, kYPlace = 29;
void press(Form2& ed, int key, quint32 scanCode, Qt::KeyboardModifiers mods, const QString& text)
{
    QKeyEvent e(QEvent::KeyPress, key, mods, scanCode, 0, 0, text);
    QApplication::sendEvent(ed.topLevel()->windowHandle(), &e);
}
void undoKey(Form2& ed) { press(ed, Qt::Key_Z, kZPlace, Qt::ControlModifier, QStringLiteral("\x1a")); }
void redoKey(Form2& ed) { press(ed, Qt::Key_Y, kYPlace, Qt::ControlModifier, QStringLiteral("\x19")); }

class EditorStrokes : public ::testing::Test {
protected:
    void SetUp() override
    {
        f1 = &fx.start();
        fx.tick();
        f1->editor.click();
        ed = &fx.forms().form2();
        design.fill({QStringLiteral("0"), kInactiveBorderGrey});
    }
    Form2::Faces designWith(std::initializer_list<int> labels, const QString& caption, shell::Color color) const
    {
        Form2::Faces f = design;
        for (int n : labels)
            f[static_cast<std::size_t>(n - 1)] = {caption, color};
        return f;
    }

    GameFixture fx;
    Form1* f1 = nullptr;
    Form2* ed = nullptr;
    Form2::Faces design;
};

} // namespace

TEST_F(EditorStrokes, DragPaintsEveryCellOnItsWayAndAClickPaintsOne)
{
    clickControl(ed->Option3);
    f1->Text1.setText("x");
    // Few moves, as from a fast hand: from cell 1 to cell 14 at once, down out of the grid, along
    // below it, and back up into cell 37.
    drag(*ed, 1, {{3.5, 1.75}, {3.5, 4.5}, {6.5, 4.5}, {6.5, 3.5}});
    EXPECT_EQ(ed->faces(), designWith({1, 2, 12, 13, 14, 24, 34, 37}, "3", kRed));
    EXPECT_EQ(f1->Text1.text(), "x"); // no hint

    clickControl(ed->Option1);
    Form2::Faces want = ed->faces();
    want[39] = {"1", kGreen};
    clickControl(ed->Label(40));
    EXPECT_EQ(ed->faces(), want);
}

TEST_F(EditorStrokes, UndoTakesBackClicksDragsAndLoadsOneByOneAndRedoDoesThemAgain)
{
    clickControl(ed->Option3);
    clickControl(ed->Label(5));
    const Form2::Faces afterClick = ed->faces();
    drag(*ed, 1, {{3.5, 1.75}});
    const Form2::Faces afterDrag = ed->faces();
    ASSERT_EQ(afterDrag, designWith({1, 2, 5, 12, 13, 14}, "3", kRed));
    clickControl(ed->Label(5)); // changes nothing: no step
    drag(*ed, 12, {{1.5, 0.5}});

    // A map load through the save/load dialog.
    CellGrid g{};
    g[1][1] = 1;
    fx.writeFile("loaded.dbm", map_dbm::text(g));
    clickControl(ed->Command1); // "save-load"
    fx.tick();
    fx.forms().form3().Text1.setText("loaded.dbm");
    clickControl(fx.forms().form3().Command2);
    fx.tick();
    ASSERT_EQ(f1->cells, g);
    f1->editor.click();
    const Form2::Faces afterLoad = ed->faces();

    const Form2::Faces* backwards[] = {&afterDrag, &afterClick, &design, &design}; // the last: nothing left
    for (const Form2::Faces* want : backwards) {
        undoKey(*ed);
        EXPECT_EQ(ed->faces(), *want);
    }
    redoKey(*ed);
    EXPECT_EQ(ed->faces(), afterClick);
    press(*ed, Qt::Key_Z, kZPlace, Qt::ControlModifier | Qt::ShiftModifier, QStringLiteral("\x1a"));
    EXPECT_EQ(ed->faces(), afterDrag);
    redoKey(*ed);
    EXPECT_EQ(ed->faces(), afterLoad);
    undoKey(*ed);

    // A new change drops the load undone.
    clickControl(ed->Label(40));
    const Form2::Faces branched = ed->faces();
    redoKey(*ed);
    EXPECT_EQ(ed->faces(), branched);
    EXPECT_EQ(f1->cells, g); // the game's cells change only through the editor's commands

    // The close box destroys the editor and its history.
    ed->closeBox();
    QCoreApplication::processEvents();
    f1->editor.click();
    undoKey(fx.forms().form2());
    EXPECT_EQ(fx.forms().form2().faces(), design);
}

TEST_F(EditorStrokes, UndoReachesBackAtLeastAHundredStepsAndForgetsTheOldest)
{
    using History = editor::GridHistory<Form2::CellFace, 40>;
    static_assert(History::kMaxSteps >= 100);
    constexpr int kSteps = static_cast<int>(History::kMaxSteps) + 10;
    shell::OptionButton* brushes[] = {&ed->Option3, &ed->Option2, &ed->Option1, &ed->Option4};
    std::vector<Form2::Faces> after{ed->faces()};
    for (int i = 0; i < kSteps; ++i) {
        if (i % 40 == 0)
            clickControl(*brushes[(i / 40) % 4]);
        clickControl(ed->Label(i % 40 + 1)); // every click changes its cell
        after.push_back(ed->faces());
    }
    for (int i = 0; i < 100; ++i)
        undoKey(*ed);
    EXPECT_EQ(ed->faces(), after[kSteps - 100]);
    for (int i = 100; i < kSteps; ++i)
        undoKey(*ed);
    EXPECT_EQ(ed->faces(), after[kSteps - History::kMaxSteps]);
}

// Under the Russian layout Ctrl with the key in Z's place types "Я" and undoes; with the key in
// Y's place, "Н", it redoes; whichever control has the focus.
TEST_F(EditorStrokes, UndoAndRedoKeysGoByTheirPlaceUnderTheRussianLayout)
{
    clickControl(ed->Option2);
    clickControl(ed->Label(3));
    const Form2::Faces painted = ed->faces();
    ed->Command3.setFocus();

    press(*ed, 0x042F, kZPlace, Qt::NoModifier, QStringLiteral("я")); // without Ctrl: nothing
    EXPECT_EQ(ed->faces(), painted);
    press(*ed, 0x042F, kZPlace, Qt::ControlModifier, QStringLiteral("я"));
    EXPECT_EQ(ed->faces(), design);
    press(*ed, 0x041D, kYPlace, Qt::ControlModifier, QStringLiteral("н"));
    EXPECT_EQ(ed->faces(), painted);
}
