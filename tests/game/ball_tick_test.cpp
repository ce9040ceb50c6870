// The ball tick: walls, paddle zones, drift, cells, score and the sound effect.
#include "dialogs/form5.h"
#include "game_helpers.h"

#include <gtest/gtest.h>

using testing_support::GameFixture;

TEST(BallTick, RightWallSendsTheBallBackLeft)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    farCellOnly(f1);
    f1.skor = 4;
    f1.dx = 0;
    f1.hdir = 1;
    f1.vdir = 0;
    placeBall(f1, 147, 90);
    f1.Timer1_Tick();
    EXPECT_EQ(f1.ball.left(), 149.0f);
    EXPECT_EQ(f1.hdir, 2.0f);
    f1.Timer1_Tick();
    EXPECT_EQ(f1.ball.left(), 145.0f);
}

TEST(BallTick, LeftWallAndTopWallBounce)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    farCellOnly(f1);
    f1.skor = 4;
    f1.dx = 1;
    f1.hdir = 2;
    f1.vdir = 1;
    placeBall(f1, 2, 13);
    f1.Timer1_Tick();
    EXPECT_EQ(f1.ball.left(), 1.0f); // 2 - 4 + 1 = -1, put back to 1
    EXPECT_EQ(f1.hdir, 1.0f);
    EXPECT_EQ(f1.dx, -1.0f);
    EXPECT_EQ(f1.ball.top(), 9.0f); // not moved back
    EXPECT_EQ(f1.vdir, 2.0f);
}

TEST(BallTick, LeftPaddleZoneSpinsTheBallLeftOnEveryTickBelowTheLine)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    farCellOnly(f1);
    f1.skor = 4;
    f1.deck.setLeft(50);
    f1.hdir = 0;
    f1.vdir = 2;
    placeBall(f1, 45, 104);
    f1.Timer1_Tick();
    EXPECT_EQ(f1.ball.top(), 108.0f);
    EXPECT_EQ(f1.vdir, 1.0f);
    EXPECT_EQ(f1.dx, -0.8f);
    f1.vdir = 0; // still at the paddle line on the next tick
    f1.Timer1_Tick();
    EXPECT_EQ(f1.dx, -1.6f);
}

TEST(BallTick, RightZoneTurnsALeftwardBallAtExactlyTheSpeed)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    farCellOnly(f1);
    f1.skor = 4;
    f1.deck.setLeft(50);
    f1.hdir = 2;
    f1.dx = 3.5f;
    f1.vdir = 2;
    placeBall(f1, 75, 104); // moves to 74.5, inside D + 20 .. D + 30
    f1.Timer1_Tick();
    EXPECT_EQ(f1.vdir, 1.0f);
    EXPECT_EQ(f1.hdir, 1.0f); // 4 - 4.3 <= 0: turned
    EXPECT_EQ(f1.dx, 0.0f);
}

TEST(BallTick, DriftWindowClampsOnlyBetweenSixAndSeven)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    farCellOnly(f1);
    f1.hdir = 0;
    f1.vdir = 0;
    placeBall(f1, 80, 90);
    for (auto [before, after] : {std::pair{6.5f, 5.0f}, {-6.5f, -5.0f}, {6.0f, 5.0f}, {7.0f, 5.0f}, {7.5f, 7.5f}, {-7.5f, -7.5f}, {5.9f, 5.9f}}) {
        f1.dx = before;
        f1.Timer1_Tick();
        EXPECT_EQ(f1.dx, after) << before;
    }
}

TEST(BallTick, LaunchFromRestLeavesUpwardsOffTheMiddleZone)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    f1.skor = 4;
    f1.polos_MouseMove({0, 0, 50 * 60, 100}); // paddle at 50, ball rides at 60
    placeBall(f1, 60, 112.65f);
    f1.polos_MouseDown({1, 0, 50 * 60, 100});
    ASSERT_TRUE(f1.Timer1.enabled());
    f1.Timer1_Tick();
    // Left 64 lies in the middle zone only: the ball goes up and keeps its drift.
    EXPECT_FLOAT_EQ(f1.ball.top(), 108.65f);
    EXPECT_EQ(f1.ball.left(), 64.0f);
    EXPECT_EQ(f1.vdir, 1.0f);
    EXPECT_EQ(f1.dx, 0.0f);
}

TEST(BallTick, ABallInsideACellsColumnKeepsItsHorizontalDirection)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    farCellOnly(f1);
    f1.cells[1][1] = 2;
    f1.skor = 0; // keep the ball in place
    f1.hdir = 1;
    f1.dx = 0.5f;
    f1.vdir = 1;
    placeBall(f1, 16, 28); // wholly inside column 1 (15..30), under row 1
    f1.Timer1_Tick();
    EXPECT_EQ(f1.hdir, 1.0f);
    EXPECT_EQ(f1.dx, 0.5f);
    EXPECT_EQ(f1.vdir, 2.0f); // hit from below: turned down
    EXPECT_EQ(f1.cells[1][1], 1.0f);
    EXPECT_EQ(f1.score, 5.0f);
}

TEST(BallTick, RedCellTakesThreeHitsAndScoresFifteen)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    farCellOnly(f1);
    f1.cells[3][2] = 3;
    f1.skor = 0;
    f1.hdir = 0;
    f1.vdir = 0;
    f1.score = 0;
    placeBall(f1, 50, 35); // touches cell (3, 2): 45..60 x 30..45
    f1.Timer1_Tick();
    EXPECT_EQ(f1.drawnColorAt(52, 40), kRed); // drawn with its value before the hit
    f1.Timer1_Tick();
    EXPECT_EQ(f1.drawnColorAt(52, 40), kYellow);
    f1.Timer1_Tick();
    EXPECT_EQ(f1.drawnColorAt(52, 40), kGreen);
    EXPECT_EQ(f1.cells[3][2], 0.0f);
    EXPECT_EQ(f1.score, 15.0f);
    f1.Timer1_Tick();
    EXPECT_EQ(f1.score, 15.0f);
    EXPECT_EQ(f1.drawnColorAt(52, 40), f1.backColor());
    EXPECT_EQ(f1.Text1.text(), "15");
}

TEST(BallTick, ValueOutsideTheColoursIsNotDrawnButStillHit)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    farCellOnly(f1);
    f1.cells[2][1] = 5;
    f1.drawBox(30, 15, 45, 30, kRed); // an earlier picture
    f1.skor = 0;
    f1.hdir = 0;
    f1.vdir = 0;
    placeBall(f1, 35, 20);
    f1.Timer1_Tick();
    EXPECT_EQ(f1.drawnColorAt(40, 25), kRed);
    EXPECT_EQ(f1.cells[2][1], 4.0f);
}

TEST(BallTick, PaddleClickStopsSidewaysMotionUntilACellHit)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    farCellOnly(f1);
    f1.skor = 4;
    f1.dx = 2;
    f1.hdir = 1;
    f1.vdir = 1;
    placeBall(f1, 80, 90);
    f1.deck_Click();
    EXPECT_EQ(f1.hdir, 0.0f);
    f1.Timer1_Tick();
    EXPECT_EQ(f1.ball.left(), 80.0f);
    EXPECT_EQ(f1.ball.top(), 86.0f);
    // The paddle zones leave hdir at 0.
    f1.deck.setLeft(70);
    placeBall(f1, 80, 112);
    f1.Timer1_Tick();
    EXPECT_EQ(f1.hdir, 0.0f);
    EXPECT_EQ(f1.vdir, 1.0f);
}

TEST(BallTick, ReadoutShowsDriftSpeedAndDirection)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    farCellOnly(f1);
    f1.skor = 4;
    f1.dx = 0;
    f1.hdir = 1;
    f1.vdir = 1;
    placeBall(f1, 80, 90);
    f1.Timer1_Tick();
    EXPECT_EQ(f1.Text2.text(), "0 p 4 s 1 nx");
}

TEST(BallTick, SoundEffectOnlyWithTheSoundOptionOn)
{
    GameFixture fx;
    Form1& f1 = playing(fx);
    auto& effect = *fx.devices[0];
    farCellOnly(f1);
    f1.cells[3][2] = 3;
    f1.skor = 0;
    f1.hdir = 0;
    f1.vdir = 0;
    placeBall(f1, 50, 35);
    const int before = effect.commands.size();
    f1.Timer1_Tick();
    EXPECT_EQ(effect.commands.size(), before) << "sound is off after start-up";
    fx.forms().form5().Option1.click();
    f1.Timer1_Tick();
    EXPECT_EQ(effect.commands.mid(before), (QStringList{"play", "prev"}));
}
