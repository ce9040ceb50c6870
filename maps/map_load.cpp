#include "game/form1.h"

void Form1::Timer6_Tick() { Timer6.setEnabled(false); }
void Form1::map_Click() {}
void Form1::editor_Click() { Timer1.setEnabled(false); }
