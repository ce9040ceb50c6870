#pragma once
// Cell marks: the value of a cell drawn so that it reads without colour, for players who cannot
// tell the green, yellow and red cells apart. A value of 1, 2 or 3 is one, two or three pips in a
// row across the cell, as on the face of a die: one in the middle, two at the ends, three in all;
// no other value has a mark. A pip is a white disc in a black ring, which stands out from the
// light and the dark cells alike; where a cell is too small for a ring, a pip is one solid square,
// black on the light green and yellow, white on the dark red.
#include "shell/controls.h"

#include <QPixmap>
#include <QRect>
#include <QString>

class QPainter;

namespace view {

// Whether a value has a mark.
bool hasMark(float value);
// Paints the mark of `value` into `cell` (device pixels), its pips centred at `rowAt` of the
// cell's height.
void paintMark(QPainter& painter, const QRect& cell, float value, double rowAt = 0.5);
// The mark alone, on transparency, `size` device pixels; null for a value without one. Pictures
// are kept per value, size and row, so the ball tick's redraws paint no mark afresh.
QPixmap markPicture(float value, QSize size, double rowAt = 0.5);

// Overlays for the shell's boxes and controls: the mark of a value in the middle of the cell, and
// the mark of an editor cell label's caption, below the caption's numeral.
const shell::Overlay& markOverlay(float value);
shell::CaptionOverlay captionMarkOverlay();

} // namespace view
