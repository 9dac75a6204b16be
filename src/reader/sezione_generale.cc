// The general section of the line source and `progressive_ordina`.
#include "reader/lettura.h"

void lettura::sezione_generale() {}

void Form1::progressive_ordina() {}
