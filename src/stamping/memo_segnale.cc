// memo_segnale: one signal of the train source onto the route grid, the
// signal cell with its packed values and time, and the four approach boards
// before it.
#include <cstdint>

#include "driver/form1.h"
#include "model/descrizione_cella.h"
#include "model/arrotonda.h"
#include "model/cella.h"

// REQUIRES: the signal's cell lies inside the grid (the reader refuses the
// line otherwise); a call that breaks this writes nothing.
void Form1::memo_segnale(int32_t posizione, int32_t& sx, int32_t& s1, int32_t& s2, int32_t& s3, int32_t& rapp,
                         int32_t& dx, int32_t& d1, int32_t& d2, int32_t& d3, int32_t& tempo) {
  const auto i = static_cast<int64_t>(arrotonda(posizione / 50.0 + 1));
  if (i < 0 || i > static_cast<int64_t>(percorso.size()) - 1) return;
  cella& c = percorso[static_cast<size_t>(i)];
  if (!cella_libera(c)) {
    codice_errore = 16;
    occupante_errore = elemento_della_cella(c, testata);
    return;
  }

  // Computed in 64 bits, stored as their low 16 bits.
  c.tipo = segnale;
  segna(i);
  c.dato4 = basso16(static_cast<int64_t>(rapp) * 10 + static_cast<int64_t>(sx) * 3 + dx);
  c.dato1 = basso16(static_cast<int64_t>(s1) * 10 + d1);
  c.dato2 = basso16(static_cast<int64_t>(s2) * 10 + d2);
  c.dato3 = basso16(static_cast<int64_t>(s3) * 10 + d3);

  // Times of 1 to 100 all mean 101; only a signal with sx = 2 keeps one.
  int32_t t = tempo;
  if (t >= 1 && t <= 100) t = 101;
  c.tempo = sx == 2 ? basso8(t) : 0;

  // Boards 1 (nearest) to 4, every other cell back from the signal. Those
  // that would fall before the line's start are left out.
  for (int k = 1; k <= 4; ++k) {
    int64_t j = i - 2 * k;
    if (j < 0) break;
    percorso[static_cast<size_t>(j)].avvicinamento =
        basso8(static_cast<int64_t>(sx) * 30 + static_cast<int64_t>(dx) * 10 + k);
  }
}
