#pragma once
// Pictures of map files for the save/load dialog's file list: the 40 cells as a 10 × 4 grid in
// their colours, with a thin grid line around every cell.
#include "maps/cells.h"
#include "shell/controls.h"

#include <QPixmap>
#include <QSize>

namespace filedialog {

// Sizes in logical pixels: ten cells and eleven one-pixel lines across, four cells and five
// lines down, so that every cell is a whole number of pixels at 1× and 2×.
// Beside the name: 3-pixel cells. In the tooltip: 12-pixel cells.
inline constexpr QSize kMapIconSize{41, 17};
inline constexpr QSize kMapTipSize{131, 53};

// The cells drawn to fill `size` at a device-pixel ratio. Cells 1, 2 and 3 take the playfield's
// green, yellow and red; every other value is drawn empty, in the editor's grey for an unpainted
// cell (kInactiveBorderGrey), since the game gives such a cell no colour of its own. With marks,
// every cell of 1, 2 or 3 carries its mark.
QPixmap paintMap(const CellGrid& cells, QSize size, qreal dpr, bool marks = false);

// The file list's preview reader: the picture of a file that reads as a whole map, whatever its
// name, and none for any other file. Safe to call from any thread.
shell::PixmapSource readMapPreview(const QString& path, bool marks = false);

} // namespace filedialog
