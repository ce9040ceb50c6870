#include "game/form1.h"

void Form1::random_Click() {}
