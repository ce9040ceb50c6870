// Painting by dragging across the editor's cells, through the real window.
#include "editor/form2.h"
#include "game/form1.h"
#include "support/fakes.h"
#include "support/pointer.h"
#include "support/qt_print.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>
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
