#include "view/window_size.h"

#include <algorithm>
#include <cmath>

namespace view {

namespace {
constexpr double kStep = 0.05;
} // namespace

bool fits(double factor, Area screen)
{
    // A hair of tolerance, so that a screen exactly as large as a window holds it.
    constexpr double kSlack = 1e-9;
    return kLargestWindowWidth * factor <= screen.width + kSlack && kLargestWindowHeight * factor <= screen.height + kSlack;
}

double fitFactor(Area screen)
{
    const double most = std::min(screen.width / kLargestWindowWidth, screen.height / kLargestWindowHeight);
    double steps = std::floor(most / kStep + 1e-9);
    while (steps > 0 && !fits(steps * kStep, screen))
        --steps;
    return std::clamp(steps * kStep, kSmallestFactor, kLargestFactor);
}

double factorFor(int choice, Area screen)
{
    if (choice == 100)
        return 1.0;
    if (choice != view_cfg::kFitScreen && fits(choice / 100.0, screen))
        return choice / 100.0;
    return fitFactor(screen);
}

int percentOf(double factor)
{
    return static_cast<int>(std::lround(factor * 100));
}

} // namespace view
