// Frames paced by the display: the ticks keep their own time, the blanks are read on a fitted
// clock, and the ball is drawn between its ticks. The pure pieces run here over made-up trains of
// blanks and wake-ups as the game composes them (a frame runs the ticks due by its blank's time,
// then draws); the game's own rules of what glides and what snaps run on the real main window with
// the frames drawn by hand.
#include "frames/blank_clock.h"
#include "frames/glide.h"
#include "game/game_helpers.h"
#include "shell/timer.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

using frames::Micros;
using testing_support::GameFixture;

namespace {

constexpr Micros kTick = 16'000;
constexpr double kStep = 4; // mm per tick, the design speed

// The ball at a steady speed, ticked as the real clock ticks it and drawn at each blank.
struct BallRun {
    shell::TickSchedule ticks{kTick};
    frames::BlankClock blanks;
    frames::Glide glide;
    double place = 0; // the game's own place, after the last tick
    long ticked = 0;
    struct Drawn {
        std::uint64_t count;
        double place;
    };
    std::vector<Drawn> drawn;
    double period = 0; // of the blanks as the display makes them, evenly

    BallRun() { ticks.start(0); }
    // Whatever wakes the program at `now` (its own timer, or a frame) runs the ticks due by then.
    void runDue(Micros now)
    {
        while (const auto due = ticks.takeDue(now)) {
            glide.ticked({place, 0}, {place + kStep, 0}, *due, kTick);
            place += kStep;
            ++ticked;
        }
    }
    // A notice of blank `count`, with the time the server gave it.
    void notice(std::uint64_t count, Micros time)
    {
        if (!blanks.add(count, time) || !blanks.fitted())
            return;
        const Micros at = blanks.timeOf(count);
        runDue(at);
        drawn.push_back({count, glide.at(at).x()});
    }
};

// Steps between the frames drawn, against the even step the display's blanks give: the largest
// relative deviation.
double unevenness(const BallRun& run, std::size_t from = 2)
{
    double worst = 0;
    for (std::size_t i = from + 1; i < run.drawn.size(); ++i) {
        const double step = run.drawn[i].place - run.drawn[i - 1].place;
        const double even = kStep * static_cast<double>(run.drawn[i].count - run.drawn[i - 1].count) * run.period / kTick;
        worst = std::max(worst, std::abs(step / even - 1));
    }
    return worst;
}

} // namespace

// Blanks at 60, 120 and 144 Hz, steady and with the notices' times wavering by up to 1.5 ms as
// Xvfb's do: every frame shows a new place, the steps are even, and the drawn ball is at most one
// tick behind the game and never ahead of it.
TEST(Frames, TheBallMovesEvenlyAtEveryRateWhateverTheNoticesWaver)
{
    std::mt19937 random(7);
    for (const double hz : {60.0, 120.0, 144.0}) {
        for (const Micros waver : {Micros(0), Micros(1500)}) {
            SCOPED_TRACE(testing::Message() << hz << " Hz, notices wavering by " << waver << " us");
            BallRun run;
            std::uniform_int_distribution<Micros> noise(-waver, waver);
            run.period = 1e6 / hz;
            const auto blankTime = [&](std::uint64_t n) { return 5000 + run.period * static_cast<double>(n); };
            for (std::uint64_t n = 1; n < static_cast<std::uint64_t>(hz * 3); ++n)
                run.notice(n, static_cast<Micros>(std::llround(blankTime(n))) + noise(random));
            EXPECT_LT(unevenness(run, 48), 0.05);
            for (const auto& [count, place] : run.drawn) {
                const double game = kStep * std::floor(blankTime(count) / kTick);
                EXPECT_LE(place, game + 0.1);
                EXPECT_GE(place, game - kStep - 0.1);
            }
            EXPECT_NEAR(static_cast<double>(run.ticked) / 3.0, 62.5, 1);
        }
    }
}

// Blanks dropped, an early notice naming a count already seen, blanks stopped for seconds, and a
// window moved to a screen of another rate: no count is drawn twice, the game goes on at its pace
// while nothing is drawn, and the frames are even again within a few blanks.
TEST(Frames, DroppedStoppedAndChangedBlanksKeepThePaceAndTheEvenSteps)
{
    BallRun run;
    Micros t = 0;
    std::uint64_t count = 500;
    const auto blanks = [&](int n, double hz) {
        run.period = 1e6 / hz;
        for (int i = 0; i < n; ++i) {
            t += static_cast<Micros>(std::llround(run.period));
            run.notice(++count, t);
        }
    };
    blanks(60, 60);
    count += 2; // two blanks without a notice
    t += 2 * 16'667;
    blanks(60, 60);
    const std::size_t before = run.drawn.size();
    run.notice(count, t + 3000); // early, and naming the count seen last
    EXPECT_EQ(run.drawn.size(), before) << "a count was drawn twice";

    // The display sleeps for three seconds: the program's own timer keeps the ticks going.
    for (int i = 0; i < 3000 / 16; ++i)
        run.runDue(t += 16'000);
    blanks(30, 60);
    EXPECT_NEAR(static_cast<double>(run.ticked) * kTick / static_cast<double>(t), 1.0, 0.02) << "the pace did not hold";
    EXPECT_LT(unevenness(run, run.drawn.size() - 27), 0.05);

    // The window goes to a 144 Hz screen whose count starts elsewhere.
    count += 100'000;
    t += 3000;
    blanks(144, 144);
    EXPECT_LT(unevenness(run, run.drawn.size() - 130), 0.05) << "the clock did not take the new rate";
}

// A machine that wakes the program late gets every tick in a burst; one that wakes it after a
// suspend does not replay the time away: at most a quarter of a second comes back.
TEST(Frames, LateWakeUpsCatchUpAndASuspendIsNotReplayed)
{
    shell::TickSchedule ticks(kTick);
    ticks.start(0);
    long n = 0;
    const auto wake = [&](Micros at) {
        long ran = 0;
        for (std::optional<Micros> due; (due = ticks.takeDue(at)); ++ran)
            EXPECT_LE(*due, at);
        n += ran;
        return ran;
    };
    for (Micros at = 0; at <= 1'000'000; at += 45'000) // woken every 45 ms: two or three ticks each
        wake(at);
    EXPECT_EQ(n, 990'000 / kTick);
    EXPECT_LE(wake(1'000'000 + 60'000'000), shell::TickSchedule::kMaxCatchUp / kTick + 1);
    EXPECT_EQ(wake(1'000'000 + 60'000'000 + kTick), 1) << "the schedule did not start afresh";
}

namespace {

QPointF drawnPlace(const shell::Control& c)
{
    return c.drawnAt().value_or(QPointF(c.left(), c.top()));
}

} // namespace

// On the main window: a flying ball glides between its ticks, and the paddle between the steps of
// a held key. The mouse, the ball put on the paddle, the P key's drop and a ball that stops are
// drawn at once; a box inside a tick lets the frames go on, and frames stop when nothing moves.
TEST(Frames, WhatTheTicksMoveGlidesAndEveryOtherMoveIsDrawnAtOnce)
{
    GameFixture fx(true, {}, true);
    Form1& f1 = playing(fx);
    Micros now = 0;
    std::uint64_t count = 0;
    const auto frame = [&](Micros at) { f1.Frame_Draw({at, ++count, true}); };
    const auto tick = [&] {
        fx.tick();
        return now = f1.Timer1.enabled() ? f1.Timer1.tickTime() : f1.controls.timer.tickTime();
    };

    f1.polos_MouseMove({0, 0, 3000, 300});
    EXPECT_FALSE(f1.ball.drawnAt()) << "the mouse's move waits for a frame";
    EXPECT_FALSE(f1.framesRunning());

    farCellOnly(f1);
    f1.Timer1.setEnabled(true);
    f1.hdir = 1;
    f1.vdir = 1;
    const QPointF before(f1.ball.left(), f1.ball.top());
    const QRect shown = f1.ball.widget()->geometry();
    tick();
    const QPointF after(f1.ball.left(), f1.ball.top());
    ASSERT_NE(before, after);
    EXPECT_EQ(f1.ball.widget()->geometry(), shown) << "the tick moved the ball on screen before a frame";
    EXPECT_TRUE(f1.framesRunning());
    frame(now + kTick / 4);
    EXPECT_EQ(drawnPlace(f1.ball), before + (after - before) / 4);
    frame(now + kTick);
    EXPECT_EQ(drawnPlace(f1.ball), after);

    // The mouse moves the paddle at once; the next frame keeps it there.
    f1.polos_MouseMove({0, 0, 4200, 300});
    EXPECT_FALSE(f1.deck.drawnAt());
    tick();
    frame(now + kTick / 4);
    EXPECT_EQ(drawnPlace(f1.deck), QPointF(70, f1.deck.top()));

    // Paused halfway between two ticks: the ball stands at its place; resumed, it drops 30 mm at once.
    f1.polos_KeyDown('P', 0);
    frame(now + kTick / 2);
    EXPECT_FALSE(f1.ball.drawnAt()) << "a paused ball stands where the game has it";
    EXPECT_FALSE(f1.framesRunning());
    f1.ball.setTop(40);
    f1.polos_KeyDown('P', 0);
    frame(now + kTick);
    EXPECT_EQ(drawnPlace(f1.ball), QPointF(f1.ball.left(), 70)) << "the drop slid";

    // A ball lost in its tick stands on the paddle while "БАБАХ !!!" waits, and the frames go on.
    f1.ball.setTop(124);
    f1.vdir = 2;
    long ticksInBox = -1;
    fx.whileBoxWaits = [&](const QString&) {
        const Micros before = f1.Timer1.tickTime();
        frame(now + 2 * kTick);
        fx.tick(3);
        ticksInBox = f1.Timer1.tickTime() == before ? 0 : 1;
        EXPECT_EQ(drawnPlace(f1.ball), QPointF(f1.ball.left(), f1.ball.top()));
    };
    tick();
    EXPECT_EQ(ticksInBox, 0) << "the ball ticked inside its own tick";
    fx.whileBoxWaits = {};
    frame(now + kTick);
    EXPECT_EQ(drawnPlace(f1.ball), QPointF(f1.deck.left() + 10, f1.ball.top()));

    // A held key moves the paddle a step on the press, at once, and glides it between the steps after.
    QApplication::setActiveWindow(f1.topLevel());
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, {});
    QApplication::sendEvent(f1.topLevel()->windowHandle(), &press);
    EXPECT_FALSE(f1.deck.drawnAt());
    const float stepped = f1.deck.left();
    tick();
    frame(now + kTick / 2);
    EXPECT_FLOAT_EQ(static_cast<float>(drawnPlace(f1.deck).x()), stepped + (f1.deck.left() - stepped) / 2);
    EXPECT_FLOAT_EQ(static_cast<float>(drawnPlace(f1.ball).x()), stepped + 10 + (f1.deck.left() - stepped) / 2)
        << "the resting ball left the paddle";
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, {});
    QApplication::sendEvent(f1.topLevel()->windowHandle(), &release);
    frame(now + 2 * kTick);
    EXPECT_FALSE(f1.framesRunning()) << "frames went on with nothing moving";
    EXPECT_FALSE(f1.deck.drawnAt());
}
