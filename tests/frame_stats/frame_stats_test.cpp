#include "motion.h"

#include <cmath>
#include <gtest/gtest.h>
#include <sstream>

namespace {

// A ball bouncing inside a 580 x 516 px box at `speed` px/s along each axis, seen at `hz` blanks
// a second for `seconds`; `at` gives the time its picture shows for the blank at time t.
template <class At>
std::vector<motion::Read> bouncing(double hz, double seconds, double speed, At at)
{
    const auto fold = [](double d, double span) {
        d = std::fmod(d, 2 * span);
        return d <= span ? d : 2 * span - d;
    };
    std::vector<motion::Read> reads;
    for (int n = 0; n < hz * seconds; ++n) {
        const double t = n / hz, shown = at(t);
        reads.push_back({n, t, fold(speed * shown, 580), fold(speed * shown, 516), 0});
    }
    return reads;
}

} // namespace

TEST(Motion, SmoothPathWithBouncesIsAllNewPlacesAndNoJudder)
{
    const auto f = motion::measure(bouncing(144, 10, 945, [](double t) { return t; }), 0.5);
    EXPECT_GT(f.stretches, 20); // cut at every bounce, and none of them counts as a jump
    EXPECT_NEAR(f.newPerS, 144, 0.5);
    EXPECT_EQ(f.frozenPerS + f.doubledPerS, 0);
    EXPECT_LT(f.judder, 0.001);
    EXPECT_NEAR(f.speedY, 945, 1);
}

TEST(Motion, A62HzTickSeenAt120HzIsFrozenOrDoubledAtEveryBlank)
{
    // Every blank shows the last whole tick: a step every other blank, now and then two in a row.
    const auto f = motion::measure(bouncing(120, 10, 945, [](double t) { return std::floor(t * 62.5) / 62.5; }), 0.5);
    EXPECT_NEAR(f.newPerS, 62.5, 1.5);
    EXPECT_NEAR(f.frozenPerS + f.doubledPerS, 120, 2);
    EXPECT_NEAR(f.judder, 1.0, 0.1);
    EXPECT_NEAR(f.speedY, 945, 3);
}

TEST(Motion, FrameLogCountsMissedBlanksAsFrozenAndPacesByTicks)
{
    std::istringstream in("# blank_us msc drawn_us left_mm top_mm share flying ticks source\n"
                          "1000000 60 1001000 50 112 0 0 0 P\n"
                          "not a frame\n"
                          "1016667 61 1017000 50 110 0.5 1 1 P\n"
                          "1033333 62 1034000 50 108 0 1 2 P\n"
                          "1033333 62 1040000 50 106 0.5 1 2 P\n" // drawn again for blank 62
                          "1050000 63 1051000 50 104 0 1 3 P\n"
                          "1100000 66 1101000 50 98 0.5 1 6 T\n"  // blanks 64 and 65 missed
                          "1116667 67 1117000 50 96 0 1 7 T\n"
                          "1133333 68 1134000 50 94 0.5 1 8 T\n"
                          "1150000 69 1151000 50 92 0 1 9 T\n"
                          "1166667 70 1167000 50 90 0.5 1 10 T\n"
                          "1183333 71 1184000 50 90 0 0 10 T\n"
                          "1200000 72 1201000 50 80 0 1 11 T\n"); // a new flight: no step from 70
    const motion::Log log = motion::readLog(in);
    EXPECT_EQ(log.badLines, 1);
    const motion::LogFigures f = motion::measureLog(log);
    EXPECT_EQ(f.frames, 10);
    EXPECT_EQ(f.presentFrames, 4);
    EXPECT_EQ(f.sameBlank, 1);
    EXPECT_EQ(f.missedBlanks, 2);
    EXPECT_NEAR(f.flyingSeconds, 0.15, 1e-6);
    EXPECT_NEAR(f.ticksPerS, 60, 0.01);
    EXPECT_NEAR(f.framesPerS, 7 / 0.15, 1e-6);
    // Steps 4, 2, 0, 0, 6, 2, 2, 2, 2 mm (the blank drawn twice shows its later frame): the inner
    // seven are counted, with the two missed blanks frozen and the triple step after them.
    EXPECT_EQ(f.motion.steps, 7);
    EXPECT_NEAR(f.motion.frozenPerS * f.motion.seconds, 2, 1e-9);
    EXPECT_NEAR(f.motion.doubledPerS * f.motion.seconds, 1, 1e-9);
}
