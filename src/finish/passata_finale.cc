// The finishing pass: code points around slowdowns and signals, added to the
// grid after the reader has filled it.
//
// Four places get a code point (kind `abbattimento`, code 180): just before
// the signals that lie up to 20 cells before a warning point, three groups
// before each slowdown start, every 8 cells through a slow slowdown, and just
// before the first signal within 12 cells after that slowdown's end. A code
// point that finds no room records an error (11, 12, 13) and the pass goes on.
//
// No cell outside 0..N is ever read or written: a cell beyond N counts as
// occupied, the walk through a slowdown ends when it reaches N, and the
// look-ahead after it stops at N.
#include <algorithm>

#include "driver/form1.h"
#include "model/descrizione_cella.h"
#include "model/dimensioni.h"

namespace {

constexpr int16_t codice_nuovo = 180;       // code of every code point placed here
constexpr int16_t tetto_codice = 180;       // cap of an existing code point before a signal
constexpr int32_t finestra_avviso = 20;     // cells scanned before a warning point
constexpr int32_t primo_segnale = 3;        // lowest cell taken as a signal there
constexpr int16_t soglia_velocita = 110;    // slowdowns below this speed get the walk
constexpr int32_t passo = 8;                // cells between code points of the walk
constexpr int32_t sguardo = 12;             // cells looked at after the walk's end

}  // namespace

int32_t Form1::minimo(int32_t x, int32_t y) { return x > y ? y : x; }

void Form1::passata_finale() {
  const int32_t n_max = ultima_cella();

  auto dentro = [&](int32_t c) { return c >= 0 && c <= n_max; };
  auto tipo_di = [&](int32_t c) { return dentro(c) ? static_cast<int>(percorso[c].tipo) : -1; };
  auto libera = [&](int32_t c) { return dentro(c) && cella_libera(percorso[c]); };
  auto metti_codice = [&](int32_t c) {
    percorso[c].tipo = abbattimento;
    percorso[c].dato1 = codice_nuovo;
  };
  // An error of the pass is at the line of the feature it is about (the
  // slowdown, or the signal before a warning point), at the position that
  // line wrote; the features in the cells it found taken go with it, each at
  // its own line. What the reader recorded of its own last error goes.
  // Without a line for the feature (a grid not filled by the reader), the
  // error stands at cell `cella_errore`'s metre.
  auto registra = [&](int32_t codice, int32_t cella_errore, int32_t cella_elemento,
                      std::initializer_list<int32_t> celle) {
    codice_errore = codice;
    posizione_errore = cella_errore * metri_per_cella;
    sorgente_errore.clear();
    riga_sorgente_errore = 0;
    colonna_sorgente_errore = 0;
    dettaglio_errore.clear();
    correlati_errore.clear();
    auto nome_di = [&](sorgente_build s) { return s == sorgente_build::linea ? nome_sorgente_linea() : nome_sorgente_treno(); };
    if (const auto o = origini.find(cella_elemento); o != origini.end()) {
      posizione_errore = o->second.posizione;
      sorgente_errore = nome_di(o->second.sorgente);
      riga_sorgente_errore = o->second.riga;
      colonna_sorgente_errore = o->second.colonna;
    }
    for (const int32_t c : celle) {
      const auto o = origini.find(c);
      if (!dentro(c) || o == origini.end() || cella_libera(percorso[c])) continue;
      luogo_testo dove;
      dove.sorgente = o->second.sorgente;
      dove.riga = o->second.riga;
      dove.colonna = o->second.colonna;
      correlati_errore.push_back({dove, "nella cella " + std::to_string(c) + " c'è " +
                                            elemento_della_cella(percorso[c], testata)});
    }
  };
  auto abbassa = [&](int32_t c) { percorso[c].dato1 = basso16(minimo(tetto_codice, percorso[c].dato1)); };

  for (int32_t i = 1; i <= n_max - 2; ++i) {
    const uint8_t tipo = percorso[i].tipo;

    // A. Signals in the window before a warning point: a code point just
    // before each, or the existing one there lowered to the cap.
    if (tipo == avviso_rallentamento) {
      for (int32_t k = 1; k <= finestra_avviso; ++k) {
        const int32_t s = i - k;
        if (s < primo_segnale) break;
        if (percorso[s].tipo != segnale) continue;
        const int32_t a = s - 1;
        const int32_t b = s - 2;
        if (libera(a)) {
          metti_codice(a);
        } else if (libera(b)) {
          metti_codice(b);
        } else if (percorso[a].tipo == abbattimento) {
          abbassa(a);
        } else if (percorso[b].tipo == abbattimento) {
          abbassa(b);
        } else {
          registra(11, s, s, {a, b});
        }
      }
    }

    if (tipo != inizio_rallentamento) continue;

    // B. Three groups before the slowdown start, each with its own guard: the
    // first free cell of the group, nearest to the start first.
    struct gruppo {
      int32_t guardia, vicina;
    };
    for (const gruppo g : {gruppo{7, 5}, gruppo{13, 11}, gruppo{20, 18}}) {
      if (i <= g.guardia) continue;
      bool messo = false;
      for (int32_t c = i - g.vicina; c >= i - g.vicina - 2 && !messo; --c) {
        if (libera(c)) {
          metti_codice(c);
          messo = true;
        }
      }
      if (!messo) registra(12, i, i, {i - g.vicina, i - g.vicina - 1, i - g.vicina - 2});
    }

    // Only a slow slowdown gets the walk and the look-ahead after its end.
    if (percorso[i].dato1 >= soglia_velocita) continue;

    // C. The walk from the start to the first slowdown end (or to N), with a
    // code point every 8 cells counted from where the last one went.
    int32_t k = i;
    int32_t n = 0;
    for (;;) {
      ++k;
      ++n;
      if (n == passo) {
        if (libera(k)) {
          metti_codice(k);
          n = 0;
        } else if (libera(k - 1)) {
          metti_codice(k - 1);
          n = 1;
        } else if (libera(k + 1)) {
          metti_codice(k + 1);
          n = -1;
        } else {
          // n stays at 8 and never meets it again: no more code points here.
          registra(13, k, i, {k - 1, k, k + 1});
        }
      }
      if (tipo_di(k) == fine_rallentamento || k >= n_max) break;
    }

    // D. The first signal within 12 cells from the walk's end gets a code
    // point just before it.
    n = 0;
    const int32_t ultimo = std::min(k + sguardo, n_max);
    for (int32_t m = k; m <= ultimo; ++m) {
      if (percorso[m].tipo == segnale) {
        n = m - 1;
        break;
      }
    }
    if (n > 0) {
      if (libera(n)) {
        metti_codice(n);
      } else if (libera(n - 1)) {
        metti_codice(n - 1);
      } else {
        registra(13, k, i, {n - 1, n});
      }
    }
  }
}
