// One station line of the train source.
#include "reader/lettura.h"

void lettura::stazione() {}
