// The game's files on a disk that fills up, turns read-only, fails or loses its folder: no file the
// game wrote before loses a byte, and the player is told which file and why.
//
// Full and read-only disks are real (a small tmpfs, see small_disk.h); input/output errors and an
// exhausted quota come from below the program, from the fault library preloaded into this test
// program (faults.cpp).
#include "preload_faults.h"
#include "small_disk.h"

#include "filedialog/form3.h"
#include "files/map_dbm.h"
#include "files/records_txt.h"
#include "game/for6.h"
#include "game/form1.h"
#include "game/view_menu.h"
#include "shell/files.h"
#include "support/fakes.h"
#include "support/pointer.h"
#include "support/qt_print.h"
#include "support/unprivileged.h"

#include <QDirIterator>
#include <QFileInfo>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using shell::LeftOnDisk;
using small_disk::SmallDisk;
using testing_support::GameFixture;

namespace {

__attribute__((constructor)) void setUpProcess(int, char** argv)
{
    preload_faults::ensure(argv);
    small_disk::enterOwnMountNamespace();
}

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

// The temporary files that writes left behind anywhere below `folder`.
QStringList leftovers(const QString& folder)
{
    QStringList found;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        if (const QString name = it.next(); name.contains(QLatin1String(".tmp-")))
            found << name;
    return found;
}

// Sets the faults of the preloaded fault library: "<path part>|<call>=<errno>,...", or none.
void injectFaults(const QString& faults)
{
    using Set = void (*)(const char*);
    static const auto set = reinterpret_cast<Set>(::dlsym(RTLD_DEFAULT, "plinkat_faults_set"));
    ASSERT_NE(set, nullptr) << "the fault library is not preloaded (LD_PRELOAD)";
    set(faults.isEmpty() ? nullptr : faults.toUtf8().constData());
}

struct FaultsOff {
    ~FaultsOff() { injectFaults({}); }
};

// The game, started with its folders below `parent` (a small disk, or anywhere).
class GameOn {
public:
    explicit GameOn(const QString& parent)
    {
        const QByteArray saved = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(parent));
        fx = std::make_unique<GameFixture>();
        qputenv("TMPDIR", saved);
        f1 = &fx->start();
        fx->forms().for6().Command4.click();
        f1->Timer3.setEnabled(false);
        f1->Timer4.setEnabled(false);
    }
    QString recordsPath() const { return fx->startFolder() + QStringLiteral("/records.txt"); }
    QString viewPath() const { return fx->startFolder() + QStringLiteral("/view.cfg"); }

    std::unique_ptr<GameFixture> fx;
    Form1* f1 = nullptr;
};

// What the player had on disk before it failed.
struct PlayersFiles {
    QByteArray settings, save, map, records, view;
};

PlayersFiles givePlayersFiles(GameOn& game)
{
    GameFixture& fx = *game.fx;
    fx.writeFile("config.cfg", " 5  3  4.5 \r\n");
    fx.writeFile("save.dbs", " 7 \r\n");
    CellGrid mine{};
    mine[2][3] = 3;
    fx.writeFile("mine.dbm", map_dbm::text(mine));
    records_txt::Table table;
    records_txt::insert(table, {900, 5, fx.now});
    put(game.recordsPath(), records_txt::format(table));
    put(game.viewPath(), "window-size 150\n");
    return {fx.readFile("config.cfg"), fx.readFile("save.dbs"), fx.readFile("mine.dbm"), bytesOf(game.recordsPath()),
            bytesOf(game.viewPath())};
}

// Every save the game makes, on a disk that takes none of them: each keeps its file byte for byte
// and tells the player which file and why; the level box never follows a failed save, and the game
// still ends when the player closes it.
void expectEverySaveKeptAndTold(GameOn& game, const PlayersFiles& before, const QString& reason)
{
    GameFixture& fx = *game.fx;
    Form1& f1 = *game.f1;
    const QString kept = reason + QStringLiteral(" Прежний файл не изменён.");

    fx.messages.clear();
    f1.level = 3;
    f1.save_Click();
    EXPECT_EQ(fx.messages, QStringList({fx.pathOf("save.dbs"), "Не удалось сохранить игру: " + fx.pathOf("save.dbs") + "\n" + kept}));

    fx.messages.clear();
    Form3& dialog = fx.forms().form3();
    dialog.Text1.setText("mine.dbm");
    testing_support::clickControl(dialog.Command1);
    fx.tick();
    EXPECT_EQ(fx.messages, QStringList({fx.pathOf("mine.dbm"), "Не удалось записать карту: " + fx.pathOf("mine.dbm") + "\n" + kept}));

    fx.messages.clear();
    f1.score = 1000;
    f1.ballLost();
    ASSERT_FALSE(fx.messages.isEmpty());
    EXPECT_EQ(fx.messages.last(), "Не удалось записать рекорд: " + game.recordsPath() + "\n" + kept);

    fx.messages.clear();
    f1.vid->marks.click();
    EXPECT_EQ(fx.messages, QStringList({"Не удалось сохранить настройки вида: " + game.viewPath() + "\n" + kept}));

    fx.messages.clear();
    f1.closeBox();
    EXPECT_TRUE(fx.ended);
    EXPECT_EQ(fx.messages, QStringList({"Не удалось сохранить настройки: " + fx.pathOf("config.cfg") + "\n" + kept}));

    EXPECT_EQ(fx.readFile("config.cfg"), before.settings);
    EXPECT_EQ(fx.readFile("save.dbs"), before.save);
    EXPECT_EQ(fx.readFile("mine.dbm"), before.map);
    EXPECT_EQ(bytesOf(game.recordsPath()), before.records);
    EXPECT_EQ(bytesOf(game.viewPath()), before.view);
    EXPECT_EQ(leftovers(QFileInfo(fx.folder()).path()), QStringList());
}

} // namespace

TEST(FullDisk, EverySaveKeepsItsFileAndTellsThePlayerAlsoInAFolderThatTakesNoNewFiles)
{
    SmallDisk disk(8 * 1024);
    if (!disk.ok())
        GTEST_SKIP() << disk.why();
    GameOn game(disk.path());
    const PlayersFiles before = givePlayersFiles(game);

    // A shared folder on the same disk, where files are rewritten in place: a rewrite that needs
    // more room than is left puts the old bytes back.
    const QString shared = disk.path() + QStringLiteral("/shared");
    ASSERT_TRUE(QDir().mkdir(shared));
    const QString sharedFile = shared + QStringLiteral("/config.cfg");
    put(sharedFile, " 5  3  4.5 \r\n");
    ASSERT_EQ(::chmod(QFile::encodeName(sharedFile).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 0555), 0);

    ASSERT_TRUE(disk.fill());
    expectEverySaveKeptAndTold(game, before, QStringLiteral("На диске нет места."));

    const int failed = testing_support::runUnprivileged([&] {
        const shell::WriteResult r = shell::writeFileWhole(sharedFile, QByteArray(64 * 1024, ' '));
        return (r.error == ENOSPC ? 0 : 1) | (r.left == LeftOnDisk::Old ? 0 : 2);
    });
    EXPECT_EQ(failed, 0) << "1: not told the disk is full, 2: not put back, 100: could not become an ordinary user";
    EXPECT_EQ(bytesOf(sharedFile), " 5  3  4.5 \r\n");
}

TEST(ReadOnlyDisk, ARemountWhileTheGameRunsKeepsEveryFileAndTellsThePlayer)
{
    SmallDisk disk(8 * 1024);
    if (!disk.ok())
        GTEST_SKIP() << disk.why();
    GameOn game(disk.path());
    const PlayersFiles before = givePlayersFiles(game);
    ASSERT_TRUE(disk.remountReadOnly());
    expectEverySaveKeptAndTold(game, before, QStringLiteral("Диск доступен только для чтения."));
}

TEST(FailingDisk, InputOutputErrorsAndAnExhaustedQuotaKeepEverySavedFile)
{
    FaultsOff off;
    const std::pair<const char*, QString> faults[] = {
        {"write=EIO", QStringLiteral("Диск сообщил об ошибке записи: возможно, он повреждён.")},
        {"fsync=EDQUOT", QStringLiteral("Исчерпана ваша дисковая квота.")},
    };
    for (const auto& [fault, reason] : faults) {
        SCOPED_TRACE(fault);
        QTemporaryDir parent;
        GameOn game(parent.path());
        const PlayersFiles before = givePlayersFiles(game);
        injectFaults(parent.path() + QLatin1Char('|') + QLatin1String(fault));
        expectEverySaveKeptAndTold(game, before, reason);
        injectFaults({});
    }
}

// Every step of a write that can fail, failing: the old file keeps its bytes and nothing is left
// behind; once the new file is in place, a folder that cannot be synced is still told.
TEST(FailingDisk, AWriteFailingAtAnyStepKeepsTheOldFile)
{
    FaultsOff off;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("f.cfg"));
    const struct {
        const char* fault;
        int error;
        LeftOnDisk left;
        const char* after;
    } steps[] = {
        {"write=EIO", EIO, LeftOnDisk::Old, "old"},       {"write=EDQUOT", EDQUOT, LeftOnDisk::Old, "old"},
        {"fsync=EIO", EIO, LeftOnDisk::Old, "old"},       {"close=EIO", EIO, LeftOnDisk::Old, "old"},
        {"rename=EIO", EIO, LeftOnDisk::Old, "old"},      {"dirsync=EIO", EIO, LeftOnDisk::New, "new"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.fault);
        put(path, "old");
        injectFaults(dir.path() + QLatin1Char('|') + QLatin1String(step.fault));
        const shell::WriteResult r = shell::writeFileWhole(path, "new");
        injectFaults({});
        EXPECT_EQ(r.error, step.error);
        EXPECT_EQ(r.left, step.left);
        EXPECT_EQ(bytesOf(path), step.after);
        EXPECT_EQ(leftovers(dir.path()), QStringList());
    }

    // A folder that takes no new files: the file is rewritten in place, and its old bytes go back
    // when a step fails, or the player hears that even that failed.
    put(path, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    const struct {
        const char* fault;
        LeftOnDisk left;
    } inPlace[] = {{"write=EIO*1", LeftOnDisk::Old}, {"truncate=EIO*1", LeftOnDisk::Old},
                   {"fsync=EDQUOT*1", LeftOnDisk::Old}, {"write=EIO", LeftOnDisk::Damaged}};
    for (const auto& step : inPlace) {
        SCOPED_TRACE(step.fault);
        const int failed = testing_support::runUnprivileged([&] {
            injectFaults(dir.path() + QLatin1Char('|') + QLatin1String(step.fault));
            const shell::WriteResult r = shell::writeFileWhole(path, "a longer new text");
            return (r ? 1 : 0) | (r.left == step.left ? 0 : 2);
        });
        EXPECT_EQ(failed, 0) << "1: reported as written, 2: not what was left, 100: could not become an ordinary user";
        if (step.left == LeftOnDisk::Old) {
            EXPECT_EQ(bytesOf(path), "old");
        }
    }
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
}

// Each new file in place but its folder not synced: every save tells it in the one same way, as a
// file written, and the game goes on as after a save (the level box, the record's plain hint).
TEST(FailingDisk, AFolderTheDiskDoesNotSyncIsToldTheSameWayByEverySave)
{
    FaultsOff off;
    QTemporaryDir parent;
    GameOn game(parent.path());
    GameFixture& fx = *game.fx;
    Form1& f1 = *game.f1;
    givePlayersFiles(game);
    injectFaults(parent.path() + QStringLiteral("|dirsync=EIO"));
    const auto unconfirmed = [](const QString& path) {
        return "Файл записан, но диск не подтвердил запись: " + path
               + "\nДиск сообщил об ошибке записи: возможно, он повреждён. При сбое питания может вернуться прежний файл.";
    };

    fx.messages.clear();
    f1.score = 1000;
    f1.ballLost();
    EXPECT_EQ(f1.Text1.text(), "новый рекорд: 1000");
    EXPECT_EQ(fx.messages.last(), unconfirmed(game.recordsPath()));
    EXPECT_EQ(records_txt::parse(bytesOf(game.recordsPath())).front().score, 1000);

    fx.messages.clear();
    f1.level = 3;
    f1.save_Click();
    EXPECT_EQ(fx.messages, QStringList({fx.pathOf("save.dbs"), unconfirmed(fx.pathOf("save.dbs")), "уровень  - 3"}));

    fx.messages.clear();
    f1.closeBox();
    EXPECT_TRUE(fx.ended);
    EXPECT_EQ(fx.messages, QStringList({unconfirmed(fx.pathOf("config.cfg"))}));
}

// A file the disk cannot read is told, and what the game builds without it never replaces it.
TEST(FailingDisk, AnUnreadableFileIsToldAndNeverOverwritten)
{
    FaultsOff off;
    QTemporaryDir parent;
    GameOn game(parent.path());
    GameFixture& fx = *game.fx;
    Form1& f1 = *game.f1;
    const PlayersFiles before = givePlayersFiles(game);
    const QString readError = QStringLiteral("Диск сообщил об ошибке чтения: возможно, он повреждён.");

    injectFaults(game.recordsPath() + QStringLiteral("|read=EIO"));
    fx.messages.clear();
    f1.score = 1000;
    f1.ballLost();
    ASSERT_FALSE(fx.messages.isEmpty());
    EXPECT_EQ(fx.messages.last(), "Не удалось записать рекорд: " + game.recordsPath() + "\n" + readError
                                      + " Файл рекордов не перезаписан, чтобы не потерять прежние рекорды.");

    injectFaults(fx.pathOf("2.dbm") + QStringLiteral("|read=EIO"));
    fx.messages.clear();
    const CellGrid cells = f1.cells;
    EXPECT_FALSE(f1.loadLevelMap(2));
    EXPECT_EQ(fx.messages, QStringList({"Не удалось прочитать карту: " + fx.pathOf("2.dbm") + "\n" + readError}));
    EXPECT_EQ(f1.cells, cells);

    // Settings the disk could not read at start-up are left as they are at the end. The read fails
    // once only: the start-up reads the file once, and goes by what that read found.
    fx.restart();
    injectFaults(fx.pathOf("config.cfg") + QStringLiteral("|read=EIO*1"));
    fx.messages.clear();
    Form1& again = fx.start();
    ASSERT_EQ(fx.messages.size(), 1);
    EXPECT_TRUE(fx.messages[0].startsWith("Не удалось прочитать настройки: " + fx.pathOf("config.cfg") + "\n" + readError));
    injectFaults({});
    fx.messages.clear();
    again.closeBox();
    EXPECT_TRUE(fx.ended);
    EXPECT_EQ(fx.messages, QStringList());
    EXPECT_EQ(fx.readFile("config.cfg"), before.settings);
    EXPECT_EQ(bytesOf(game.recordsPath()), before.records);
}

TEST(VanishingFolder, AWorkingFolderDeletedOrReplacedByAFileIsToldAndTheGameStillEnds)
{
    QTemporaryDir parent;
    GameOn game(parent.path());
    GameFixture& fx = *game.fx;
    const QString gone = QStringLiteral("Папки, в которой лежит файл, больше нет.");
    ASSERT_TRUE(QDir(fx.folder()).removeRecursively());
    fx.messages.clear();
    game.f1->save_Click();
    EXPECT_EQ(fx.messages.last(), "Не удалось сохранить игру: " + fx.pathOf("save.dbs") + "\n" + gone);

    put(fx.folder(), "a file where the folder was");
    fx.messages.clear();
    game.f1->closeBox();
    EXPECT_TRUE(fx.ended);
    EXPECT_EQ(fx.messages, QStringList({"Не удалось сохранить настройки: " + fx.pathOf("config.cfg") + "\n" + gone}));
    EXPECT_EQ(bytesOf(fx.folder()), "a file where the folder was");
}
