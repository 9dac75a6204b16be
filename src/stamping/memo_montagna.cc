#include "driver/form1.h"

void Form1::memo_montagna(int32_t&, int32_t&, int32_t&) {}
