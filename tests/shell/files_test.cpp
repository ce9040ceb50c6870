// Files as an ordinary player meets them: a shared play folder where no file can be created but
// the game's own files are writable, files linked elsewhere, and maps the player may not read.
#include "filedialog/map_preview.h"
#include "files/map_dbm.h"
#include "messages/file_messages.h"
#include "shell/files.h"
#include "support/unprivileged.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using testing_support::runUnprivileged;

namespace {

QByteArray contents(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

void put(const QString& path, const QByteArray& bytes, mode_t mode)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    ASSERT_EQ(chmod(QFile::encodeName(path).constData(), mode), 0);
}

ino_t inodeOf(const QString& path)
{
    struct stat st {};
    return stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

} // namespace

TEST(WholeFileWrite, ASharedFolderTakesNoNewFilesButItsWritableFilesAreRewrittenInPlace)
{
    QTemporaryDir dir;
    const QString shared = dir.filePath("shared.cfg"), readOnly = dir.filePath("readonly.cfg"),
                  fresh = dir.filePath("new.cfg");
    put(shared, " 5  1  4 \r\n and an old tail\r\n", 0666);
    put(readOnly, " 5  1  4 \r\n", 0444);
    // Others (and, as the owner, this user) may enter and list the folder but create nothing in it.
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);
    const ino_t sharedInode = inodeOf(shared);

    const int failed = runUnprivileged([&] {
        int bits = 0;
        if (!shell::writeFileWhole(shared, " 5  3  6 \r\n"))
            bits |= 1;
        if (shell::writeFileWhole(readOnly, "x"))
            bits |= 2;
        if (shell::writeFileWhole(fresh, "x"))
            bits |= 4;
        return bits;
    });
    chmod(QFile::encodeName(dir.path()).constData(), 0755);
    EXPECT_EQ(failed, 0) << "1: the writable file was not saved, 2: a read-only file was replaced, "
                            "4: a file was created in the folder, 100: could not become an ordinary user";
    EXPECT_EQ(contents(shared), " 5  3  6 \r\n");
    EXPECT_EQ(inodeOf(shared), sharedInode) << "rewritten in place";
    EXPECT_EQ(contents(readOnly), " 5  1  4 \r\n");
    EXPECT_FALSE(QFile::exists(fresh));

    // Where the folder allows it, the write stays atomic: a new file is renamed over the old one.
    const QString own = dir.filePath("own.cfg");
    put(own, "old", 0644);
    const ino_t before = inodeOf(own);
    ASSERT_TRUE(shell::writeFileWhole(own, "new"));
    EXPECT_EQ(contents(own), "new");
    EXPECT_NE(inodeOf(own), before);
}

// The map dialog draws no picture for a map the player may not read, and still draws the others.
TEST(MapPicture, AMapThePlayerMayNotReadHasNone)
{
    QTemporaryDir dir;
    ASSERT_EQ(chmod(QFile::encodeName(dir.path()).constData(), 0755), 0);
    CellGrid cells{};
    cells[3][2] = 2;
    put(dir.filePath("open.dbm"), map_dbm::text(cells), 0644);
    put(dir.filePath("locked.dbm"), map_dbm::text(cells), 0000);
    const int failed = runUnprivileged([&] {
        return (filedialog::readMapPreview(dir.filePath("open.dbm")) ? 0 : 1)
               | (filedialog::readMapPreview(dir.filePath("locked.dbm")) ? 2 : 0);
    });
    EXPECT_EQ(failed, 0) << "1: no picture of a readable map, 2: a picture of a map that cannot be read, "
                            "100: could not become an ordinary user";
}

// A settings file linked elsewhere stays a link however its write goes: a link to a file not made
// yet makes it where the link points, and a link into a folder that is not there is refused.
TEST(WholeFileWrite, ALinkToNoFileIsWrittenThroughOrRefusedAndStaysALink)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("elsewhere"));
    const QString link = dir.filePath("config.cfg"), lost = dir.filePath("save.dbs");
    ASSERT_EQ(symlink("elsewhere/config.cfg", QFile::encodeName(link).constData()), 0);
    const QString nowhere = dir.filePath("gone/save.dbs");
    ASSERT_EQ(symlink(QFile::encodeName(nowhere).constData(), QFile::encodeName(lost).constData()), 0);
    const auto isLink = [](const QString& path) {
        struct stat st {};
        return lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
    };

    EXPECT_TRUE(shell::writeFileWhole(link, " 5  2  4 \r\n"));
    EXPECT_TRUE(isLink(link));
    EXPECT_EQ(contents(dir.filePath("elsewhere/config.cfg")), " 5  2  4 \r\n");

    const shell::WriteResult refused = shell::writeFileWhole(lost, " 3 \r\n");
    EXPECT_EQ(refused.error, ENOENT);
    EXPECT_TRUE(isLink(lost));
    EXPECT_EQ(messages::writeFailed("Не удалось сохранить игру", lost, refused),
              "Не удалось сохранить игру: " + lost + "\nЭто ссылка на " + nowhere
                  + ". Папки, в которой лежит файл, больше нет.");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System), QStringList({"config.cfg", "save.dbs"}));

    // A result that no write made is no success.
    EXPECT_FALSE(shell::WriteResult{});
}
