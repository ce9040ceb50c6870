// Saving and loading maps through the save/load dialog and the main window's Timer5 and Timer6.
#include "editor/form2.h"
#include "filedialog/form3.h"
#include "files/map_dbm.h"
#include "game/form1.h"
#include "shell/basic.h"
#include "support/fakes.h"
#include "support/pointer.h"
#include "support/qt_print.h"

#include <QDir>
#include <gtest/gtest.h>

using testing_support::GameFixture;
using testing_support::clickControl;

namespace {

constexpr shell::Color kWhite = shell::rgb(255, 255, 255);

std::optional<shell::Color> drawnAt(Form1& f1, int x, int y)
{
    return f1.drawnColorAt(15.0f * x + 7.5f, 15.0f * y + 7.5f);
}

class MapDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        f1 = &fx.start();
        fx.tick();
        fx.messages.clear();
        dialog = &fx.forms().form3();
    }
    // Types a name and presses a button of the dialog, then lets the main window tick once.
    void save(const QString& name)
    {
        dialog->Text1.setText(name);
        clickControl(dialog->Command1);
        fx.tick();
    }
    void load(const QString& name)
    {
        dialog->Text1.setText(name);
        clickControl(dialog->Command2);
        fx.tick();
    }

    GameFixture fx;
    Form1* f1 = nullptr;
    Form3* dialog = nullptr;
};

} // namespace

TEST_F(MapDialog, SaveShowsTheJoinedPathAndWritesTheCells)
{
    f1->cells[3][2] = 2;
    f1->cells[10][4] = 3;
    f1->map.click();
    save("mine.dbm");
    ASSERT_EQ(fx.messages.size(), 1);
    EXPECT_EQ(fx.messages.at(0), fx.folder() + "/mine.dbm");
    EXPECT_EQ(f1->file, "mine.dbm");
    EXPECT_EQ(fx.readFile("mine.dbm"), map_dbm::text(f1->cells));
    EXPECT_FALSE(f1->Timer5.enabled());
    EXPECT_TRUE(dialog->visible()); // the dialog stays open after a save
    EXPECT_TRUE(dialog->File1.files().contains("mine.dbm"));
}

// The game goes on while the path box waits: the melody that ends there names the next melody in
// `file`, and the timers that run tick. The map still goes to the path shown, and nowhere else.
TEST_F(MapDialog, TheSaveWritesThePathItShowedWhateverHappensWhileTheBoxWaits)
{
    ASSERT_TRUE(fx.devices[1]->playing) << "a melody plays from start-up";
    f1->map.click();
    fx.whileBoxWaits = [this](const QString&) {
        fx.endMelodyNow();
        fx.tick(10);
    };
    f1->cells[4][1] = 3;
    const QString nextMelody = shell::numText(f1->num) + ".mid";
    save("mine.dbm");
    ASSERT_EQ(fx.messages.size(), 1);
    EXPECT_EQ(fx.messages.at(0), fx.folder() + "/mine.dbm");
    EXPECT_EQ(fx.readFile("mine.dbm"), map_dbm::text(f1->cells));
    EXPECT_EQ(QDir(fx.folder()).entryList({"*.mid"}, QDir::Files), QStringList());
    EXPECT_EQ(f1->file, nextMelody) << "the melody's end did run during the box";
}

TEST_F(MapDialog, TheUntouchedNameBoxReplacesLevelOne)
{
    f1->cells[1][1] = 3;
    clickControl(dialog->Command1);
    fx.tick();
    EXPECT_EQ(fx.readFile("1.dbm"), map_dbm::text(f1->cells));
}

TEST_F(MapDialog, SavingTwiceKeepsTheSecondState)
{
    f1->cells[1][1] = 1;
    save("twice.dbm");
    f1->cells[1][1] = 0;
    f1->cells[5][3] = 2;
    save("twice.dbm");
    EXPECT_EQ(fx.readFile("twice.dbm"), map_dbm::text(f1->cells));
}

TEST_F(MapDialog, AFailedSaveTellsThePlayerAndKeepsTheEarlierFile)
{
    f1->cells[2][2] = 2;
    save("keep.dbm");
    const QByteArray kept = fx.readFile("keep.dbm");
    QDir(fx.folder()).mkdir("sub");
    f1->cells[2][2] = 3;
    fx.messages.clear();

    // The name of a folder, an empty name and a name under a missing folder all fail, each with
    // its reason.
    const std::pair<QString, QString> failures[] = {
        {QStringLiteral("sub"), QStringLiteral("На месте файла находится папка.")},
        {QString(), QStringLiteral("Недопустимое имя файла.")},
        {QStringLiteral("nowhere/keep.dbm"), QStringLiteral("Папки, в которой лежит файл, больше нет.")},
    };
    for (const auto& [name, reason] : failures) {
        fx.messages.clear();
        save(name);
        ASSERT_EQ(fx.messages.size(), 2) << name.toStdString();
        EXPECT_EQ(fx.messages.at(0), fx.folder() + "/" + name);
        EXPECT_EQ(fx.messages.at(1), "Не удалось записать карту: " + fx.folder() + "/" + name + "\n" + reason);
        EXPECT_FALSE(f1->Timer5.enabled());
    }
    EXPECT_EQ(fx.readFile("keep.dbm"), kept);
    EXPECT_TRUE(QDir(fx.pathOf("sub")).isEmpty());
    EXPECT_FALSE(QFileInfo::exists(fx.pathOf("nowhere")));
    // Only the map files and the shipped data: no temporary leftovers, hidden ones included.
    for (const QString& name : QDir(fx.folder()).entryList(QDir::Files | QDir::Hidden))
        EXPECT_FALSE(name.contains("keep.dbm.")) << name.toStdString();
}

TEST_F(MapDialog, AtTheRootTheMessageShowsTwoSeparators)
{
    ASSERT_TRUE(dialog->Dir1.setPath("/"));
    save(""); // the root itself: no file is written there
    ASSERT_FALSE(fx.messages.isEmpty());
    EXPECT_EQ(fx.messages.at(0), "//");
    EXPECT_EQ(fx.messages.size(), 2); // the folder cannot be written as a file
}

TEST_F(MapDialog, LoadReadsDrawsHidesThePlaysAndFillsTheEditor)
{
    // The editor showed a yellow cell at label 1 before the load.
    Form2& ed = fx.forms().form2();
    ed.Label(1).setCaption("2");
    ed.Label(1).setBackColor(kYellow);
    ed.Label(2).setBackColor(kGreen);
    ASSERT_TRUE(f1->loadLevelMap()); // a partly drawn playfield

    CellGrid g{};
    g[2][1] = 5; // no colour: its old picture stays, it still takes hits
    g[3][1] = 1;
    g[4][1] = 2;
    g[5][1] = 3;
    fx.writeFile("five.dbm", map_dbm::text(g));
    const auto underFive = drawnAt(*f1, 2, 1);

    f1->map.click();
    ASSERT_TRUE(dialog->visible());
    load("five.dbm");

    EXPECT_TRUE(fx.messages.isEmpty());
    EXPECT_EQ(f1->file, "five.dbm");
    EXPECT_EQ(f1->cells, g);
    EXPECT_FALSE(f1->Timer6.enabled());
    EXPECT_FALSE(dialog->visible());
    EXPECT_TRUE(f1->Timer1.enabled());
    EXPECT_FALSE(dialog->Timer1.enabled());

    EXPECT_EQ(drawnAt(*f1, 1, 1), kWhite);
    EXPECT_EQ(drawnAt(*f1, 1, 3), kWhite); // level 1 had a green cell here
    EXPECT_EQ(drawnAt(*f1, 2, 1), underFive);
    EXPECT_EQ(drawnAt(*f1, 3, 1), kGreen);
    EXPECT_EQ(drawnAt(*f1, 4, 1), kYellow);
    EXPECT_EQ(drawnAt(*f1, 5, 1), kRed);

    EXPECT_FALSE(ed.visible());
    EXPECT_EQ(ed.Label(1).caption(), "0");
    EXPECT_EQ(ed.Label(1).backColor(), ed.backColor());
    EXPECT_EQ(ed.Label(2).caption(), "5");
    EXPECT_EQ(ed.Label(2).backColor(), kGreen); // keeps its colour
    EXPECT_EQ(ed.Label(3).caption(), "1");
    EXPECT_EQ(ed.Label(3).backColor(), kGreen);
    EXPECT_EQ(ed.Label(4).backColor(), kYellow);
    EXPECT_EQ(ed.Label(5).caption(), "3");
    EXPECT_EQ(ed.Label(5).backColor(), kRed);
}

// The load joins folder and name with a backslash, which stands for the platform's "/"; inside a
// name a backslash is an ordinary character.
TEST_F(MapDialog, LoadJoinsWithTheBackslashAsThePlatformSeparator)
{
    CellGrid g{};
    g[1][1] = 3;
    fx.writeFile("odd\\name.dbm", map_dbm::text(g));
    load("odd\\name.dbm");
    EXPECT_TRUE(fx.messages.isEmpty()) << fx.messages.join(' ').toStdString();
    EXPECT_EQ(f1->cells[1][1], 3);
}

TEST_F(MapDialog, AFailedLoadChangesNothing)
{
    ASSERT_TRUE(f1->loadLevelMap());
    Form2& ed = fx.forms().form2();
    ed.Label(4).setCaption("3");
    ed.Label(4).setBackColor(kRed);
    const CellGrid before = f1->cells;

    QByteArray shortMap;
    for (int i = 0; i < 39; ++i)
        shortMap += " 2 \r\n";
    fx.writeFile("short.dbm", shortMap);
    fx.writeFile("nan.dbm", QByteArray(" 1 \r\n nan \r\n") + map_dbm::text(CellGrid{}));
    QByteArray garbage;
    for (int i = 0; i < 300; ++i)
        garbage += static_cast<char>((i * 91 + 7) & 0xff);
    fx.writeFile("garbage.dbm", garbage);
    QDir(fx.folder()).mkdir("folder.dbm");

    f1->map.click();
    for (const QString& name : {QStringLiteral("missing.dbm"), QString(), QStringLiteral("folder.dbm"),
                                QStringLiteral("short.dbm"), QStringLiteral("nan.dbm"), QStringLiteral("garbage.dbm")}) {
        fx.messages.clear();
        load(name);
        ASSERT_EQ(fx.messages.size(), 1) << name.toStdString();
        EXPECT_TRUE(fx.messages.at(0).endsWith(fx.folder() + "/" + name)) << fx.messages.at(0).toStdString();
        EXPECT_EQ(f1->cells, before) << name.toStdString();
        EXPECT_FALSE(f1->Timer6.enabled());
        EXPECT_FALSE(f1->Timer1.enabled());
        EXPECT_TRUE(dialog->visible());
        EXPECT_EQ(drawnAt(*f1, 1, 3), kGreen);
        EXPECT_EQ(ed.Label(4).caption(), "3");
        EXPECT_EQ(ed.Label(4).backColor(), kRed);
    }
    // No retry on later ticks.
    fx.messages.clear();
    fx.tick(5);
    EXPECT_TRUE(fx.messages.isEmpty());
}

TEST_F(MapDialog, ASavedGameStateLoadsBackExactly)
{
    ASSERT_TRUE(f1->loadLevelMap());
    f1->cells[1][3] = 0; // a knocked-out cell
    f1->cells[2][4] = 2; // a hit red cell
    const CellGrid played = f1->cells;
    save("during.dbm");
    f1->cells = CellGrid{};
    load("during.dbm");
    EXPECT_EQ(f1->cells, played);
}
