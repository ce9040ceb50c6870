// The hidden level-jump dialog: "vorp" in the hint line, a Shift-press on the paddle, a number.
#include "extras_helpers.h"
#include "game/form4.h"

#include <gtest/gtest.h>

using testing_support::GameFixture;

namespace {

void pressPaddle(Form1& f1, Qt::KeyboardModifiers mods)
{
    QTest::mousePress(f1.deck.widget(), Qt::LeftButton, mods, QPoint(20, 5));
}

bool dialogOpen(GameFixture& fx)
{
    return fx.forms().form4Exists() && fx.forms().form4().visible();
}

} // namespace

TEST(LevelJump, AccessWordAndShiftPressOpenTheDialogShowingOne)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    f1.Text1.setText("vorp");
    pressPaddle(f1, Qt::ShiftModifier);
    ASSERT_TRUE(dialogOpen(fx));
    EXPECT_EQ(fx.forms().form4().caption(), "select level");
    EXPECT_EQ(fx.forms().form4().Text1.text(), "1");
    EXPECT_TRUE(f1.visible()) << "the dialog is modeless";
}

TEST(LevelJump, NearMissesLeaveTheDialogShut)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    const struct { const char* word; Qt::KeyboardModifiers mods; } cases[] = {
        {"Vorp", Qt::ShiftModifier},
        {"vorp ", Qt::ShiftModifier},
        {" vorp", Qt::ShiftModifier},
        {"vorp", Qt::NoModifier},
        {"vorp", Qt::ShiftModifier | Qt::ControlModifier},
        {"vorp", Qt::ShiftModifier | Qt::AltModifier},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.word);
        f1.Text1.setText(c.word);
        pressPaddle(f1, c.mods);
        EXPECT_FALSE(dialogOpen(fx));
    }
}

TEST(LevelJump, TypedFiveAppliesAfterOneTickAndTheNextLaunchReadsFiveDbm)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    f1.Text1.setText("vorp");
    pressPaddle(f1, Qt::ShiftModifier);
    Form4& dialog = fx.forms().form4();
    QTest::keyClicks(dialog.Text1.widget(), "5"); // the shown number is selected: typing replaces it
    ASSERT_EQ(dialog.Text1.text(), "5");
    dialog.Command1.click();
    EXPECT_FALSE(dialog.visible());
    EXPECT_TRUE(f1.Timer7.enabled());
    EXPECT_EQ(f1.level, 1.0f) << "nothing changes before the tick";

    fx.tick();
    EXPECT_EQ(f1.level, 5.0f);
    EXPECT_FALSE(f1.Timer7.enabled());
    EXPECT_FALSE(f1.Timer1.enabled()) << "play stays as it was";
    EXPECT_TRUE(fx.messages.isEmpty());

    launchClick(f1);
    EXPECT_EQ(f1.file, "5.dbm");
    EXPECT_EQ(f1.cells, cellsOfMap(fx, "5.dbm"));

    // Hidden, the dialog keeps the last number.
    f1.Timer1.setEnabled(false);
    f1.Text1.setText("vorp");
    pressPaddle(f1, Qt::ShiftModifier);
    EXPECT_EQ(fx.forms().form4().Text1.text(), "5");
}

TEST(LevelJump, EnterInTheNumberFieldPressesTheButton)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    f1.Text1.setText("vorp");
    pressPaddle(f1, Qt::ShiftModifier);
    fx.forms().form4().Text1.setText("3");
    QTest::keyClick(fx.forms().form4().Text1.widget(), Qt::Key_Return);
    EXPECT_FALSE(fx.forms().form4().visible());
    fx.tick();
    EXPECT_EQ(f1.level, 3.0f);
}

TEST(LevelJump, TextThatIsNoNumberKeepsTheLevelStopsTheTimerAndTellsThePlayer)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    f1.level = 4;
    f1.Text1.setText("vorp");
    pressPaddle(f1, Qt::ShiftModifier);
    for (const char* typed : {"abc", "", "5a"}) {
        SCOPED_TRACE(typed);
        fx.messages.clear();
        fx.forms().form4().Text1.setText(typed);
        fx.forms().form4().Command1.click();
        fx.tick();
        EXPECT_EQ(f1.level, 4.0f);
        EXPECT_FALSE(f1.Timer7.enabled());
        ASSERT_EQ(fx.messages.size(), 1);
        EXPECT_TRUE(fx.messages[0].contains(QString("«") + typed + "»"));
        fx.tick(3);
        EXPECT_EQ(fx.messages.size(), 1) << "the failure is not repeated";
    }
}

TEST(LevelJump, JumpDuringPlayLeavesTheRunningGameAlone)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    launchClick(f1);
    fx.tick(2);
    f1.Text1.setText("vorp"); // typed between two ticks
    pressPaddle(f1, Qt::ShiftModifier);
    const CellGrid cells = f1.cells;
    fx.forms().form4().Text1.setText("9");
    fx.forms().form4().Command1.click();
    fx.tick();
    EXPECT_EQ(f1.level, 9.0f);
    EXPECT_TRUE(f1.Timer1.enabled());
    EXPECT_EQ(f1.cells, cells);
    EXPECT_EQ(f1.file, "1.dbm");
}
