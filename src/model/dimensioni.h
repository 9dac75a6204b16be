// How big the route grid and the plane-coordinate table are: both are sized
// by the route length L alone. The table runs over metres 0..T with
// T = L + 7000, and the grid over cells 0..N with N = T / 50 rounded by
// `arrotonda`. The reader sizes them by this rule, and whatever reads the
// binary files back checks them against it.
#pragma once

#include <cstdint>

#include "model/arrotonda.h"

inline constexpr int32_t metri_per_cella = 50;
// Metres of grid and table past the line's end.
inline constexpr int32_t coda_percorso = 7000;

// T, the table's last metre, for a route of `lunghezza` metres.
inline constexpr int64_t ultimo_metro_del_tracciato(int64_t lunghezza) { return lunghezza + coda_percorso; }

// N, the grid's last cell, for a route of `lunghezza` metres.
inline int64_t ultima_cella_della_griglia(int64_t lunghezza) {
  return static_cast<int64_t>(arrotonda(static_cast<double>(ultimo_metro_del_tracciato(lunghezza)) / metri_per_cella));
}
