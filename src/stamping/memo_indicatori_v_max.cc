#include "driver/form1.h"

void Form1::memo_indicatori_v_max(int32_t, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&, int32_t&,
                                  int32_t&) {}
