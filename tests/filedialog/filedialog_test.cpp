// The save/load dialog: the name box timer, the filter, the drive and folder lists, the working
// folder, and its close box.
#include "filedialog/form3.h"
#include "editor/form2.h"
#include "game/form1.h"
#include "support/fakes.h"
#include "support/pointer.h"
#include "support/qt_print.h"

#include <QCoreApplication>
#include <QDir>
#include <QListWidget>
#include <QTest>
#include <gtest/gtest.h>

using testing_support::GameFixture;
using testing_support::clickControl;

namespace {

class FileDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        f1 = &fx.start();
        fx.tick();
        fx.messages.clear();
        dialog = &fx.forms().form3();
    }
    QListWidget* dirWidget() const { return static_cast<QListWidget*>(dialog->Dir1.widget()); }

    GameFixture fx;
    Form1* f1 = nullptr;
    Form3* dialog = nullptr;
};

} // namespace

TEST_F(FileDialog, StartsInTheProgramsFolderWithItsDesignValues)
{
    EXPECT_EQ(dialog->caption(), "save - load");
    EXPECT_FALSE(dialog->visible());
    EXPECT_EQ(dialog->Dir1.path(), QDir(fx.folder()).absolutePath());
    EXPECT_EQ(dialog->File1.path(), dialog->Dir1.path());
    EXPECT_EQ(f1->workingFolder(), dialog->Dir1.path());
    EXPECT_EQ(dialog->Text1.text(), "1.dbm");
    EXPECT_EQ(dialog->File1.pattern(), "*.*");
    EXPECT_TRUE(dialog->Option1.value());
    EXPECT_FALSE(dialog->Option2.value());
    EXPECT_FALSE(dialog->Timer1.enabled());
    EXPECT_EQ(dialog->Timer1.interval(), 100);
    EXPECT_EQ(dialog->Label1.caption(), "все файлы");
    EXPECT_EQ(dialog->Label2.caption(), "только dbm");
}

TEST_F(FileDialog, NameBoxFollowsTheFileListOnlyWhileItsTimerRuns)
{
    f1->map.click();
    EXPECT_TRUE(dialog->visible());
    EXPECT_TRUE(dialog->Timer1.enabled());
    EXPECT_EQ(dialog->Text1.text(), "1.dbm");

    fx.advance(100); // nothing selected: the name box empties
    EXPECT_EQ(dialog->Text1.text(), "");

    dialog->File1.select("1.dbm");
    fx.advance(99);
    EXPECT_EQ(dialog->Text1.text(), "");
    fx.advance(1);
    EXPECT_EQ(dialog->Text1.text(), "1.dbm");

    dialog->File1.select("12.dbm");
    dialog->Text1.setText("typed");
    fx.advance(100);
    EXPECT_EQ(dialog->Text1.text(), "12.dbm");

    // "load" stops the timer: the box keeps what it held at the click.
    dialog->Text1.setText("2.dbm");
    clickControl(dialog->Command2);
    EXPECT_FALSE(dialog->Timer1.enabled());
    EXPECT_TRUE(f1->Timer6.enabled());
    fx.tick();
    EXPECT_EQ(f1->file, "2.dbm");
    f1->Timer1.setEnabled(false); // the loaded map's play is not under test here
    dialog->File1.select("3.dbm");
    fx.advance(1000);
    EXPECT_EQ(dialog->Text1.text(), "2.dbm");
}

TEST_F(FileDialog, OpenedFromTheEditorTheNameBoxTakesTyping)
{
    f1->editor.click();
    clickControl(fx.forms().form2().Command1);
    EXPECT_TRUE(dialog->visible());
    dialog->Text1.setText("my.dbm");
    dialog->File1.select("5.dbm");
    fx.advance(1000);
    EXPECT_EQ(dialog->Text1.text(), "my.dbm");
}

TEST_F(FileDialog, SaveStopsTheNameTimerAndStartsTheSaveTimer)
{
    f1->map.click();
    dialog->File1.select("4.dbm");
    fx.advance(100);
    clickControl(dialog->Command1);
    EXPECT_FALSE(dialog->Timer1.enabled());
    EXPECT_TRUE(f1->Timer5.enabled());
    fx.tick();
    EXPECT_FALSE(f1->Timer5.enabled());
    EXPECT_EQ(f1->file, "4.dbm");
}

TEST_F(FileDialog, FilterShowsOnlyMapsOrEveryFile)
{
    fx.writeFile("notes.txt", "x");
    fx.writeFile("README", "x");
    fx.writeFile("UPPER.DBM", "x");
    dialog->File1.setPath(dialog->Dir1.path()); // re-read the folder
    EXPECT_TRUE(dialog->File1.files().contains("README")); // "*.*" needs no dot
    EXPECT_TRUE(dialog->File1.files().contains("notes.txt"));

    clickControl(dialog->Option2);
    EXPECT_EQ(dialog->File1.pattern(), "*.dbm");
    EXPECT_TRUE(dialog->Option2.value());
    EXPECT_FALSE(dialog->Option1.value());
    const QStringList maps = dialog->File1.files();
    EXPECT_TRUE(maps.contains("1.dbm"));
    EXPECT_TRUE(maps.contains("UPPER.DBM"));
    for (const QString& name : maps)
        EXPECT_TRUE(name.endsWith(".dbm", Qt::CaseInsensitive)) << name.toStdString();
    EXPECT_FALSE(maps.contains("config.cfg"));

    clickControl(dialog->Option1);
    EXPECT_EQ(dialog->File1.pattern(), "*.*");
    EXPECT_TRUE(dialog->File1.files().contains("README"));
    EXPECT_TRUE(dialog->File1.files().contains("config.cfg"));
}

TEST_F(FileDialog, FolderListShowsTheAncestorsAndTheSubfolders)
{
    QDir(fx.folder()).mkdir("beta");
    QDir(fx.folder()).mkdir("alpha");
    ASSERT_TRUE(dialog->Dir1.setPath(fx.folder()));
    ASSERT_TRUE(dialog->Dir1.openEntry("alpha"));
    ASSERT_TRUE(dialog->Dir1.openEntry(QFileInfo(fx.folder()).fileName()));

    const QString here = QDir(fx.folder()).absolutePath();
    const QStringList parts = here.split('/', Qt::SkipEmptyParts);
    const QStringList shown = dialog->Dir1.entries();
    ASSERT_EQ(dialog->Dir1.chainLength(), parts.size() + 1);
    EXPECT_EQ(shown.at(0), "/");
    for (int i = 0; i < parts.size(); ++i)
        EXPECT_EQ(shown.at(i + 1), parts.at(i));
    EXPECT_EQ(shown.mid(dialog->Dir1.chainLength()), (QStringList{"alpha", "beta"}));
    // The current folder is the highlighted entry.
    EXPECT_EQ(dirWidget()->currentRow(), dialog->Dir1.chainLength() - 1);
}

TEST_F(FileDialog, DoubleClickOpensAFolderAndMovesTheFileList)
{
    QDir(fx.folder()).mkdir("other");
    fx.writeFile("other/mine.dbm", "x");
    dialog->Dir1.setPath(fx.folder()); // re-read
    dialog->show();
    QListWidget* list = dirWidget();
    const auto found = list->findItems("other", Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    testing_support::doubleClickAt(list->viewport(), list->visualItemRect(found.first()).center());

    EXPECT_EQ(dialog->Dir1.path(), fx.pathOf("other"));
    EXPECT_EQ(dialog->File1.path(), fx.pathOf("other"));
    EXPECT_EQ(dialog->File1.files(), QStringList{"mine.dbm"});
    EXPECT_TRUE(fx.messages.isEmpty());

    // Enter on the top entry goes to the root.
    list->setCurrentRow(0);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(dialog->Dir1.path(), "/");
    EXPECT_EQ(dialog->File1.path(), "/");
}

TEST_F(FileDialog, ChangingFolderMovesTheSavedGameAndTheSettings)
{
    QDir(fx.folder()).mkdir("other");
    dialog->Dir1.setPath(fx.folder());
    ASSERT_TRUE(dialog->Dir1.openEntry("other"));
    EXPECT_EQ(f1->workingFolder(), fx.pathOf("other"));

    f1->save.click();
    EXPECT_TRUE(QFileInfo::exists(fx.pathOf("other/save.dbs")));
    EXPECT_EQ(fx.messages.value(0), fx.pathOf("other/save.dbs"));

    f1->Form_Unload(); // the main window's close box writes the settings
    QCoreApplication::processEvents(); // the music device's queued Done, while the game still exists
    EXPECT_TRUE(QFileInfo::exists(fx.pathOf("other/config.cfg")));
}

TEST_F(FileDialog, AFolderThatCannotBeReadKeepsThePreviousOne)
{
    QDir(fx.folder()).mkdir("gone");
    dialog->Dir1.setPath(fx.folder()); // lists "gone"
    QDir(fx.folder()).rmdir("gone");
    EXPECT_FALSE(dialog->Dir1.openEntry("gone"));
    EXPECT_EQ(dialog->Dir1.path(), QDir(fx.folder()).absolutePath());
    ASSERT_EQ(fx.messages.size(), 1);
    EXPECT_EQ(fx.messages.at(0), "Папка недоступна: " + fx.pathOf("gone"));
    EXPECT_FALSE(dialog->Dir1.setPath(fx.pathOf("1.dbm"))); // a file is not a folder
}

TEST_F(FileDialog, ChoosingADriveMovesToItsRootOrKeepsTheFolder)
{
    const QStringList drives = shell::DriveList::drives();
    ASSERT_FALSE(drives.isEmpty());
    EXPECT_EQ(drives.first(), "/");

    const QString before = dialog->Dir1.path();
    const QString driveBefore = dialog->Drive1.drive();
    dialog->Drive1.setDrive("/no/such/volume");
    ASSERT_EQ(fx.messages.size(), 1);
    EXPECT_EQ(fx.messages.at(0), "Диск недоступен: /no/such/volume");
    EXPECT_EQ(dialog->Dir1.path(), before);
    EXPECT_EQ(dialog->Drive1.drive(), driveBefore);

    // Another volume moves the folder to its root; "/" stands in for it here.
    dialog->Drive1.restoreDrive("/elsewhere");
    dialog->Drive1.setDrive("/");
    EXPECT_EQ(dialog->Drive1.drive(), "/");
    EXPECT_EQ(dialog->Dir1.path(), "/");
    EXPECT_EQ(dialog->File1.path(), "/");
    EXPECT_EQ(f1->workingFolder(), "/");
    EXPECT_EQ(fx.messages.size(), 1);
}

TEST_F(FileDialog, CloseBoxResetsTheWorkingFolderAndTheName)
{
    QDir(fx.folder()).mkdir("other");
    dialog->Dir1.setPath(fx.folder());
    dialog->Dir1.openEntry("other");
    dialog->Text1.setText("x.dbm");
    f1->map.click();
    clickControl(dialog->Option2);

    dialog->closeBox();
    EXPECT_FALSE(fx.forms().form3Exists());
    QCoreApplication::processEvents();
    fx.advance(500); // the closed dialog's timer is gone with it

    EXPECT_EQ(f1->workingFolder(), QDir(fx.folder()).absolutePath()); // the start-up folder again
    Form3& fresh = fx.forms().form3();
    EXPECT_FALSE(fresh.visible());
    EXPECT_EQ(fresh.Text1.text(), "1.dbm");
    EXPECT_EQ(fresh.File1.pattern(), "*.*");
    EXPECT_TRUE(fresh.Option1.value());
    EXPECT_FALSE(fresh.Timer1.enabled());
}

TEST_F(FileDialog, HidingKeepsEverySetting)
{
    QDir(fx.folder()).mkdir("other");
    dialog->Dir1.setPath(fx.folder());
    dialog->Dir1.openEntry("other");
    f1->map.click();
    clickControl(dialog->Option2);
    dialog->hide();
    f1->map.click();
    EXPECT_EQ(dialog, &fx.forms().form3());
    EXPECT_EQ(dialog->Dir1.path(), fx.pathOf("other"));
    EXPECT_EQ(dialog->File1.pattern(), "*.dbm");
    EXPECT_TRUE(dialog->Timer1.enabled());
}
