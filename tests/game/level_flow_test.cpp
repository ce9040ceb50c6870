// Level clear, ball loss, the end of the levels and broken map files.
#include "filedialog/form3.h"
#include "files/map_dbm.h"
#include "game/form4.h"
#include "game_helpers.h"

#include <gtest/gtest.h>

using testing_support::GameFixture;

namespace {
CellGrid mapOf(GameFixture& fx, const QString& name)
{
    CellGrid g{};
    EXPECT_EQ(map_dbm::read(fx.pathOf(name), g), map_dbm::ReadStatus::Ok) << name.toStdString();
    return g;
}
} // namespace

TEST(LevelFlow, ClearingLevelOneCongratulatesAndReadsTheNextMap)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.cells = {};
    f1.level = 1;
    f1.score = 35;
    f1.skor = 4;
    f1.vdir = 1;
    f1.Timer1.setEnabled(true);
    placeBall(f1, 80, 90);
    f1.Timer1_Tick();
    EXPECT_FALSE(f1.Timer1.enabled());
    EXPECT_EQ(fx.messages, (QStringList{"молодец", "уровень - 2"}));
    EXPECT_EQ(f1.level, 2.0f);
    EXPECT_EQ(f1.file, "2.dbm");
    EXPECT_EQ(f1.score, 35.0f);
    EXPECT_EQ(f1.Text1.text(), "35");
    EXPECT_EQ(f1.hdir, 2.0f);
    // The ball rested on the paddle, then took the rest of the tick once: it moved 4 mm left
    // and up onto the paddle's left zone, which spins it by skor / 5.
    EXPECT_EQ(f1.dx, -0.8f);
    EXPECT_EQ(f1.ball.left(), f1.deck.left() + 10 - 4);
    EXPECT_FLOAT_EQ(f1.ball.top(), f1.deck.top() - 8 - 4);
    CellGrid expected = mapOf(fx, "2.dbm");
    EXPECT_EQ(f1.cells, expected);
}

// A level jump that lands while the new level is announced does not swap the map under the
// announcement: the announced map is read, and the jump takes effect at the next map read.
TEST(LevelFlow, TheMapReadAfterAClearedLevelIsTheOneAnnounced)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.cells = {};
    f1.level = 1;
    fx.forms().form4().Text1.setText("9");
    f1.Timer7.setEnabled(true);
    fx.whileBoxWaits = [&](const QString& text) {
        if (text.startsWith("уровень"))
            fx.tick();
    };
    f1.Timer1.setEnabled(true);
    placeBall(f1, 80, 90);
    f1.Timer1_Tick();
    EXPECT_EQ(fx.messages, (QStringList{"молодец", "уровень - 2"}));
    EXPECT_EQ(f1.file, "2.dbm");
    EXPECT_EQ(f1.cells, mapOf(fx, "2.dbm"));
    EXPECT_EQ(f1.level, 9.0f);
}

TEST(LevelFlow, LosingTheBallGoesBackOneLevelAndResetsTheScore)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    farCellOnly(f1);
    f1.level = 3;
    f1.score = 50;
    f1.skor = 4;
    f1.hdir = 1;
    f1.dx = 1;
    f1.vdir = 2;
    f1.deck.setLeft(10);
    f1.Timer1.setEnabled(true);
    placeBall(f1, 100, 122);
    f1.Timer1_Tick();
    EXPECT_FALSE(f1.Timer1.enabled());
    EXPECT_EQ(fx.messages, QStringList{"БАБАХ !!!"});
    EXPECT_EQ(f1.level, 2.0f);
    EXPECT_EQ(f1.file, "2.dbm");
    EXPECT_EQ(f1.cells, mapOf(fx, "2.dbm"));
    EXPECT_EQ(f1.score, 0.0f);
    EXPECT_EQ(f1.dx, 0.0f);
    EXPECT_EQ(f1.hdir, 2.0f);
    EXPECT_EQ(f1.vdir, 1.0f);
    EXPECT_EQ(f1.ball.top(), 112.0f);
    EXPECT_EQ(f1.ball.left(), 20.0f);
}

TEST(LevelFlow, LosingOnLevelOneStaysOnLevelOne)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    farCellOnly(f1);
    f1.level = 1;
    f1.ballLost();
    EXPECT_EQ(f1.level, 1.0f);
    EXPECT_EQ(f1.file, "1.dbm");
    EXPECT_EQ(f1.cells, mapOf(fx, "1.dbm"));
}

TEST(LevelFlow, AfterTheLastMapTheGameSaysAllClearedAndStartsAgain)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    QFile::remove(fx.pathOf("5.dbm"));
    f1.cells = {};
    f1.level = 4;
    f1.score = 400;
    f1.levelCleared();
    ASSERT_EQ(fx.messages.size(), 3);
    EXPECT_EQ(fx.messages[0], "молодец");
    EXPECT_TRUE(fx.messages[1].contains("Все уровни пройдены"));
    EXPECT_EQ(fx.messages[2], "уровень - 1");
    EXPECT_EQ(f1.level, 1.0f);
    EXPECT_EQ(f1.cells, mapOf(fx, "1.dbm"));
    EXPECT_EQ(f1.score, 400.0f);
}

TEST(LevelFlow, BrokenMapLeavesTheCellsUntouchedAndSaysWhichFile)
{
    for (const QByteArray& bad : {QByteArray("1 2 3"), QByteArray("1 2 nan 3"), QByteArray("\x01\x02\xff", 3), QByteArray()}) {
        GameFixture fx;
        Form1& f1 = playing(fx);
        fx.writeFile("2.dbm", bad);
        f1.cells = {};
        f1.cells[0][0] = 9; // row 0 and column 0 stay whatever they hold
        f1.level = 1;
        f1.levelCleared();
        CellGrid expected{};
        expected[0][0] = 9;
        EXPECT_EQ(f1.cells, expected);
        ASSERT_EQ(fx.messages.size(), 3);
        EXPECT_TRUE(fx.messages[2].contains("2.dbm")) << fx.messages[2].toStdString();
        EXPECT_FALSE(f1.Timer1.enabled());
    }
}

TEST(LevelFlow, AGridOfZerosIsClearedWhateverRowAndColumnZeroHold)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.cells = {};
    f1.cells[0][2] = 3;
    f1.cells[4][0] = 1;
    f1.level = 1;
    f1.Timer1.setEnabled(true);
    placeBall(f1, 80, 90);
    f1.Timer1_Tick();
    EXPECT_EQ(f1.level, 2.0f);
}

// Level maps are read in the working folder, not in the start-up folder beside the sounds; a
// working folder whose own name holds a backslash works like any other.
TEST(LevelFlow, LevelMapsComeFromTheWorkingFolder)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    const QByteArray allRed = QByteArray(" 3 \r\n").repeated(40);
    QFile decoy(fx.startFolder() + "/1.dbm");
    ASSERT_TRUE(decoy.open(QIODevice::WriteOnly));
    decoy.write(allRed);
    decoy.close();

    f1.level = 12;
    EXPECT_EQ(f1.levelMapPath(), fx.folder() + "/12.dbm");
    EXPECT_EQ(f1.file, "12.dbm");
    f1.level = 1;
    ASSERT_TRUE(f1.loadLevelMap());
    EXPECT_EQ(f1.cells, mapOf(fx, "1.dbm"));

    fx.writeFile("my\\maps/1.dbm", allRed);
    ASSERT_TRUE(fx.forms().form3().Dir1.setPath(fx.pathOf("my\\maps")));
    ASSERT_TRUE(f1.loadLevelMap());
    EXPECT_EQ(f1.cells[1][1], 3.0f);
    EXPECT_EQ(f1.cells[10][4], 3.0f);
    EXPECT_TRUE(fx.messages.isEmpty()) << fx.messages.join(' ').toStdString();
}
