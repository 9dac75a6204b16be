// memo_indicatori_v_max: stamps one maximum-speed indicator onto the route
// grid, each pair of left and right values packed into one Integer.
#include "driver/form1.h"
#include "model/descrizione_cella.h"
#include "model/arrotonda.h"
#include "model/errore_lettura.h"

namespace {

// 20 x left + right / 5, rounded ties to even; it must fit an Integer.
int16_t coppia(int32_t sinistra, int32_t destra) {
  const int32_t parte_sinistra = in_long(int64_t{sinistra} * 20);
  return in_integer(static_cast<int64_t>(arrotonda(destra / 5.0 + parte_sinistra)));
}

}  // namespace

void Form1::memo_indicatori_v_max(int32_t posizione, int32_t& vas, int32_t& vbs, int32_t& vcs, int32_t& strisces,
                                  int32_t& vad, int32_t& vbd, int32_t& vcd, int32_t& strisced) {
  const auto i = static_cast<int64_t>(arrotonda(posizione / 50.0 + 1));
  // The reader keeps indicators inside the grid; nothing is written outside it.
  if (i < 0 || i >= static_cast<int64_t>(percorso.size()))
    throw errore_lettura{"indicatore fuori dal percorso: " + std::to_string(posizione)};
  cella& c = percorso[static_cast<size_t>(i)];
  if (!cella_libera(c)) {
    codice_errore = 21;
    occupante_errore = elemento_della_cella(c, testata);
    return;
  }
  // Written field by field: a pair that does not fit leaves the ones before it.
  c.tipo = indicatore_v_max;
  segna(i);
  c.dato1 = coppia(vas, vad);
  c.dato2 = coppia(vbs, vbd);
  c.dato3 = coppia(vcs, vcd);
  c.dato4 = basso16(in_long(int64_t{strisces} * 10 + strisced));
}
