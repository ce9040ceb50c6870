// The random map: 40 random picks (maps/random_map.h) laid over the grid, and play starts.
#include "game/form1.h"
#include "maps/random_map.h"

void Form1::random_Click()
{
    cls();
    Timer1.setEnabled(true);
    hdir = 1;
    vdir = 1;
    for (int pick = 0; pick < maps::kRandomPicks; ++pick) {
        const maps::RandomPick drawn = maps::nextRandomPick(rndState);
        rndcell = drawn.value;
        cells[drawn.x][drawn.y] = rndcell;
        drawCell(drawn.x, drawn.y);
    }
}
