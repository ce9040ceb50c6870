#pragma once
// The window size chosen in view.cfg, applied as the toolkit's scale factor before the
// application object exists, and the screen's available area the choices are measured against.
//
// A size other than 100 % asks the screen for its available area first, through a short-lived
// application object of its own; 100 % reads only view.cfg. A scale factor the player set in
// QT_SCALE_FACTOR is the base the sizes multiply: 150 % is half as large again as the player's
// own size.
#include "view/window_size.h"

namespace view {

// Reads view.cfg in the current folder and sets QT_SCALE_FACTOR; returns the factor applied on
// top of the player's own (1 for 100 %, and when no screen answers).
double applyWindowSize(int argc, char** argv);

// The primary screen's available area at the player's own scale, the windows being drawn at
// `applied` times it.
Area screenArea(double applied);

} // namespace view
