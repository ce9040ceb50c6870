#pragma once
// The random map's picks: (column, row, value) drawn from a 24-bit linear congruential generator
// that is never seeded, so every run of the program builds the same sequence of maps:
//     x <- (1140671485 x + 12820163) mod 2^24,   r = x / 2^24 in [0, 1).
// Its state starts from 327680 in every main window and nothing else draws from it. All
// arithmetic stays in integers: floor(r * n) is (x * n) >> 24, exact for every state.
#include <cstdint>

namespace maps {

// Picks in one random map; a later pick of the same cell replaces it.
inline constexpr int kRandomPicks = 40;

struct RandomPick {
    int x = 0;       // 1..10
    int y = 0;       // 1..4
    float value = 0; // 1..3
};

// The next pick, drawn in the order column, row, value; advances `state` by three numbers.
RandomPick nextRandomPick(std::uint32_t& state);

} // namespace maps
