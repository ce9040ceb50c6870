#include "game/form1.h"

void Form1::Timer4_Tick() { Timer3.setEnabled(false); Timer4.setEnabled(false); }
void Form1::MMControl2_Done() {}
