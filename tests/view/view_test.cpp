// How the game looks: view.cfg, the window sizes the screen holds, and the cell marks on the
// playfield, in the editor and in the map pictures, switched from the menu "вид".
#include "editor/form2.h"
#include "filedialog/map_preview.h"
#include "files/view_cfg.h"
#include "game/form1.h"
#include "game/forms.h"
#include "game/view_menu.h"
#include "support/fakes.h"
#include "support/qt_print.h"
#include "view/cell_marks.h"
#include "view/window_size.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>
#include <sys/stat.h>

using testing_support::GameFixture;

namespace {

int grey(QRgb c) // as a greyscale conversion sees it (Rec. 709 luma)
{
    return static_cast<int>(0.2126 * qRed(c) + 0.7152 * qGreen(c) + 0.0722 * qBlue(c));
}

// The pips along the middle row of a cell in an image: runs of pixels that are not the cell's
// colour, each of which must stand out from the cell in grey.
int pipsAcross(const QImage& image, const QRect& cell, int y)
{
    const QRgb fill = image.pixel(cell.center().x(), cell.top() + 3);
    int runs = 0;
    bool inRun = false, contrasted = false;
    for (int x = cell.left() + 2; x < cell.right() - 2; ++x) {
        const QRgb p = image.pixel(x, y);
        const bool mark = p != fill;
        if (mark && std::abs(grey(p) - grey(fill)) >= 100)
            contrasted = true;
        if (inRun && !mark) {
            runs += contrasted ? 1 : 100;
            contrasted = false;
        }
        inRun = mark;
    }
    return runs + (inRun ? 1000 : 0); // a pip cut by the cell's edge counts as none
}

} // namespace

TEST(ViewFile, ReadsTolerantlyAndReadsBackWhatItWrites)
{
    using view_cfg::parse;
    EXPECT_EQ(parse(""), view_cfg::Values{});
    EXPECT_EQ(parse("cell-marks on\r\nwindow-size 150\r\n"), (view_cfg::Values{true, 150}));
    EXPECT_EQ(parse("  window-size\tfit  \ncell-marks on"), (view_cfg::Values{true, view_cfg::kFitScreen}));
    // Unknown names, odd values, extra words and broken lines are skipped; the last good line counts.
    EXPECT_EQ(parse("colour blue\nwindow-size 175\nwindow-size 200 %\ncell-marks yes\nwindow-size\n"), view_cfg::Values{});
    EXPECT_EQ(parse("window-size 200\ncell-marks on\nwindow-size 1x\ncell-marks off\n"), (view_cfg::Values{false, 200}));
    EXPECT_EQ(parse(QByteArrayView("cell-marks on\0\nwindow-size 150", 30)), (view_cfg::Values{false, 150}));
    for (const view_cfg::Values v : {view_cfg::Values{}, view_cfg::Values{true, 200}, view_cfg::Values{false, view_cfg::kFitScreen}})
        EXPECT_EQ(parse(view_cfg::text(v)), v);

    QTemporaryDir dir;
    EXPECT_EQ(view_cfg::read(dir.filePath("none.cfg")), view_cfg::Values{});
    EXPECT_EQ(view_cfg::read(dir.path()), view_cfg::Values{});
    const QByteArray fifo = QFile::encodeName(dir.filePath("fifo.cfg"));
    ASSERT_EQ(mkfifo(fifo.constData(), 0600), 0);
    EXPECT_EQ(view_cfg::read(dir.filePath("fifo.cfg")), view_cfg::Values{}); // returns at once: a pipe is never opened
    // Past the size limit a line cut in two is no line: "window-size 1500" never reads as 150.
    ASSERT_TRUE(view_cfg::write(dir.filePath("long.cfg"), {true, 200}));
    QFile f(dir.filePath("long.cfg"));
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(QByteArray(view_cfg::kMaxBytes - f.size() - 15, '#') + "\nwindow-size 1500\n");
    f.close();
    EXPECT_EQ(view_cfg::read(dir.filePath("long.cfg")), (view_cfg::Values{true, 200}));
}

TEST(WindowSize, FitsTheTallestWindowIntoTheAvailableArea)
{
    const view::Area laptop{1280, 800}, large{3840, 2160}, small{800, 600};
    EXPECT_DOUBLE_EQ(view::fitFactor(laptop), 1.2);
    EXPECT_DOUBLE_EQ(view::fitFactor(large), 3.3);
    EXPECT_DOUBLE_EQ(view::fitFactor(small), 0.9);
    EXPECT_DOUBLE_EQ(view::fitFactor({100, 100}), view::kSmallestFactor);
    EXPECT_TRUE(view::fits(view::fitFactor(laptop), laptop));
    EXPECT_FALSE(view::fits(view::fitFactor(laptop) + 0.05, laptop));
    // A size the screen cannot hold becomes the largest it can; 100 % stays the design size.
    EXPECT_DOUBLE_EQ(view::factorFor(150, laptop), 1.2);
    EXPECT_DOUBLE_EQ(view::factorFor(200, large), 2.0);
    EXPECT_DOUBLE_EQ(view::factorFor(view_cfg::kFitScreen, large), 3.3);
    EXPECT_DOUBLE_EQ(view::factorFor(100, small), 1.0);
    // Exactly as tall as the main window at 200 %.
    EXPECT_DOUBLE_EQ(view::factorFor(200, {2 * view::kLargestWindowWidth, 2 * view::kLargestWindowHeight}), 2.0);
}

TEST(CellMarks, OneTwoAndThreePipsStandOutInGreyOnTheirCells)
{
    for (const qreal dpr : {1.0, 1.5, 2.0}) {
        const QSize cell = (QSizeF(57, 57) * dpr).toSize();
        for (int value = 1; value <= 3; ++value) {
            QImage image(cell, QImage::Format_ARGB32_Premultiplied);
            image.fill(shell::toQColor(*cellColor(static_cast<float>(value), 0)));
            QPainter p(&image);
            p.drawPixmap(0, 0, view::markPicture(static_cast<float>(value), cell));
            p.end();
            EXPECT_EQ(pipsAcross(image, image.rect(), cell.height() / 2), value) << "dpr " << dpr;
        }
    }
    // In the map pictures' tiny cells the pips are whole pixels: value n has n times the pixels of 1.
    CellGrid ones{}, values{};
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y) {
            ones[x][y] = 1;
            values[x][y] = static_cast<float>(y > 3 ? 0 : y);
        }
    for (const QSize size : {filedialog::kMapIconSize, filedialog::kMapTipSize}) {
        const QImage plain = filedialog::paintMap(ones, size, 1).toImage();
        const QImage one = filedialog::paintMap(ones, size, 1, true).toImage();
        const QImage marked = filedialog::paintMap(values, size, 1, true).toImage();
        const QImage unmarked = filedialog::paintMap(values, size, 1).toImage();
        const auto markPixels = [](const QImage& a, const QImage& b) {
            int n = 0;
            for (int y = 0; y < a.height(); ++y)
                for (int x = 0; x < a.width(); ++x)
                    n += a.pixel(x, y) != b.pixel(x, y);
            return n;
        };
        const int perPip = markPixels(one, plain) / 40;
        EXPECT_GT(perPip, 0);
        EXPECT_EQ(markPixels(marked, unmarked), 10 * perPip * (1 + 2 + 3)) << size.width() << " px picture";
    }
    EXPECT_FALSE(view::hasMark(0));
    EXPECT_FALSE(view::hasMark(4));
    EXPECT_TRUE(view::markPicture(5, {57, 57}).isNull());
}

TEST(ViewMenu, CellMarksShowEverywhereAtOnceAndAreKeptAcrossRuns)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    ASSERT_FALSE(f1.vid->marks.checked());
    f1.cells = {};
    f1.cells[2][1] = 1;
    f1.cells[3][1] = 2;
    f1.cells[4][1] = 3;
    f1.drawGrid();
    const auto markedAt = [&f1](int x) {
        for (float at = 15.0f * x + 2; at < 15.0f * x + 13; at += 0.25f)
            if (f1.drawnColorAt(at, 22.5f) != f1.drawnColorAt(15.0f * x + 4, 18))
                return true;
        return false;
    };
    EXPECT_FALSE(markedAt(2)) << "marks are off by default";

    Form2& editor = fx.forms().form2();
    editor.Option3.click();
    editor.Label_Click(1);
    f1.vid->marks.click();
    EXPECT_TRUE(markedAt(2) && markedAt(3) && markedAt(4)) << "the playfield is drawn again at once";
    EXPECT_EQ(f1.drawnColorAt(15.0f * 5 + 7.5f, 22.5f), shell::rgb(255, 255, 255)) << "an empty cell has no mark";
    const QImage label = editor.Label(1).widget()->grab().toImage();
    EXPECT_EQ(pipsAcross(label, label.rect(), label.height() * 79 / 100), 3);
    EXPECT_TRUE(QFile::exists(fx.startFolder() + "/view.cfg")); // where the game starts, as records.txt
    EXPECT_FALSE(QFile::exists(fx.pathOf("view.cfg")));

    fx.restart();
    Form1& again = fx.start();
    EXPECT_TRUE(again.vid->marks.checked());
    EXPECT_TRUE(fx.forms().view().cellMarks);
    again.vid->marks.click();
    EXPECT_FALSE(fx.forms().view().cellMarks);
    EXPECT_TRUE(fx.messages.isEmpty()) << fx.messages.join('\n').toStdString();
}

TEST(ViewMenu, WindowSizesTheScreenCannotHoldAreRefusedAndAChoiceWaitsForTheNextStart)
{
    GameFixture fx;
    fx.screen = {800, 600};
    Form1& f1 = fx.start();
    view::ViewMenu& menu = *f1.vid;
    EXPECT_TRUE(menu.sizes[0].checked() && menu.sizes[0].enabled());
    EXPECT_FALSE(menu.sizes[1].enabled());
    EXPECT_FALSE(menu.sizes[2].enabled());
    EXPECT_EQ(menu.sizes[3].caption(), "по размеру экрана (90 %)");

    menu.sizes[3].click();
    EXPECT_TRUE(menu.sizes[3].checked());
    EXPECT_FALSE(menu.sizes[0].checked());
    EXPECT_EQ(fx.messages, QStringList{"Окна игры будут размером 90 % со следующего запуска."});
    menu.sizes[0].click(); // back to the size the windows have now: nothing to wait for
    menu.sizes[0].click(); // a second choice of the ticked size keeps its tick
    EXPECT_TRUE(menu.sizes[0].checked());
    EXPECT_EQ(fx.messages.size(), 1);
    EXPECT_EQ(view_cfg::read(fx.startFolder() + "/view.cfg").windowSize, 100);

    // A view.cfg that cannot be written: the player is told, the choice holds for this run.
    fx.messages.clear();
    QFile::remove(fx.startFolder() + "/view.cfg");
    ASSERT_TRUE(QDir(fx.startFolder()).mkdir("view.cfg"));
    menu.marks.click();
    EXPECT_EQ(fx.messages, QStringList{"Не удалось сохранить настройки вида: " + fx.startFolder()
                                       + "/view.cfg\nНа месте файла находится папка."});
    EXPECT_TRUE(fx.forms().view().cellMarks);
}
