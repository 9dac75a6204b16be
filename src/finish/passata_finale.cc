// The finishing pass: code points around slowdowns and signals.
#include "driver/form1.h"

void Form1::passata_finale() {}
