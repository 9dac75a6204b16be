// The rule of a station's area past the route's end, shared by the reader's
// warning and the drawing: the area (header record fields primo..secondo)
// runs past the end while the stop (terzo) does not. Only the last station,
// the terminus, may stand so.
#pragma once

#include <cstdint>

#include "model/voce.h"

inline bool area_oltre_fine(const voce& stazione, int32_t lunghezza) {
  return stazione.secondo > lunghezza && stazione.terzo <= lunghezza;
}
