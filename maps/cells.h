#pragma once
// The cell grid and the colours of cell values, shared by the playfield, the editor, the map
// files, the dialog's map pictures and the game's painted pictures.
#include "shell/controls.h"

#include <array>
#include <optional>

// Cell grid indexed [x][y], x 0..10 and y 0..4; only x 1..10, y 1..4 are played.
using CellGrid = std::array<std::array<float, 5>, 11>;

// Cell colours on the playfield, in the editor and in the pictures (assets/palette.h).
inline constexpr shell::Color kGreen = shell::rgb(0, 250, 0);
inline constexpr shell::Color kYellow = shell::rgb(250, 250, 0);
inline constexpr shell::Color kRed = shell::rgb(250, 0, 0);
// A cell the editor has never painted, and a map picture's cell of no colour: the system's grey
// of an inactive border, neutral and light.
inline constexpr shell::Color kInactiveBorderGrey = shell::rgb(224, 224, 224);

// The colour a cell value is shown in: green, yellow and red for 1, 2 and 3, `empty` for 0, and
// none for any other value, whose cell keeps the picture it had.
constexpr std::optional<shell::Color> cellColor(float value, shell::Color empty)
{
    if (value == 0)
        return empty;
    if (value == 1)
        return kGreen;
    if (value == 2)
        return kYellow;
    if (value == 3)
        return kRed;
    return std::nullopt;
}
