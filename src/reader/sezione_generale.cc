// The general section of the line source (route length, chainage references,
// backgrounds, signal-code repetition) and `progressive_ordina`, which puts
// the three chainage references in order.
#include <array>
#include <cstdint>

#include "model/dimensioni.h"
#include "model/errore_lettura.h"
#include "reader/chiavi.h"
#include "reader/lettura.h"

namespace {

inline constexpr int32_t lunghezza_massima = 1000000;

// A section head: "[" and "]" in the field, and not a field that starts with
// "-" once its leading blanks are gone.
bool fine_sezione(std::string_view riga) {
  if (!contiene(riga, "[") || !contiene(riga, "]")) return false;
  size_t i = riga.find_first_not_of(" \t");
  return i == riga.npos || riga[i] != '-';
}

}  // namespace

void lettura::sezione_generale() {
  for (;;) {
    if (!chiave_generale()) return;
    const std::string& riga = f.riga;
    const std::string minuscola = minuscole_cp1252(riga);

    if (contiene(minuscola, "lunghezza") && contiene(minuscola, "percorso")) {
      // Stored as read, before it is judged.
      const int32_t l = campi->numero_long();
      f.testata[voce_treno_e_percorso].secondo = l;
      if (l > lunghezza_massima) ferma(1, nome_sorgente);
      if (l < 0) throw errore_lettura{"lunghezza del percorso negativa: " + std::to_string(l)};
      const auto t = static_cast<int32_t>(ultimo_metro_del_tracciato(l));
      const auto n = static_cast<int32_t>(ultima_cella_della_griglia(l));
      f.percorso.assign(static_cast<size_t>(n) + 1, cella{});
      if (f.crea_linea != 0) f.tracciato.crea(t, f.sistema.memoria_grande());
    }
    // The chainage references and backgrounds are matched exactly, case included.
    auto terna = [&](int r) {
      f.testata[r].primo = campi->numero_long();
      f.testata[r].secondo = campi->numero_long();
      f.testata[r].terzo = campi->numero_long();
    };
    if (contiene(riga, "progressiva") && contiene(riga, "tre")) terna(voce_primo_riferimento);
    if (contiene(riga, "progressiva") && contiene(riga, "due")) terna(voce_primo_riferimento + 1);
    if (contiene(riga, "progressiva") && contiene(riga, "uno")) terna(voce_ultimo_riferimento);
    if (contiene(riga, "sfondo") && contiene(riga, "uno")) f.testata[voce_scenario].primo = campi->numero_long();
    if (contiene(riga, "sfondo") && contiene(riga, "due")) f.testata[voce_scenario].terzo = campi->numero_long();
    if (contiene(riga, "sfondo") && contiene(riga, "tre")) f.testata[voce_scenario].secondo = campi->numero_long();
    if (contiene(riga, "segnali") && contiene(riga, "ripetizione")) {
      voce& treno = f.testata[voce_treno];
      treno.primo = campi->numero_long();
      treno.secondo = campi->numero_long();
      if (treno.primo % 50 != 0) ferma(3, nome_sorgente);
      if (treno.secondo % 50 != 0) ferma(4, nome_sorgente);
      if (contiene(riga, "4"))
        treno.terzo = 4;
      else if (contiene(riga, "9"))
        treno.terzo = 9;
      else
        ferma(5, nome_sorgente);
      if (treno.secondo == 0) treno.terzo = 0;
    }

    dopo_chiave(parte_testo::generale_linea);
    if (fine_sezione(riga)) return;
  }
}

void Form1::progressive_ordina() {
  struct terna {
    int32_t p = 0;  // route position
    int32_t k = 0;  // chainage
    int32_t f = 0;  // flag: 1 adds 100 m to the chainage
  };
  auto letta = [&](int r) { return terna{testata[r].primo, testata[r].secondo, testata[r].terzo}; };
  const terna r1 = letta(voce_primo_riferimento);
  const terna r2 = letta(voce_primo_riferimento + 1);
  const terna r3 = letta(voce_ultimo_riferimento);
  const int32_t p1 = r1.p, p2 = r2.p, p3 = r3.p;

  std::array<terna, 3> esito{};  // all (0, 0, 0) unless a rule below picks an order
  if (in_long(int64_t{p1} + p2 + p3) != 0) {
    // Greatest position first; without a strict greatest all stay zero.
    if (p1 > p2 && p1 > p3)
      esito = p2 > p3 ? std::array{r1, r2, r3} : std::array{r1, r3, r2};
    else if (p2 > p1 && p2 > p3)
      esito = p1 > p3 ? std::array{r2, r1, r3} : std::array{r2, r3, r1};
    else if (p3 > p1 && p3 > p2)
      esito = p1 > p2 ? std::array{r3, r1, r2} : std::array{r3, r2, r1};
  } else {
    // All at the line's start: the chainages choose, a later rule winning.
    if (r1.k > 0) esito = {r1, r2, r3};
    if (r2.k > 0) esito = {r2, r1, r3};
    if (r3.k > 0) esito = {r3, r2, r1};
  }

  for (int i = 0; i < 3; ++i) {
    voce& v = testata[voce_primo_riferimento + i];
    v.primo = esito[i].p;
    v.secondo = esito[i].k;
    v.terzo = esito[i].f;
    if (v.terzo == 1) v.secondo = in_long(int64_t{v.secondo} + 100);
  }
}
