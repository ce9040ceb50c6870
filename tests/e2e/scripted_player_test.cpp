// A scripted player clears the first shipped level through real mouse events on the strip and
// real ticks of the ball timer, as a person would play it.
#include "game/for6.h"
#include "game/form1.h"
#include "support/fakes.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>
#include <random>

using testing_support::GameFixture;

namespace {

// The strip reports twips; the paddle's Left is twips / 60 mm, and one pixel is 15 twips.
QPoint stripPointForPaddle(float paddleLeft)
{
    return QPoint(static_cast<int>(paddleLeft * 60.0f / 15.0f), 20);
}

} // namespace

TEST(ScriptedPlayer, ClearsTheFirstLevelWithTheMouseAndAdvances)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    fx.forms().for6().Command1.click(); // "ЛЕГКО"
    fx.forms().for6().Command4.click(); // "СТАРТ"
    ASSERT_TRUE(f1.visible());
    QWidget* strip = f1.polos.widget();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f1.topLevel()));

    std::mt19937 rng(7);
    std::uniform_real_distribution<float> aim(-3.0f, 28.0f); // where on the paddle to meet the ball
    int launches = 0;
    int lost = 0;
    const int before = fx.messages.size();
    for (int t = 0; t < 60000 && f1.level == 1; ++t) {
        if (f1.ball.top() > 90 || !f1.Timer1.enabled()) {
            const float target = std::clamp(f1.ball.left() - aim(rng), 0.0f, 150.0f);
            QTest::mouseMove(strip, stripPointForPaddle(target));
        }
        if (!f1.Timer1.enabled()) {
            QTest::mouseClick(strip, Qt::LeftButton, Qt::NoModifier, stripPointForPaddle(f1.deck.left()));
            ++launches;
        }
        const float score = f1.score;
        fx.tick();
        if (f1.score == 0 && score > 0)
            ++lost;
    }
    EXPECT_EQ(f1.level, 2.0f) << "launches " << launches;
    EXPECT_TRUE(fx.messages.mid(before).contains("молодец"));
    EXPECT_TRUE(fx.messages.mid(before).contains("уровень - 2"));
    EXPECT_FALSE(f1.Timer1.enabled()) << "play waits for the next launch";
    EXPECT_EQ(f1.file, "2.dbm");
    EXPECT_GE(launches, 1);
    EXPECT_LE(lost, 2) << "the paddle was under the ball";
}

TEST(ScriptedPlayer, MouseMovesOverTheStripSteerThePaddle)
{
    GameFixture fx;
    Form1& f1 = fx.start();
    fx.forms().for6().Command4.click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f1.topLevel()));
    QTest::mouseMove(f1.polos.widget(), QPoint(400, 10)); // 6000 twips
    EXPECT_EQ(f1.deck.left(), 100.0f);
    EXPECT_EQ(f1.ball.left(), 110.0f);
}
