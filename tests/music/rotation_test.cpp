// The melody rotation with recording devices: which melodies the music device opens and plays,
// from the first tick of the music timer through each Done.
#include "support/fakes.h"

#include "dialogs/form5.h"
#include "game/form1.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <gtest/gtest.h>

using testing_support::GameFixture;
using testing_support::RecordingDevice;

namespace {

class Rotation : public ::testing::Test {
protected:
    // Starts the game with the given melody bound and start number (speed 4).
    Form1& start(int melodi, const QByteArray& startNumber)
    {
        fx.writeFile(QStringLiteral("config.cfg"),
                     " " + QByteArray::number(melodi) + "  " + startNumber + "  4 \r\n");
        Form1& f1 = fx.start();
        return f1;
    }

    RecordingDevice& music() { return *fx.devices.at(1); }

    // The melody file names that were opened and then played, in order.
    QStringList played() const
    {
        QStringList names;
        QString lastOpened;
        for (const QString& c : fx.devices.at(1)->commands) {
            if (c.startsWith(QLatin1String("open ")))
                lastOpened = QFileInfo(c.mid(5)).fileName();
            else if (c == QLatin1String("play") && !lastOpened.isEmpty())
                names << lastOpened;
        }
        return names;
    }

    // Ends the melody that plays and delivers its Done.
    void endMelody()
    {
        ASSERT_TRUE(music().playing);
        music().finishPlayback();
        QCoreApplication::processEvents();
    }

    // A Done still queued by the recording device must reach the game while it exists.
    void TearDown() override { QCoreApplication::processEvents(); }

    GameFixture fx;
};

TEST_F(Rotation, StartTickOpensAndPlaysTheStartMelodyFromTheMusicFolder)
{
    Form1& f1 = start(5, "1");
    EXPECT_TRUE(music().commands.isEmpty()) << "nothing plays before the music timer ticks";
    fx.tick();
    EXPECT_EQ(music().commands,
              QStringList({QStringLiteral("close"),
                           QStringLiteral("open ") + fx.startFolder() + QStringLiteral("/music/1.mid"),
                           QStringLiteral("play")}));
    EXPECT_EQ(f1.file, QStringLiteral("1.mid"));
    EXPECT_EQ(f1.num, 2.0f);
    EXPECT_EQ(f1.Text1.text(), QStringLiteral("1"));
    EXPECT_FALSE(f1.Timer4.enabled());
    fx.tick(5);
    EXPECT_EQ(played().size(), 1) << "the music start runs once";
}

TEST_F(Rotation, WrapsWhenTheNextNumberReachesTheBoundSoTheBoundItselfIsSkipped)
{
    start(5, "1");
    fx.tick();
    for (int i = 0; i < 5; ++i)
        endMelody();
    EXPECT_EQ(played(), QStringList({"1.mid", "2.mid", "3.mid", "4.mid", "1.mid", "2.mid"}));
}

TEST_F(Rotation, StartNumberEqualToTheBoundPlaysThatMelodyOnceThenStartsOver)
{
    Form1& f1 = start(5, "5");
    fx.tick();
    EXPECT_EQ(f1.num, 1.0f);
    endMelody();
    endMelody();
    EXPECT_EQ(played(), QStringList({"5.mid", "1.mid", "2.mid"}));
}

TEST_F(Rotation, StartNumberAboveTheBoundShowsInTheHintLineAndPlaysMelodyOne)
{
    Form1& f1 = start(5, "8");
    fx.tick();
    EXPECT_EQ(f1.Text1.text(), QStringLiteral("8"));
    endMelody();
    EXPECT_EQ(played(), QStringList({"1.mid", "2.mid"}));
}

TEST_F(Rotation, BoundOfOneOrZeroReplaysMelodyOneAfterEveryDone)
{
    for (const int melodi : {1, 0}) {
        SCOPED_TRACE(melodi);
        GameFixture game;
        game.writeFile(QStringLiteral("config.cfg"), " " + QByteArray::number(melodi) + "  1  4 \r\n");
        Form1& f1 = game.start();
        game.tick();
        for (int i = 0; i < 3; ++i) {
            game.devices.at(1)->finishPlayback();
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(game.devices.at(1)->opened.size(), 4);
        for (const QString& path : game.devices.at(1)->opened)
            EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("1.mid"));
        EXPECT_EQ(f1.num, 1.0f);
    }
}

TEST_F(Rotation, StartNumberZeroIsNotCorrected)
{
    Form1& f1 = start(5, "0");
    fx.tick();
    EXPECT_EQ(f1.Text1.text(), QStringLiteral("0"));
    EXPECT_EQ(played(), QStringList({"0.mid"}));
    EXPECT_EQ(f1.num, 1.0f);
}

TEST_F(Rotation, FractionalStartNumberNamesAFileWithItsDecimals)
{
    Form1& f1 = start(5, "2.5");
    fx.tick();
    EXPECT_EQ(played(), QStringList({"2.5.mid"}));
    EXPECT_EQ(f1.num, 3.5f);
}

TEST_F(Rotation, AfterEachDoneTheOptionsBoxShowsTheMelodyThatComesNext)
{
    Form1& f1 = start(5, "3");
    Form5& options = fx.forms().form5();
    fx.tick();
    EXPECT_EQ(options.Text1.text(), QStringLiteral("3")) << "the start tick leaves the box alone";
    const char* expected[] = {"1", "2", "3", "4"};
    for (const char* next : expected) {
        endMelody();
        EXPECT_EQ(options.Text1.text(), QString::fromLatin1(next));
        EXPECT_EQ(f1.num, QString::fromLatin1(next).toFloat());
    }
    EXPECT_EQ(played(), QStringList({"3.mid", "4.mid", "1.mid", "2.mid", "3.mid"}));
}

TEST_F(Rotation, EachDoneClosesTheEndedMelodyBeforeOpeningTheNext)
{
    start(5, "1");
    fx.tick();
    music().commands.clear();
    endMelody();
    EXPECT_EQ(music().commands,
              QStringList({QStringLiteral("close"),
                           QStringLiteral("open ") + fx.startFolder() + QStringLiteral("/music/2.mid"),
                           QStringLiteral("play")}));
}

TEST_F(Rotation, MusicTickDisablesTheGridTimerWhenItTicksFirst)
{
    Form1& f1 = start(5, "1");
    ASSERT_TRUE(f1.Timer3.enabled());
    ASSERT_TRUE(f1.Timer4.enabled());
    f1.Timer4.tick(); // the music timer wins the start-up race
    EXPECT_FALSE(f1.Timer3.enabled()) << "the grid timer's start-up pass never runs";
    EXPECT_FALSE(f1.Timer4.enabled());
}

} // namespace
