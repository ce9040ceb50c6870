// The about window: its texts, and the menu entry and button that show and hide it.
#include "support/fakes.h"

#include "dialogs/form6.h"
#include "game/form1.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QWidget>
#include <gtest/gtest.h>

using testing_support::GameFixture;

namespace {

TEST(About, ShowsVersionNoteAndCredit)
{
    GameFixture fx;
    fx.start();
    Form6& about = fx.forms().form6();
    EXPECT_EQ(about.caption(), QStringLiteral("О программе"));
    EXPECT_EQ(about.Label41.caption(), QStringLiteral("V 2.12"));
    EXPECT_EQ(about.Command1.caption(), QStringLiteral("назад"));
    EXPECT_EQ(about.Label2.caption(),
              QStringLiteral("Программа не работает под windows  xp. Под windows 9x/2000/nt работает стабильно. "
                             "Если игра идет слишком быстро либо слишком медленно подредактируйте скорость в опциях."));
    const QString credit = about.Label1.caption();
    EXPECT_TRUE(credit.contains(QStringLiteral("команда Plinkat"))) << credit.toStdString();
    EXPECT_FALSE(credit.contains(QLatin1Char('@'))) << "no personal address in the credit";
}

TEST(About, MenuShowsItModelessAndBackHidesIt)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    f1.cells[10][4] = 3; // a level still to clear
    f1.ball.setTop(60);
    f1.vdir = 1;
    f1.Timer1.setEnabled(true);
    f1.about.click();
    Form6& about = fx.forms().form6();
    EXPECT_TRUE(about.visible());
    // Modeless: it blocks no other window, and the ball goes on behind it.
    EXPECT_EQ(about.topLevel()->windowModality(), Qt::NonModal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    fx.tick();
    EXPECT_LT(f1.ball.top(), 60.0f);
    about.Command1.click();
    EXPECT_FALSE(about.visible());
    f1.about.click();
    EXPECT_TRUE(about.visible());
}

// Narrow controls show their whole text: the about window's button and the main window's motion
// readout, whose start (the drift) used to scroll out of view.
TEST(About, ButtonAndReadoutShowWhole)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    Form6& about = fx.forms().form6();
    EXPECT_LE(about.Command1.widget()->geometry().right(), about.surface()->width() - 1);

    auto* readout = static_cast<QLineEdit*>(f1.Text2.widget());
    QStyleOptionFrame frame;
    frame.initFrom(readout);
    frame.lineWidth = readout->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, readout);
    const int room = readout->style()->subElementRect(QStyle::SE_LineEditContents, &frame, readout).width() - 4;
    for (const QString text : {"-0.8 p 3.2 s 2 nx", "-5.6 p -1.6 s 2 nx", "0 p 4 s 1 nx"})
        EXPECT_LE(readout->fontMetrics().horizontalAdvance(text), room) << text.toStdString();
}

} // namespace
