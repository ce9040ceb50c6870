// The random map from the menu: 40 picks from the game's own never-seeded generator.
#include "extras_helpers.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

using testing_support::GameFixture;

namespace {

struct Pick {
    int x, y;
    float value;
};

// The generator written out independently: x <- (1140671485 x + 12820163) mod 2^24, r = x / 2^24.
class Recurrence {
public:
    double next()
    {
        m_x = (1140671485ULL * m_x + 12820163ULL) % 16777216ULL;
        return static_cast<double>(m_x) / 16777216.0;
    }
    Pick pick()
    {
        const double rx = next(), ry = next(), rv = next();
        return {static_cast<int>(std::floor(rx * 10)) + 1, static_cast<int>(std::floor(ry * 4)) + 1,
                static_cast<float>(std::floor(rv * 3 + 1))};
    }

private:
    std::uint64_t m_x = 327680;
};

CellGrid applyPicks(CellGrid grid, Recurrence& rnd, std::vector<Pick>* picks = nullptr)
{
    for (int i = 0; i < 40; ++i) {
        const Pick p = rnd.pick();
        grid[p.x][p.y] = p.value;
        if (picks)
            picks->push_back(p);
    }
    return grid;
}

shell::Color colourOf(float v)
{
    return v == 1 ? kGreen : v == 2 ? kYellow : kRed;
}

std::optional<shell::Color> centreColour(Form1& f1, int x, int y)
{
    return f1.drawnColorAt(15.0f * x + 7.5f, 15.0f * y + 7.5f);
}

} // namespace

TEST(RandomMap, FirstPicksFollowTheGeneratorFromItsFixedStart)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    f1.cells = {};
    f1.random.click();
    Recurrence expected;
    std::vector<Pick> picks;
    EXPECT_EQ(f1.cells, applyPicks({}, expected, &picks));
    EXPECT_EQ(f1.rndcell, picks.back().value);
    // Every picked cell is painted in its colour at once; the rest of the cleared window is bare.
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y) {
            if (f1.cells[x][y] == 0)
                EXPECT_EQ(centreColour(f1, x, y), std::nullopt) << x << "," << y;
            else
                EXPECT_EQ(centreColour(f1, x, y), colourOf(f1.cells[x][y])) << x << "," << y;
        }

    // The second map continues the same sequence.
    f1.cells = {};
    f1.random.click();
    EXPECT_EQ(f1.cells, applyPicks({}, expected));
}

TEST(RandomMap, TwoFreshStartsBuildTheSameFirstMap)
{
    CellGrid first, second;
    {
        GameFixture fx;
        Form1& f1 = startedGame(fx);
        f1.cells = {};
        f1.random.click();
        first = f1.cells;
    }
    {
        GameFixture fx;
        Form1& f1 = startedGame(fx);
        f1.cells = {};
        f1.random.click();
        second = f1.cells;
    }
    EXPECT_EQ(first, second);
}

TEST(RandomMap, PicksAreOnlyColouredCellsInsideTheGrid)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    int seen[4] = {};
    int columns = 0, rows = 0;
    for (int map = 0; map < 50; ++map) {
        f1.cells = {};
        for (int i = 0; i <= 10; ++i)
            f1.cells[i][0] = 7;
        for (int j = 0; j <= 4; ++j)
            f1.cells[0][j] = 7;
        f1.random.click();
        for (int x = 0; x <= 10; ++x)
            for (int y = 0; y <= 4; ++y) {
                const float v = f1.cells[x][y];
                if (x == 0 || y == 0) {
                    ASSERT_EQ(v, 7.0f) << "row 0 and column 0 stay as they were";
                    continue;
                }
                ASSERT_TRUE(v == 0 || v == 1 || v == 2 || v == 3) << v;
                ++seen[static_cast<int>(v)];
                if (v != 0) {
                    columns |= 1 << x;
                    rows |= 1 << y;
                }
            }
    }
    EXPECT_EQ(columns, 0x7fe) << "every column 1..10 is reached";
    EXPECT_EQ(rows, 0x1e) << "every row 1..4 is reached";
    for (int v = 1; v <= 3; ++v)
        EXPECT_GT(seen[v], 300) << "value " << v << " is drawn about a third of the time";
}

TEST(RandomMap, CellsNoPickReachesKeepTheirValuesAndReturnAtTheNextTick)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    CellGrid before{};
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            before[x][y] = static_cast<float>(1 + (x + y) % 3);
    f1.cells = before;
    f1.ball.setLeft(60);
    f1.ball.setTop(95); // below the grid: the first tick hits nothing
    f1.random.click();

    Recurrence rnd;
    std::vector<Pick> picks;
    EXPECT_EQ(f1.cells, applyPicks(before, rnd, &picks));
    auto picked = [&](int x, int y) {
        for (const Pick& p : picks)
            if (p.x == x && p.y == y)
                return true;
        return false;
    };
    int untouched = 0;
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            if (!picked(x, y)) {
                ++untouched;
                EXPECT_EQ(centreColour(f1, x, y), std::nullopt) << "erased until the tick redraws it";
            }
    ASSERT_GT(untouched, 0) << "forty picks with repeats leave some cells alone";

    fx.tick();
    for (int x = 1; x <= 10; ++x)
        for (int y = 1; y <= 4; ++y)
            EXPECT_EQ(centreColour(f1, x, y), colourOf(f1.cells[x][y])) << x << "," << y;
}

TEST(RandomMap, BallGoesOnFromWhereItWasRightAndUp)
{
    GameFixture fx;
    Form1& f1 = startedGame(fx);
    f1.ball.setLeft(60);
    f1.ball.setTop(95);
    f1.hdir = 2;
    f1.vdir = 2;
    f1.dx = 0.5f;
    f1.level = 3;
    f1.score = 25;
    ASSERT_FALSE(f1.Timer1.enabled());
    f1.random.click();
    EXPECT_TRUE(f1.Timer1.enabled());
    EXPECT_EQ(f1.hdir, 1.0f);
    EXPECT_EQ(f1.vdir, 1.0f);
    EXPECT_EQ(f1.dx, 0.5f);
    EXPECT_EQ(f1.level, 3.0f);
    EXPECT_EQ(f1.score, 25.0f);
    EXPECT_EQ(f1.ball.left(), 60.0f);
    EXPECT_EQ(f1.ball.top(), 95.0f);
    fx.tick();
    EXPECT_GT(f1.ball.left(), 60.0f);
    EXPECT_LT(f1.ball.top(), 95.0f);
}
