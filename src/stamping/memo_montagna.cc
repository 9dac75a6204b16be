// memo_montagna: stamps one mountain section onto the route grid (its type in
// the `montagna` layer of every covered cell, weak marks in every fourth
// empty cell when asked) and keeps the list of sections for the join rule.
#include <algorithm>

#include "driver/form1.h"
#include "model/arrotonda.h"
#include "model/errore_lettura.h"

void Form1::memo_montagna(int32_t& inizio, int32_t& fine, int32_t& tipo) {
  bool segni = false;
  if (tipo > 10) {
    tipo -= 10;
    segni = true;
  }

  if (numero_montagne >= static_cast<int32_t>(inizio_montagne.size()) - 1)
    throw errore_lettura{"oltre 80 tratti di montagna"};
  const auto n = static_cast<size_t>(++numero_montagne);
  inizio_montagne[n] = inizio;
  fine_montagne[n] = fine;

  // A section that starts 150 m or less after the previous one ends joins it.
  if (n > 1 && in_long(int64_t{inizio_montagne[n]} - fine_montagne[n - 1]) <= 150) tipo = 3;

  const auto primo = static_cast<int64_t>(arrotonda(inizio / 50.0));
  const auto ultimo = static_cast<int64_t>(arrotonda(fine / 50.0 - 1));
  // Only the covered cells that the grid holds are stamped; the count of
  // covered cells runs from the section's own first cell all the same.
  const int64_t da = std::max<int64_t>(primo, 0);
  const int64_t a = std::min<int64_t>(ultimo, static_cast<int64_t>(percorso.size()) - 1);
  const uint8_t valore = basso8(tipo);
  for (int64_t i = da; i <= a; ++i) {
    cella& c = percorso[static_cast<size_t>(i)];
    c.montagna = valore;
    if (segni && (i - primo + 1) % 4 == 0 && c.tipo == libero) c.tipo = segno_montagna;
  }
}
