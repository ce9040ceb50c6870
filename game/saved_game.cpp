// The saved game: the level number in save.dbs.
#include "game/form1.h"

void Form1::save_Click() {}
void Form1::load_Click() {}
