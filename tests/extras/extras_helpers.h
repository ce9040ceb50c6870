#pragma once
// Set-ups shared by the saved-game, random-map and level-jump tests.
#include "files/map_dbm.h"
#include "game/for6.h"
#include "game/form1.h"
#include "support/fakes.h"

#include <QTest>
#include <gtest/gtest.h>

// Starts the game, presses "СТАРТ" and lets the start-up timers run their one tick.
inline Form1& startedGame(testing_support::GameFixture& fx)
{
    Form1& f1 = fx.start();
    fx.forms().for6().Command4.click();
    fx.tick();
    f1.Timer3.setEnabled(false);
    f1.Timer4.setEnabled(false);
    fx.messages.clear();
    return f1;
}

// The cells a map file of the fixture's folder holds.
inline CellGrid cellsOfMap(testing_support::GameFixture& fx, const QString& name)
{
    CellGrid grid{};
    EXPECT_EQ(map_dbm::read(fx.pathOf(name), grid), map_dbm::ReadStatus::Ok) << name.toStdString();
    return grid;
}

// A launch click on the playfield strip, as the player makes it.
inline void launchClick(Form1& f1)
{
    QTest::mousePress(f1.polos.widget(), Qt::LeftButton, Qt::NoModifier, QPoint(200, 10));
}
