// The train source: general values, speed and adhesion lists, signals,
// slowdowns, code points, its end steps and the chainage check.
#include "reader/lettura.h"

void lettura::sorgente_treno() {}
