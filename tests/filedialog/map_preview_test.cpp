// Map pictures in the save/load dialog's file list: which files get one and in what colours, the
// cache against rewritten files, reading only the rows in view, and reads that are still under way
// when the folder changes or the dialog goes.
#include "filedialog/form3.h"
#include "filedialog/map_preview.h"
#include "files/map_dbm.h"
#include "support/fakes.h"
#include "support/qt_print.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QHelpEvent>
#include <QListWidget>
#include <QScrollBar>
#include <QSemaphore>
#include <QToolTip>
#include <atomic>
#include <gtest/gtest.h>

using testing_support::GameFixture;

namespace {

// Every cell one value.
CellGrid filled(float value)
{
    CellGrid g{};
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            g[x][y] = value;
    return g;
}

// The colour at the middle of cell (x, y) of a picture.
QColor cellAt(const QPixmap& picture, int x, int y)
{
    const QImage image = picture.toImage();
    return image.pixelColor(static_cast<int>((x - 0.5) * image.width() / 10), static_cast<int>((y - 0.5) * image.height() / 4));
}

const QColor kGreenPx(0, 250, 0);
const QColor kYellowPx(250, 250, 0);
const QColor kRedPx(250, 0, 0);
const QColor kEmptyPx(224, 224, 224);

class MapPreviews : public ::testing::Test {
protected:
    void SetUp() override
    {
        fx.start();
        fx.tick();
        QDir(fx.folder()).mkdir("maps");
        dialog = &fx.forms().form3();
        dialog->show();
    }
    void writeMap(const QString& name, const CellGrid& cells) { fx.writeFile("maps/" + name, map_dbm::text(cells)); }
    void openMaps() { ASSERT_TRUE(dialog->Dir1.setPath(fx.pathOf("maps"))); }
    QListWidget* list() const { return static_cast<QListWidget*>(dialog->File1.widget()); }
    // Reads through the dialog's own reader, counting them; a closed gate holds every read.
    void countReads()
    {
        dialog->File1.setPreviewReader([this](const QString& path) {
            ++reads;
            entered.release();
            gate.acquire();
            gate.release();
            return filedialog::readMapPreview(path);
        }, filedialog::kMapIconSize, filedialog::kMapTipSize);
    }

    // Before the fixture: reads still queued when its windows go may hold them.
    std::atomic<int> reads = 0;
    QSemaphore gate{1};
    QSemaphore entered;
    GameFixture fx;
    Form3* dialog = nullptr;
};

} // namespace

TEST_F(MapPreviews, OnlyFilesThatReadAsMapsGetAPictureInTheirColours)
{
    CellGrid map = filled(0);
    map[1][1] = 1;
    map[10][1] = 2;
    map[10][4] = 3;
    map[2][1] = 7; // outside 0..3: drawn empty
    writeMap("valid.dbm", map);
    fx.writeFile("maps/level.txt", map_dbm::text(filled(3)).replace("\r\n", ",")); // any name, any separators
    fx.writeFile("maps/short.dbm", map_dbm::text(filled(1)).left(39 * 5));
    QByteArray junk;
    for (int i = 0; i < 4096; ++i)
        junk += static_cast<char>((i * 131 + 7) & 0xff);
    fx.writeFile("maps/junk.dbm", junk);
    writeMap("locked.dbm", filled(1));
    QFile(fx.pathOf("maps/locked.dbm")).setPermissions({});
    const bool lockedReadable = QFile(fx.pathOf("maps/locked.dbm")).open(QIODevice::ReadOnly); // as root
    openMaps();
    dialog->File1.waitForPreviews();

    const QPixmap valid = dialog->File1.preview("valid.dbm");
    ASSERT_FALSE(valid.isNull());
    EXPECT_EQ(valid.size(), filedialog::kMapIconSize * list()->devicePixelRatio());
    EXPECT_EQ(cellAt(valid, 1, 1), kGreenPx);
    EXPECT_EQ(cellAt(valid, 10, 1), kYellowPx);
    EXPECT_EQ(cellAt(valid, 10, 4), kRedPx);
    EXPECT_EQ(cellAt(valid, 2, 1), kEmptyPx);
    EXPECT_EQ(cellAt(valid, 5, 3), kEmptyPx);
    EXPECT_EQ(cellAt(dialog->File1.preview("level.txt"), 4, 2), kRedPx);
    EXPECT_TRUE(dialog->File1.preview("short.dbm").isNull());
    EXPECT_TRUE(dialog->File1.preview("junk.dbm").isNull());
    if (!lockedReadable) {
        EXPECT_TRUE(dialog->File1.preview("locked.dbm").isNull());
    }

    // The 2× picture keeps whole cells: the same colours, twice the pixels.
    const QPixmap sharp = filedialog::paintMap(map, filedialog::kMapIconSize, 2);
    EXPECT_EQ(sharp.size(), filedialog::kMapIconSize * 2);
    EXPECT_EQ(cellAt(sharp, 10, 4), kRedPx);
    EXPECT_EQ(sharp.toImage().pixelColor(0, 0), sharp.toImage().pixelColor(1, 1)); // a line two pixels wide

    // The tooltip shows the name over a picture; a file without one keeps the plain tooltip.
    auto tipOf = [this](const QString& name) {
        QToolTip::hideText();
        const QPoint at = list()->visualItemRect(list()->findItems(name, Qt::MatchExactly).first()).center();
        QHelpEvent event(QEvent::ToolTip, at, list()->viewport()->mapToGlobal(at));
        QCoreApplication::sendEvent(list()->viewport(), &event);
        return QToolTip::text();
    };
    EXPECT_TRUE(tipOf("valid.dbm").contains("valid.dbm"));
    EXPECT_TRUE(tipOf("valid.dbm").contains("<img src=\"data:image/png;base64,"));
    EXPECT_FALSE(tipOf("junk.dbm").contains("junk.dbm"));
    QToolTip::hideText();
    EXPECT_TRUE(fx.messages.isEmpty());
}

TEST_F(MapPreviews, OnlyRowsInViewAreReadAndOnlyChangedFilesAgain)
{
    constexpr int kFiles = 300;
    for (int i = 0; i < kFiles; ++i)
        writeMap(QString("m%1.dbm").arg(i, 3, 10, QChar('0')), filled(static_cast<float>(i % 3 + 1)));
    countReads();
    openMaps();
    dialog->File1.waitForPreviews();

    auto rowsWithPictures = [this] {
        int n = 0;
        for (const QString& name : dialog->File1.files())
            n += dialog->File1.preview(name).isNull() ? 0 : 1;
        return n;
    };
    const int inView = list()->viewport()->height() / list()->visualItemRect(list()->item(0)).height();
    ASSERT_GT(inView, 3);
    EXPECT_FALSE(dialog->File1.preview("m000.dbm").isNull());
    EXPECT_GE(reads, inView);
    EXPECT_LE(reads, 2 * inView);
    EXPECT_EQ(rowsWithPictures(), reads);

    // Scrolled to the end: the last rows are read, not those passed over.
    const int before = reads;
    list()->scrollToBottom();
    dialog->File1.waitForPreviews();
    EXPECT_FALSE(dialog->File1.preview("m299.dbm").isNull());
    EXPECT_LE(reads - before, 2 * inView);

    // A refresh with nothing changed reads nothing again.
    const int settled = reads;
    dialog->File1.refresh();
    dialog->File1.waitForPreviews();
    EXPECT_EQ(reads, settled);

    // A rewritten file of the same size but a new time gets a new picture at the next refresh,
    // which keeps the selected row in view.
    dialog->File1.select("m299.dbm");
    writeMap("m299.dbm", filled(0));
    QFile changed(fx.pathOf("maps/m299.dbm"));
    ASSERT_TRUE(changed.open(QIODevice::ReadWrite));
    ASSERT_TRUE(changed.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    changed.close();
    EXPECT_EQ(cellAt(dialog->File1.preview("m299.dbm"), 1, 1), kRedPx); // what was read before
    dialog->File1.refresh();
    dialog->File1.waitForPreviews();
    EXPECT_EQ(reads, settled + 1);
    EXPECT_EQ(cellAt(dialog->File1.preview("m299.dbm"), 1, 1), kEmptyPx);
}

TEST_F(MapPreviews, AReadUnderWayWhenTheFolderChangesOrTheDialogClosesIsDropped)
{
    // The same name in two folders, green in one and red in the other.
    writeMap("same.dbm", filled(1));
    QDir(fx.folder()).mkdir("other");
    fx.writeFile("other/same.dbm", map_dbm::text(filled(3)));
    gate.acquire(); // reads wait
    countReads();
    openMaps();
    QCoreApplication::processEvents(); // the rows in view are asked for
    entered.acquire();                 // and the first read has begun
    ASSERT_TRUE(dialog->Dir1.setPath(fx.pathOf("other")));
    gate.release();
    dialog->File1.waitForPreviews();
    EXPECT_EQ(cellAt(dialog->File1.preview("same.dbm"), 1, 1), kRedPx);

    // The close box while a read waits: the dialog goes once the read ends, and its result with it.
    entered.acquire(entered.available());
    gate.acquire();
    openMaps();
    QCoreApplication::processEvents();
    entered.acquire();
    dialog->closeBox();
    gate.release();
    QCoreApplication::processEvents(); // the dialog is deleted
    EXPECT_FALSE(fx.forms().form3Exists());

    Form3& fresh = fx.forms().form3();
    fresh.show();
    fresh.File1.waitForPreviews();
    EXPECT_FALSE(fresh.File1.preview("1.dbm").isNull());
    EXPECT_TRUE(fx.messages.isEmpty());
}
