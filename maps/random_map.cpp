// The random map: 40 random picks of (column, row, value) laid over the grid, and play starts.
//
// The generator is a 24-bit linear congruential one, never seeded, so every run of the program
// builds the same sequence of maps:
//     x <- (1140671485 x + 12820163) mod 2^24,   r = x / 2^24 in [0, 1).
// It starts from 327680 in every main window and nothing else draws from it. All arithmetic
// stays in integers: floor(r * n) is (x * n) >> 24, exact for every state.
#include "game/form1.h"

#include <cstdint>

namespace {

constexpr std::uint64_t kMultiplier = 1140671485;
constexpr std::uint64_t kIncrement = 12820163;
constexpr std::uint64_t kModulusMask = (std::uint64_t{1} << 24) - 1;
constexpr int kPicks = 40;

// Advances the state; the product is below 2^55, so 64 bits never overflow.
std::uint32_t nextState(std::uint32_t& state)
{
    state = static_cast<std::uint32_t>((kMultiplier * state + kIncrement) & kModulusMask);
    return state;
}

// floor(r * n) for the next random number r.
int nextBelow(std::uint32_t& state, int n)
{
    const std::uint64_t x = nextState(state);
    return static_cast<int>((x * static_cast<std::uint64_t>(n)) >> 24);
}

} // namespace

void Form1::random_Click()
{
    cls();
    Timer1.setEnabled(true);
    hdir = 1;
    vdir = 1;
    for (int pick = 0; pick < kPicks; ++pick) {
        // Drawn in the order column, row, value; a later pick of the same cell replaces it.
        const int x = nextBelow(rndState, 10) + 1;
        const int y = nextBelow(rndState, 4) + 1;
        rndcell = static_cast<float>(nextBelow(rndState, 3) + 1);
        cells[x][y] = rndcell;
        drawCell(x, y);
    }
}
