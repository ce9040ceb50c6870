// The hidden level-jump dialog opener and its timer.
#include "game/form1.h"

void Form1::deck_MouseDown(const shell::MouseArgs&) {}
void Form1::Timer7_Tick() { Timer7.setEnabled(false); }
