// The ball tick: the game loop, one step of the ball per tick of Timer1.
// All arithmetic is in 32-bit floats and every comparison is exact.
#include "dialogs/form5.h"
#include "game/form1.h"
#include "game/forms.h"
#include "shell/basic.h"

namespace {

constexpr float kBall = 8;        // the ball is an 8 x 8 mm box from (Left, Top)
constexpr float kCell = 15;       // cell (x, y) spans 15x .. 15x + 15
constexpr float kRightWall = 150;
constexpr float kTopWall = 10;
constexpr float kPaddleLine = 108;
constexpr float kLostLine = 125;
constexpr float kHitPoints = 5;

// hdir becomes 2 if it is 1, and 1 otherwise.
void toggle(float& hdir)
{
    hdir = (hdir == 1) ? 2.0f : 1.0f;
}

} // namespace

void Form1::Timer1_Tick()
{
    // Drift window: a drift of 6..7 either way is clamped to 5.
    if (dx >= 6 && dx <= 7)
        dx = 5;
    if (dx >= -7 && dx <= -6)
        dx = -5;

    Text1.setText(shell::numText(score));

    int empty = 0;
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            if (cells[x][y] == 0)
                ++empty;
    if (empty == 40)
        levelCleared();

    // Cell pass: redraw every cell and let each touched cell act on the ball.
    float L = ball.left();
    float T = ball.top();
    const bool soundOn = m_forms.form5().Option1.value();
    for (int x = 1; x <= 10; ++x) {
        for (int y = 1; y <= 4; ++y) {
            drawCell(x, y);
            const float X0 = kCell * static_cast<float>(x);
            const float X1 = X0 + kCell;
            const float Y0 = kCell * static_cast<float>(y);
            const float Y1 = Y0 + kCell;
            const bool touched = L + kBall >= X0 && L <= X1 && T + kBall >= Y0 && T <= Y1 && cells[x][y] > 0;
            if (!touched)
                continue;
            if (L + kBall <= X1 && T + kBall >= Y0 && T <= Y1) {
                toggle(hdir);
                dx = -dx;
            }
            if (L >= X0 && T + kBall >= Y0 && T <= Y1) {
                toggle(hdir);
                dx = -dx;
            }
            if (L + kBall <= X0 && T > Y0 && T < Y1) {
                dx = -dx;
                hdir = 2;
            }
            if (L >= X1 && T > Y0 && T < Y1) {
                dx = -dx;
                hdir = 1;
            }
            if (T <= Y0 && L <= X1 && L >= X0)
                vdir = 1;
            if (T + kBall >= Y1 && L <= X1 && L >= X0)
                vdir = 2;
            if (soundOn) {
                MMControl1->setCommand(QStringLiteral("play"));
                MMControl1->setCommand(QStringLiteral("prev"));
            }
            score += kHitPoints;
            cells[x][y] -= 1;
        }
    }

    // Move.
    if (hdir == 1)
        L = L + skor + dx;
    else if (hdir == 2)
        L = L - skor + dx;
    if (vdir == 2)
        T = T + skor;
    else if (vdir == 1)
        T = T - skor;
    ball.setLeft(L);
    ball.setTop(T);

    Text2.setText(shell::numText(dx) + QStringLiteral(" p ") + shell::numText(dx + skor) + QStringLiteral(" s ")
                  + shell::numText(hdir) + QStringLiteral(" nx"));

    // Walls.
    if (L <= 0) {
        hdir = 1;
        L = 1;
        dx = -dx;
    }
    if (L >= kRightWall) {
        hdir = 2;
        L = kRightWall - 1;
        dx = -dx;
    }
    ball.setLeft(L);
    if (T <= kTopWall)
        vdir = 2;

    // Paddle zones: left pushes the ball leftwards, right pushes it rightwards.
    const float D = deck.left();
    const float spin = skor / 5;
    if (T >= kPaddleLine && D - 5 <= L && L <= D + 10) {
        vdir = 1;
        dx = dx - spin;
        if (hdir == 1 && dx + skor < 0) {
            hdir = 2;
            dx = 0;
        }
    }
    if (T >= kPaddleLine && D + 10 <= L && L <= D + 20)
        vdir = 1;
    if (T >= kPaddleLine && D + 20 <= L && L <= D + 30) {
        vdir = 1;
        dx = dx + spin;
        if (hdir == 2 && skor - dx <= 0) {
            hdir = 1;
            dx = 0;
        }
    }

    if (T >= kLostLine)
        ballLost();
}
