#include "game/form1.h"

void Form1::Timer5_Tick() { Timer5.setEnabled(false); }
