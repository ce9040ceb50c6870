// The map editor through its real window: cell numbering, brushes, hints, the focus rule on
// opening, the close box, and the three commands with the main window's grid transfer.
#include "editor/form2.h"
#include "filedialog/form3.h"
#include "files/map_dbm.h"
#include "game/form1.h"
#include "support/fakes.h"
#include "support/pointer.h"
#include "support/qt_print.h"

#include <QCoreApplication>
#include <QWidget>
#include <gtest/gtest.h>

using testing_support::GameFixture;
using testing_support::clickControl;
using testing_support::moveOver;
using testing_support::moveTo;

namespace {

constexpr shell::Color kWhite = shell::rgb(255, 255, 255);

// The middle of cell (x, y) on the main window, in millimetres.
std::optional<shell::Color> drawnAt(Form1& f1, int x, int y)
{
    return f1.drawnColorAt(15.0f * x + 7.5f, 15.0f * y + 7.5f);
}

class Editor : public ::testing::Test {
protected:
    void SetUp() override
    {
        f1 = &fx.start();
        fx.tick(); // start-up: Timer3 copies the editor's design grid, Timer4 starts the music
        fx.messages.clear();
    }
    Form2& openEditor()
    {
        f1->editor.click();
        return fx.forms().form2();
    }
    void paint(Form2& ed, shell::OptionButton& brush, std::initializer_list<int> labels)
    {
        clickControl(brush);
        for (int n : labels)
            clickControl(ed.Label(n));
    }

    GameFixture fx;
    Form1* f1 = nullptr;
};

} // namespace

TEST_F(Editor, LabelsStandRowByRowWithSharedBorders)
{
    Form2& ed = openEditor();
    EXPECT_EQ(ed.Label(10).widget()->y(), ed.Label(1).widget()->y());
    EXPECT_GT(ed.Label(10).widget()->x(), ed.Label(9).widget()->x());
    // Neighbours overlap by one pixel so their borders coincide.
    EXPECT_EQ(ed.Label(2).widget()->x(), ed.Label(1).widget()->geometry().right());
    EXPECT_EQ(ed.Label(11).widget()->y(), ed.Label(1).widget()->geometry().bottom());
    EXPECT_EQ(ed.Label(11).widget()->x(), ed.Label(1).widget()->x());
}

TEST_F(Editor, PaintedLabelsReachTheirOwnCellsOnly)
{
    f1->cells[0][0] = 7;
    f1->cells[0][2] = 8;
    f1->cells[1][0] = 9;
    Form2& ed = openEditor();
    paint(ed, ed.Option3, {1, 40});
    paint(ed, ed.Option2, {10});
    paint(ed, ed.Option1, {11});
    clickControl(ed.Command1); // save-load: Timer3 copies on the next tick
    fx.tick();

    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y) {
            float want = 0;
            if ((x == 1 && y == 1) || (x == 10 && y == 4))
                want = 3;
            else if (x == 10 && y == 1)
                want = 2;
            else if (x == 1 && y == 2)
                want = 1;
            EXPECT_EQ(f1->cells[x][y], want) << x << "," << y;
        }
    EXPECT_EQ(f1->cells[0][0], 7);
    EXPECT_EQ(f1->cells[0][2], 8);
    EXPECT_EQ(f1->cells[1][0], 9);
}

TEST_F(Editor, EachBrushPaintsItsValueAndColour)
{
    Form2& ed = openEditor();
    paint(ed, ed.Option1, {1});
    paint(ed, ed.Option2, {2});
    paint(ed, ed.Option3, {3});
    paint(ed, ed.Option2, {4, 4}); // twice: unchanged, no cycling
    EXPECT_EQ(ed.Label(1).caption(), "1");
    EXPECT_EQ(ed.Label(1).backColor(), kGreen);
    EXPECT_EQ(ed.Label(2).caption(), "2");
    EXPECT_EQ(ed.Label(2).backColor(), kYellow);
    EXPECT_EQ(ed.Label(3).caption(), "3");
    EXPECT_EQ(ed.Label(3).backColor(), kRed);
    EXPECT_EQ(ed.Label(4).caption(), "2");

    // A cell takes the brush's value whatever it held.
    paint(ed, ed.Option4, {3});
    EXPECT_EQ(ed.Label(3).caption(), "0");
    EXPECT_EQ(ed.Label(3).backColor(), ed.backColor());
    // Painting never touches the game's cells.
    EXPECT_EQ(f1->cells[1][1], 0);
}

TEST_F(Editor, WithoutABrushAClickChangesNothing)
{
    Form2& ed = fx.forms().form2(); // created by the start-up transfer, never opened
    ASSERT_FALSE(ed.Option1.value() || ed.Option2.value() || ed.Option3.value() || ed.Option4.value());
    clickControl(ed.Label(5));
    EXPECT_EQ(ed.Label(5).caption(), "0");
    EXPECT_EQ(ed.Label(5).backColor(), kInactiveBorderGrey);
}

TEST_F(Editor, ClearBrushOnAnUnpaintedCellTurnsItTheWindowGrey)
{
    Form2& ed = openEditor();
    ASSERT_NE(kInactiveBorderGrey, kActiveBorderGrey);
    EXPECT_EQ(ed.Label(7).backColor(), kInactiveBorderGrey);
    EXPECT_EQ(ed.backColor(), kActiveBorderGrey);
    paint(ed, ed.Option4, {7});
    EXPECT_EQ(ed.Label(7).caption(), "0");
    EXPECT_EQ(ed.Label(7).backColor(), kActiveBorderGrey);
}

TEST_F(Editor, FirstOpeningSelectsTheGreenBrushAndShowsItsHint)
{
    f1->Text1.setText("score");
    f1->Timer1.setEnabled(true);
    Form2& ed = openEditor();
    EXPECT_FALSE(f1->Timer1.enabled()); // the editor stops play
    EXPECT_TRUE(ed.visible());
    EXPECT_TRUE(ed.Option1.value());
    EXPECT_FALSE(ed.Option2.value() || ed.Option3.value() || ed.Option4.value());
    EXPECT_EQ(f1->Text1.text(), "ЗЕЛЁНАЯ КЛЕТКА");
    EXPECT_EQ(ed.topLevel()->focusWidget(), ed.Option1.widget());

    // Once the window system has delivered the focus, nothing more happens.
    QCoreApplication::processEvents();
    EXPECT_TRUE(ed.Option1.value());
    EXPECT_EQ(f1->Text1.text(), "ЗЕЛЁНАЯ КЛЕТКА");
}

TEST_F(Editor, HiddenEditorKeepsItsGridAndBrush)
{
    Form2& ed = openEditor();
    paint(ed, ed.Option2, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    paint(ed, ed.Option3, {40});
    clickControl(ed.Command3); // "нет"
    EXPECT_FALSE(ed.visible());
    f1->Text1.setText("other");

    Form2& again = openEditor();
    EXPECT_EQ(&again, &ed);
    for (int n = 1; n <= 9; ++n)
        EXPECT_EQ(again.Label(n).caption(), "2") << n;
    EXPECT_EQ(again.Label(40).caption(), "3");
    EXPECT_EQ(again.Label(40).backColor(), kRed);
    EXPECT_TRUE(again.Option3.value());
    EXPECT_FALSE(again.Option1.value());
    EXPECT_EQ(f1->Text1.text(), "other"); // no fresh green hint on a later opening
}

TEST_F(Editor, CloseBoxResetsTheEditorToItsDesign)
{
    Form2& ed = openEditor();
    paint(ed, ed.Option3, {1, 20, 33});
    ed.closeBox();
    EXPECT_FALSE(fx.forms().form2Exists());
    QCoreApplication::processEvents(); // the closed window is deleted after the event
    f1->Text1.setText("");

    Form2& fresh = openEditor();
    for (int n = 1; n <= 40; ++n) {
        EXPECT_EQ(fresh.Label(n).caption(), "0") << n;
        EXPECT_EQ(fresh.Label(n).backColor(), kInactiveBorderGrey) << n;
    }
    EXPECT_TRUE(fresh.Option1.value());
    EXPECT_FALSE(fresh.Option3.value());
    EXPECT_EQ(f1->Text1.text(), "ЗЕЛЁНАЯ КЛЕТКА");
}

TEST_F(Editor, BrushesAndCommandsWriteTheirHints)
{
    Form2& ed = openEditor();
    const std::pair<shell::Control*, const char*> hints[] = {
        {&ed.Option1, "ЗЕЛЁНАЯ КЛЕТКА"},     {&ed.Option2, "ЖЕЛТАЯ КЛЕТКА"},
        {&ed.Option3, "КРАСНАЯ КЛЕТКА"},     {&ed.Option4, "ОЧИСТИТЬ КЛЕТКУ"},
        {&ed.Command2, "ЕСЛИ ГОТОВ - ЖМИ"},  {&ed.Command3, "НЕХОЧЕШЬ И НЕ НАДО"},
        {&ed.Command1, "Ну сохранись..."},
    };
    for (const auto& [control, text] : hints) {
        f1->Text1.setText("x");
        moveOver(ed, *control);
        EXPECT_EQ(f1->Text1.text(), QString::fromUtf8(text));
    }
    // Moving over a brush selects nothing.
    EXPECT_TRUE(ed.Option1.value());
    EXPECT_FALSE(ed.Option4.value());

    clickControl(ed.Option3);
    EXPECT_EQ(f1->Text1.text(), "КРАСНАЯ КЛЕТКА");
    EXPECT_TRUE(ed.Option3.value());
    EXPECT_FALSE(ed.Option1.value());

    EXPECT_EQ(ed.Command2.widget()->toolTip(), "играть на карте");
    EXPECT_EQ(ed.Command1.widget()->toolTip(), "загрузить либо сохранить карту");
    EXPECT_TRUE(ed.Command3.widget()->toolTip().isEmpty());
}

TEST_F(Editor, CellsAndVersionLabelKeepTheHintTheFreeAreaEmptiesIt)
{
    Form2& ed = openEditor();
    moveOver(ed, ed.Option2);
    moveOver(ed, ed.Label(12));
    EXPECT_EQ(f1->Text1.text(), "ЖЕЛТАЯ КЛЕТКА");
    moveOver(ed, ed.Label41);
    EXPECT_EQ(f1->Text1.text(), "ЖЕЛТАЯ КЛЕТКА");
    EXPECT_EQ(ed.Label41.caption(), "V 2.10");
    EXPECT_EQ(ed.Label41.foreColor() & 0xff00ffu, 0u); // green only

    // A swatch takes no mouse events: the move lands on the window's free area.
    QWidget* hit = moveOver(ed, ed.Shape1);
    EXPECT_EQ(hit, ed.surface());
    EXPECT_EQ(f1->Text1.text(), "");

    moveOver(ed, ed.Command1);
    moveTo(ed, QPoint(ed.surface()->width() - 3, 3));
    EXPECT_EQ(f1->Text1.text(), "");
}

TEST_F(Editor, NoLeavesCellsAndPlayfieldAsTheyWere)
{
    ASSERT_TRUE(f1->loadLevelMap());
    const CellGrid before = f1->cells;
    const auto drawn = drawnAt(*f1, 1, 3);
    ASSERT_EQ(drawn, kGreen);
    Form2& ed = openEditor();
    paint(ed, ed.Option3, {1, 2, 3, 11, 12});
    clickControl(ed.Command3);
    fx.tick(5);
    EXPECT_EQ(f1->cells, before);
    EXPECT_EQ(drawnAt(*f1, 1, 3), drawn);
    EXPECT_FALSE(f1->Timer1.enabled()); // the game stays paused
    EXPECT_FALSE(ed.visible());
}

TEST_F(Editor, ReadyOnAnEmptyGridEmptiesCellsBeforePlayResumes)
{
    ASSERT_TRUE(f1->loadLevelMap());
    ASSERT_EQ(f1->cells[1][3], 1);
    const auto paintedBefore = drawnAt(*f1, 1, 3);
    Form2& ed = openEditor();
    clickControl(ed.Command2); // "готово"
    EXPECT_FALSE(ed.visible());
    // Nothing moves before the main window's tick.
    EXPECT_EQ(f1->cells[1][3], 1);
    EXPECT_TRUE(f1->Timer2.enabled());

    fx.tick();
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            EXPECT_EQ(f1->cells[x][y], 0) << x << "," << y;
    EXPECT_FALSE(f1->Timer2.enabled());
    EXPECT_TRUE(f1->Timer1.enabled());
    // Empty cells are not painted by this pass: the old picture stays until the ball tick.
    EXPECT_EQ(drawnAt(*f1, 1, 3), paintedBefore);
}

TEST_F(Editor, ReadyPaintsThePaintedCellsAndPlays)
{
    Form2& ed = openEditor();
    paint(ed, ed.Option2, {14});
    clickControl(ed.Command2);
    fx.tick();
    EXPECT_EQ(f1->cells[4][2], 2);
    EXPECT_EQ(drawnAt(*f1, 4, 2), kYellow);
    EXPECT_TRUE(f1->Timer1.enabled());
}

TEST_F(Editor, SaveLoadCopiesAndPaintsEveryCellWithoutPlaying)
{
    ASSERT_TRUE(f1->loadLevelMap());
    Form2& ed = openEditor();
    paint(ed, ed.Option3, {21});
    clickControl(ed.Command1);
    EXPECT_FALSE(ed.visible());
    EXPECT_TRUE(fx.forms().form3().visible());
    EXPECT_FALSE(fx.forms().form3().Timer1.enabled()); // the name box keeps its text
    fx.tick();
    EXPECT_FALSE(f1->Timer3.enabled());
    EXPECT_FALSE(f1->Timer1.enabled());
    EXPECT_EQ(f1->cells[1][3], 3);
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y) {
            const shell::Color want = (x == 1 && y == 3) ? kRed : kWhite;
            EXPECT_EQ(drawnAt(*f1, x, y), want) << x << "," << y;
        }
}

TEST_F(Editor, SaveLoadThenSaveWritesThePaintedMap)
{
    ASSERT_TRUE(f1->loadLevelMap()); // the map in play
    Form2& ed = openEditor();
    paint(ed, ed.Option1, {1, 2});
    paint(ed, ed.Option4, {3}); // clears nothing visible but stays 0
    clickControl(ed.Command1);
    fx.tick(); // Timer3 takes the painted map before the player can press "save"

    Form3& dialog = fx.forms().form3();
    dialog.Text1.setText("painted.dbm");
    clickControl(dialog.Command1);
    fx.tick();

    CellGrid want{};
    want[1][1] = 1;
    want[2][1] = 1;
    EXPECT_EQ(fx.readFile("painted.dbm"), map_dbm::text(want));
}

TEST_F(Editor, CaptionsAreReadAsNumbersAndOthersGiveAnEmptyCell)
{
    Form2& ed = fx.forms().form2();
    ed.Label(1).setCaption("5");    // as a loaded map leaves it
    ed.Label(2).setCaption(" 2 ");
    ed.Label(3).setCaption("-1");
    ed.Label(4).setCaption("abc");
    ed.Label(5).setCaption("");
    f1->cells[4][1] = 3;
    f1->cells[5][1] = 3;
    f1->Timer3.setEnabled(true);
    fx.tick();
    EXPECT_EQ(f1->cells[1][1], 5);
    EXPECT_EQ(f1->cells[2][1], 2);
    EXPECT_EQ(f1->cells[3][1], -1);
    EXPECT_EQ(f1->cells[4][1], 0);
    EXPECT_EQ(f1->cells[5][1], 0);
    EXPECT_EQ(drawnAt(*f1, 4, 1), kWhite);
}

TEST_F(Editor, TransferCreatesTheEditorHidden)
{
    fx.forms().form2().closeBox();
    QCoreApplication::processEvents();
    ASSERT_FALSE(fx.forms().form2Exists());
    f1->cells[6][3] = 2;
    f1->Timer3.setEnabled(true);
    fx.tick();
    EXPECT_TRUE(fx.forms().form2Exists());
    EXPECT_FALSE(fx.forms().form2().visible());
    EXPECT_EQ(f1->cells[6][3], 0);
}
