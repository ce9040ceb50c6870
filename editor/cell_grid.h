#pragma once
// Where the editor's cells stand, in twips of the editor window, and which cells a stroke of the
// pointer passes. Cell (x, y), x = 1..10, y = 1..4, is a square of kCellTw at left
// kPitchTw * (x - 1), top kGridTopTw + kPitchTw * (y - 1): neighbours overlap by 15 twips, and
// there the later cell (right, below) lies on top. Plain C++.
#include <vector>

namespace editor {

inline constexpr int kColumns = 10;
inline constexpr int kRows = 4;
inline constexpr float kPitchTw = 720;
inline constexpr float kCellTw = 735;
inline constexpr float kGridTopTw = 120;

// The cells, numbered n = (y - 1) * 10 + x, that the straight segment from (x1, y1) to (x2, y2)
// passes, in the order it passes them, each once; parts outside the grid pass none. A segment
// through the very corner of four cells goes on diagonally and passes neither side cell.
std::vector<int> cellsAlong(float x1, float y1, float x2, float y2);

} // namespace editor
