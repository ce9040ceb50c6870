// The records: the table in records.txt, the runs that enter it, and the window that shows it.
#include "dialogs/form7.h"
#include "filedialog/form3.h"
#include "game_helpers.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>
#include <gtest/gtest.h>

using testing_support::GameFixture;

namespace {

QByteArray startFile(const GameFixture& fx, const QString& name)
{
    QFile f(fx.startFolder() + QLatin1Char('/') + name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeStartFile(const GameFixture& fx, const QString& name, const QByteArray& bytes)
{
    QFile f(fx.startFolder() + QLatin1Char('/') + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QDateTime at(int day, int hour)
{
    return QDateTime(QDate(2026, 12, day), QTime(hour, 0), QTimeZone(3 * 3600));
}

} // namespace

TEST(Records, FileIsReadTolerantlyKeepsTheBestTenAndWritesBackTheSame)
{
    QByteArray text = "# a comment\r\n"
                      "\xff\xfe binary \x01\n"
                      "100 2\n"                              // no date
                      "abc 2 2026-12-01T10:00:00+03:00\n"    // no score
                      "0 2 2026-12-01T10:00:00+03:00\n"      // a score of 0 is no record
                      "nan 2 2026-12-01T10:00:00+03:00\n"
                      "1e999 2 2026-12-01T10:00:00+03:00\n"
                      "50 2 2026-13-01T10:00:00+03:00\n"     // no such month
                      "50 2 2026-12-01T10:00:00+03:00 x\n";  // a field too many
    for (int i = 1; i <= 11; ++i)
        text += QByteArray::number(i * 10) + " " + QByteArray::number(i) + " 2026-12-0" + QByteArray::number(i % 9 + 1)
                + "T10:00:00+03:00\r\n";
    text += "\t60   9 2026-12-08T09:30:00+03:00  \n"; // ties with the older 60 and ranks below it

    const records_txt::Table table = records_txt::parse(text);
    ASSERT_EQ(table.size(), records_txt::kTableSize);
    EXPECT_EQ(table.front().score, 110.0f);
    EXPECT_EQ(table.back().score, 30.0f);
    EXPECT_EQ(table[5].score, 60.0f);
    EXPECT_EQ(table[5].level, 6.0f);
    EXPECT_EQ(table[6].level, 9.0f);
    EXPECT_EQ(records_txt::parse(records_txt::format(table)), table);

    // A new run ranks below equal scores; one below the tenth does not enter.
    records_txt::Table t = table;
    EXPECT_EQ(records_txt::insert(t, {60, 3, at(9, 12)}), 7);
    EXPECT_EQ(t.size(), records_txt::kTableSize);
    EXPECT_EQ(t.back().score, 40.0f);
    EXPECT_EQ(records_txt::newest(t), 7);
    EXPECT_EQ(records_txt::insert(t, {30, 3, at(9, 13)}), -1);
    EXPECT_EQ(t.size(), records_txt::kTableSize);
    EXPECT_EQ(t.back().score, 40.0f);
}

TEST(Records, ALostBallRecordsTheRunInTheStartFolderAndSaysSoOnTheHintLine)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    // Browsing the save/load dialog moves the working folder, not the records.
    QDir(fx.folder()).mkdir(QStringLiteral("elsewhere"));
    fx.writeFile(QStringLiteral("elsewhere/2.dbm"), fx.readFile(QStringLiteral("2.dbm")));
    ASSERT_TRUE(fx.forms().form3().Dir1.setPath(fx.pathOf(QStringLiteral("elsewhere"))));
    farCellOnly(f1);
    f1.level = 3;
    f1.score = 120;
    f1.ballLost();

    EXPECT_EQ(fx.messages, QStringList{"БАБАХ !!!"}) << "no box of its own";
    EXPECT_EQ(f1.score, 0.0f);
    EXPECT_EQ(f1.Text1.text(), "новый рекорд: 120");
    const records_txt::Table table = records_txt::parse(startFile(fx, records_txt::kFileName));
    ASSERT_EQ(table.size(), 1u);
    EXPECT_EQ(table[0], (records_txt::Record{120, 3, fx.now}));
    EXPECT_FALSE(QFile::exists(fx.pathOf(QStringLiteral("elsewhere/records.txt"))));

    // A run of 0 points, and one that does not rank, leave the table and the hint line alone.
    f1.Text1.setText(QStringLiteral("12"));
    f1.ballLost();
    EXPECT_EQ(f1.Text1.text(), "12");
    records_txt::Table full;
    for (int i = 0; i < 10; ++i)
        records_txt::insert(full, {500, 7, at(1, 9)});
    writeStartFile(fx, records_txt::kFileName, records_txt::format(full));
    f1.score = 500;
    f1.ballLost();
    EXPECT_EQ(f1.Text1.text(), "12");
    EXPECT_EQ(records_txt::parse(startFile(fx, records_txt::kFileName)), full);
}

TEST(Records, TheProgramsEndRecordsARunInProgressAndTellsWhenItCannot)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.level = 4;
    f1.score = 35;
    f1.closeBox();
    EXPECT_TRUE(fx.ended);
    EXPECT_TRUE(fx.messages.isEmpty());
    EXPECT_EQ(records_txt::parse(startFile(fx, records_txt::kFileName)), (records_txt::Table{{35, 4, fx.now}}));

    // The program ended while the lost ball's box waits (a logout): the run is kept once.
    fx.restart();
    Form1& lost = playing(fx);
    lost.score = 60;
    fx.whileBoxWaits = [&](const QString&) { lost.closeBox(); };
    lost.ballLost();
    fx.whileBoxWaits = {};
    EXPECT_EQ(records_txt::parse(startFile(fx, records_txt::kFileName)).size(), 2u);

    // A records file that cannot be read is neither overwritten nor reported as kept.
    fx.restart();
    const QString blocked = fx.startFolder() + QStringLiteral("/records.txt");
    ASSERT_TRUE(QFile::remove(blocked) && QDir().mkdir(blocked));
    Form1& again = playing(fx);
    again.score = 80;
    again.ballLost();
    EXPECT_EQ(again.Text1.text(), "новый рекорд: 80 (не записан в " + blocked + ")");
    const QString why = "Не удалось записать рекорд: " + blocked + "\nЭто папка, а не файл. "
                        "Файл рекордов не перезаписан, чтобы не потерять прежние рекорды.";
    EXPECT_EQ(fx.messages.last(), why) << "the lost ball's record tells why it is not kept";
    again.score = 15;
    again.closeBox();
    EXPECT_EQ(fx.messages.last(), why);
    EXPECT_TRUE(QFileInfo(blocked).isDir());
}

TEST(Records, TheWindowShowsTheTableMarksTheNewestAndFollowsNewRuns)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    records_txt::Table stored;
    records_txt::insert(stored, {300, 9, at(2, 18)});
    records_txt::insert(stored, {90, 2, at(5, 21)});
    records_txt::insert(stored, {150, 4, at(3, 8)});
    writeStartFile(fx, records_txt::kFileName, records_txt::format(stored) + "damaged line\n");

    f1.Timer1.setEnabled(true);
    f1.rekord.click();
    Form7& window = fx.forms().form7();
    EXPECT_TRUE(window.visible());
    EXPECT_EQ(window.caption(), "РЕКОРДЫ");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(f1.Timer1.enabled());
    EXPECT_EQ(window.row(0).score->caption(), "300");
    EXPECT_EQ(window.row(1).level->caption(), "4");
    EXPECT_EQ(window.row(2).when->caption(), at(5, 21).toLocalTime().toString("dd.MM.yyyy  HH:mm"));
    EXPECT_EQ(window.row(3).score->caption(), "—");
    EXPECT_EQ(window.marked(), 2);

    // A run that ranks while the window is up shows at once and is the one marked.
    f1.score = 200;
    f1.level = 5;
    f1.ballLost();
    EXPECT_EQ(window.row(1).score->caption(), "200");
    EXPECT_EQ(window.marked(), 1);
    window.Command1.click();
    EXPECT_FALSE(window.visible());
}
