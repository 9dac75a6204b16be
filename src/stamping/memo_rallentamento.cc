// memo_rallentamento: one slowdown of the train source onto the route grid,
// its start and end points, the warning point 1200 m before a start beyond
// 1500 m, and on request the four pre-warning cells before the warning point.
#include <cstdint>

#include "driver/form1.h"
#include "model/descrizione_cella.h"
#include "model/arrotonda.h"
#include "model/cella.h"

// REQUIRES: the start and end cells lie inside the grid (the reader refuses
// the line otherwise); a call that breaks this writes nothing. The warning
// and pre-warning cells then lie inside too: they exist only beyond 1500 m,
// where they are cell 3 or later, and never after the start.
void Form1::memo_rallentamento(int32_t x, int32_t& v, int32_t& l, int32_t& f_tt, int32_t f_ta, int32_t& d_v) {
  auto cella_di = [](double m) { return static_cast<int64_t>(arrotonda(m)); };
  const int64_t w = cella_di((x - 1200.0) / 50 + 1);
  const int64_t s = cella_di(x / 50.0 + 1);
  const int64_t e = cella_di((static_cast<double>(x) + l) / 50 + 1);
  const int64_t h = cella_di((x - 1200.0) / 50);
  const int64_t n = static_cast<int64_t>(percorso.size()) - 1;
  if (s < 0 || s > n || e < 0 || e > n) return;
  auto in = [&](int64_t i) -> cella& { return percorso[static_cast<size_t>(i)]; };

  const bool avviso = x > 1500;
  auto occupata = [&](int64_t i, int32_t codice) {
    if (cella_libera(in(i))) return false;
    codice_errore = codice;
    occupante_errore = elemento_della_cella(in(i), testata);
    return true;
  };
  if (avviso && occupata(w, 17)) return;
  if (occupata(s, 18) || occupata(e, 19)) return;

  // The start is written after the end, so a slowdown within one cell leaves
  // a start point there.
  in(e).tipo = fine_rallentamento;
  segna(e);
  if (d_v != 0) in(e).dato2 = basso16(d_v);
  in(s).tipo = inizio_rallentamento;
  segna(s);
  if (d_v != 0) in(s).dato2 = basso16(d_v);
  if (avviso) {
    in(w).tipo = avviso_rallentamento;
    segna(w);
    if (d_v != 0) in(w).dato2 = basso16(d_v);
    in(w).dato1 = basso16(v);
  }
  in(s).dato1 = basso16(v);
  in(e).dato1 = basso16(v);
  in(s).dato3 = basso16(f_tt);
  in(e).dato3 = basso16(f_tt);

  if (!avviso || f_ta == 0) return;
  // Checked after the points above are in place, which this test sees.
  for (int64_t k = 0; k < 4; ++k)
    if (occupata(h - k, 20)) return;
  for (int16_t k = 0; k < 4; ++k) {
    cella& c = in(h - k);
    c.tipo = preavviso_rallentamento;
    segna(h - k);
    c.dato1 = static_cast<int16_t>(k + 1);
    if (d_v != 0) c.dato2 = static_cast<int16_t>(k + 1);
  }
}
