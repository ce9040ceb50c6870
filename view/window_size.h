#pragma once
// The size of the game's windows: a factor on the design size, applied to every window alike
// (through the toolkit's scale factor, so positions, the paddle's steering and the difficulties'
// heights keep their design values). A size must fit the screen's available area with the tallest
// window the game shows: the main window at its easy height. Plain C++.
#include "files/view_cfg.h"

namespace view {

// The screen's available area, in pixels at the player's own scale (factor 1).
struct Area {
    double width = 0;
    double height = 0;
};

// The outer size of the largest window at factor 1, frame and title bar included, in pixels.
inline constexpr double kLargestWindowWidth = (9195.0 + 120.0) / 15.0;
inline constexpr double kLargestWindowHeight = 9765.0 / 15.0;

// Factors go in steps of 5 %, between 50 % and 800 %.
inline constexpr double kSmallestFactor = 0.5;
inline constexpr double kLargestFactor = 8.0;

bool fits(double factor, Area screen);
// The largest step that fits; the smallest factor on a screen that holds none.
double fitFactor(Area screen);
// The factor of a choice on this screen: 100 % always (the design size); 150 % and 200 % when
// they fit, else the fit factor; view_cfg::kFitScreen the fit factor.
double factorFor(int choice, Area screen);
// The percentage a factor shows as, to the whole per cent.
int percentOf(double factor);

} // namespace view
