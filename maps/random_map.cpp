#include "maps/random_map.h"

namespace maps {

namespace {

constexpr std::uint64_t kMultiplier = 1140671485;
constexpr std::uint64_t kIncrement = 12820163;
constexpr std::uint64_t kModulusMask = (std::uint64_t{1} << 24) - 1;

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

RandomPick nextRandomPick(std::uint32_t& state)
{
    RandomPick pick;
    pick.x = nextBelow(state, 10) + 1;
    pick.y = nextBelow(state, 4) + 1;
    pick.value = static_cast<float>(nextBelow(state, 3) + 1);
    return pick;
}

} // namespace maps
