// The editor's grid to the playfield.
#include "game/form1.h"

void Form1::Timer2_Tick() { Timer2.setEnabled(false); }
void Form1::Timer3_Tick() { Timer3.setEnabled(false); }
