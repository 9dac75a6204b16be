// The two competition codes, computed from the code key.
#include "driver/form1.h"

int32_t Form1::codice_gara_og() const { return 0; }
int32_t Form1::codice_gara_st() const { return 0; }
