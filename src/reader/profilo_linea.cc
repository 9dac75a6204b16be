// The rest of the line source: gradients, curves, mountain sections, speed
// indicators, signs, and the line source's end steps.
#include "reader/lettura.h"

void lettura::profilo_linea() {}
