// The track as the map draws it: one plane point a metre, read once from the
// line file's bytes (or from a table), so that drawing a million metres is a
// walk over an array. A metre whose point cannot be drawn is marked missing:
// an Empty coordinate, or a value that is not finite or lies far beyond where
// any build puts its points (damage, not track).
#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>
#include <vector>

#include "disegno/semplifica.h"
#include "model/tracciato.h"

// Points of metres 0..T; a missing one has NaN coordinates.
using punti_piani = std::vector<punto>;

inline bool presente(const punto& p) { return !std::isnan(p.x); }

// From the line file's bytes: the x of metres 0..`ultimo_metro`, then their
// y, into `piani` (its memory used again). REQUIRES: `immagine` is a line
// file that controlla_tracciato accepts, with that last metre; bytes it
// lacks leave their points missing.
void punti_da_immagine(std::string_view immagine, int32_t ultimo_metro, punti_piani& piani);
