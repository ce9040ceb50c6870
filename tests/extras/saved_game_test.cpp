// The saved game through the "файл" → "сэйвы" menu: save.dbs in the working folder.
#include "extras_helpers.h"
#include "filedialog/form3.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

using testing_support::GameFixture;

TEST(SavedGame, SavingOnLevelFourWritesFiveBytesAndShowsPathThenLevel)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    f1.level = 4;
    f1.save.click();
    EXPECT_EQ(fx.readFile("save.dbs"), QByteArray(" 4 \r\n"));
    EXPECT_EQ(fx.messages, QStringList({fx.folder() + "/save.dbs", "уровень  - 4"}));
    EXPECT_EQ(f1.file, "save.dbs");
}

// The ball goes on behind the path box and is lost there, which takes the game back a level;
// the save keeps the level the player chose to save.
TEST(SavedGame, TheLevelSavedIsTheOneTheCommandWasChosenOn)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    f1.level = 4;
    f1.cells[10][4] = 3; // a level still to clear
    f1.deck.setLeft(100);
    f1.ball.setLeft(10);
    f1.ball.setTop(118);
    f1.vdir = 2;
    f1.Timer1.setEnabled(true);
    fx.whileBoxWaits = [&](const QString&) { fx.tick(5); };
    f1.save.click();
    EXPECT_EQ(fx.messages, QStringList({fx.folder() + "/save.dbs", "БАБАХ !!!", "уровень  - 4"}));
    EXPECT_EQ(fx.readFile("save.dbs"), QByteArray(" 4 \r\n"));
    EXPECT_EQ(f1.level, 3.0f);
}

TEST(SavedGame, SavingReplacesAnEarlierFileWhole)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    fx.writeFile("save.dbs", " 12 \r\n and a much longer tail that must not survive\r\n");
    f1.level = 2;
    f1.save.click();
    EXPECT_EQ(fx.readFile("save.dbs"), QByteArray(" 2 \r\n"));
}

TEST(SavedGame, FailedSaveIsReportedNotClaimedAsDone)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    ASSERT_TRUE(QDir(fx.folder()).mkdir("save.dbs")); // a folder where the file should go
    f1.level = 3;
    f1.save.click();
    ASSERT_EQ(fx.messages.size(), 2);
    EXPECT_EQ(fx.messages[0], fx.folder() + "/save.dbs");
    EXPECT_TRUE(fx.messages[1].contains(fx.folder() + "/save.dbs"));
    EXPECT_FALSE(fx.messages[1].startsWith("уровень"));
}

TEST(SavedGame, LoadReadsTheFolderChosenInTheFileDialog)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    fx.writeFile("save.dbs", " 3 \r\n");
    QTemporaryDir other;
    QFile out(QDir(other.path()).filePath("save.dbs"));
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(" 6 \r\n");
    out.close();
    ASSERT_TRUE(fx.forms().form3().Dir1.setPath(other.path()));
    f1.load.click();
    EXPECT_EQ(f1.level, 6.0f);
    EXPECT_EQ(fx.messages, QStringList({other.path() + "/save.dbs", "уровень  - 6"}));
}

TEST(SavedGame, LoadWhileStoppedThenLaunchReadsTheLoadedLevelsMap)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    fx.writeFile("save.dbs", " 7 \r\n");
    f1.load.click();
    ASSERT_EQ(f1.level, 7.0f);
    launchClick(f1);
    EXPECT_EQ(f1.file, "7.dbm");
    EXPECT_EQ(f1.cells, cellsOfMap(fx, "7.dbm"));
    EXPECT_TRUE(f1.Timer1.enabled());
}

TEST(SavedGame, MissingOrBrokenFileKeepsTheLevelAndSaysSo)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    f1.level = 5;
    const std::optional<QByteArray> contents[] = {std::nullopt, QByteArray("abc\r\n"), QByteArray(""), QByteArray("7x\r\n")};
    for (const auto& content : contents) {
        SCOPED_TRACE(content ? content->toStdString() : "no file");
        QFile::remove(fx.pathOf("save.dbs"));
        if (content)
            fx.writeFile("save.dbs", *content);
        fx.messages.clear();
        f1.load.click();
        EXPECT_EQ(f1.level, 5.0f);
        ASSERT_EQ(fx.messages.size(), 2);
        EXPECT_EQ(fx.messages[0], fx.folder() + "/save.dbs");
        EXPECT_FALSE(fx.messages[1].startsWith("уровень"));
        EXPECT_TRUE(fx.messages[1].contains(fx.folder() + "/save.dbs"));
    }
}

TEST(SavedGame, NeitherCommandTouchesPlay)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    launchClick(f1);
    fx.tick(3);
    f1.score = 35;
    const CellGrid cells = f1.cells;
    const float left = f1.ball.left(), top = f1.ball.top(), paddle = f1.deck.left();
    fx.writeFile("save.dbs", " 9 \r\n");
    f1.load.click();
    f1.save.click();
    EXPECT_EQ(f1.level, 9.0f);
    EXPECT_TRUE(f1.Timer1.enabled());
    EXPECT_EQ(f1.score, 35.0f);
    EXPECT_EQ(f1.cells, cells);
    EXPECT_EQ(f1.ball.left(), left);
    EXPECT_EQ(f1.ball.top(), top);
    EXPECT_EQ(f1.deck.left(), paddle);
}
