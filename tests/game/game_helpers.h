#pragma once
// Shared set-ups for the game-core tests: a started game with the main window shown.
#include "game/for6.h"
#include "game/form1.h"
#include "support/fakes.h"

// Starts the game, presses "СТАРТ" and settles the start-up timers.
inline Form1& playing(testing_support::GameFixture& fx)
{
    Form1& f1 = fx.start();
    fx.forms().for6().Command4.click();
    f1.Timer3.setEnabled(false);
    f1.Timer4.setEnabled(false);
    return f1;
}

// An empty grid but for one far cell, so the tick does not see a cleared level.
inline void farCellOnly(Form1& f1)
{
    f1.cells = {};
    f1.cells[10][4] = 3;
}

inline void placeBall(Form1& f1, float left, float top)
{
    f1.ball.setLeft(left);
    f1.ball.setTop(top);
}
