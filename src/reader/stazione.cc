// One station line of the train source: its record in `testata`, the stretch
// of line the stop occupies, its approach marks and stop cell on the grid, and
// its checks against the station before it and the records of the signs.
//
// A station refused as beyond the grid (code 15) returns with the station
// counter unchanged; the train loop takes that as its end.
#include <cstdint>
#include <string>

#include "model/arrotonda.h"
#include "model/cella.h"
#include "model/errore_lettura.h"
#include "model/windows1252.h"
#include "reader/lettura.h"

namespace {

// A sum that must fit 32 bits; one that does not is a read failure.
int32_t somma(int64_t a, int64_t b) { return in_long(a + b); }

}  // namespace

void lettura::stazione() {
  const std::string sorgente = f.nome_sorgente_treno();
  const int32_t n = contatore_stazioni;
  // Record n already holds a sign's text (only after 80 signs): nothing of
  // this line may be written there.
  if (n > contatore_cartelli) ferma(10, sorgente);
  voce& v = f.testata[static_cast<size_t>(n)];

  const int32_t posizione = leggi_posizione();
  v.terzo = posizione;
  if (oltre_griglia(posizione, 800)) return;
  if (posizione % 50 != 0) ferma(8, posizione, sorgente);

  v.tipo = campi->numero_byte();
  const int32_t ls = campi->numero_long();
  const campo_letto campo_ls = ultimo_campo();
  if (ls % 100 != 0) ferma(9, posizione, sorgente);

  v.marca = campi->numero_byte();
  v.opzione4 = campi->numero_byte();
  v.opzione3 = campi->numero_byte();
  v.intero1 = campi->numero_integer();
  v.intero2 = campi->numero_integer();
  v.opzione1 = campi->numero_byte();
  v.intero3 = campi->numero_integer();
  v.intero4 = campi->numero_integer();
  v.intero5 = campi->numero_integer();
  v.opzione2 = campi->numero_byte();
  const int32_t ore = campi->numero_long();
  const int32_t minuti = campi->numero_long();
  const int32_t secondi = campi->numero_long();
  // (h x 60 + m) x 60 + s, each step checked.
  int32_t orario = in_long(static_cast<int64_t>(ore) * 60);
  orario = somma(orario, minuti);
  orario = in_long(static_cast<int64_t>(orario) * 60);
  v.orario = somma(orario, secondi);
  std::string nome = campi->testo();
  // Its length is a 2-byte field in the header file.
  if (nome.size() > 0xFFFF) throw errore_lettura{"nome di stazione di " + std::to_string(nome.size()) + " byte"};
  v.nome = std::move(nome);

  // The stretch of line the stop occupies. Ls is a multiple of 100, so every
  // end is a multiple of 50 and the cells below are whole numbers.
  const uint8_t tipo = v.tipo;
  const bool corta = tipo == 5 || tipo == 6;
  const bool lunga = tipo == 7 || tipo == 8;
  if (corta || lunga) {
    v.primo = somma(posizione, -static_cast<int64_t>(ls));
    v.secondo = somma(posizione, corta ? 150 : ls);
  } else {
    v.primo = somma(posizione, -static_cast<int64_t>(ls / 2));
    v.secondo = somma(posizione, ls / 2);
    if (v.opzione3 != 0) v.secondo = somma(v.secondo, 50);
  }
  const int32_t fine = v.secondo;
  negativo(campo_ls, "dell'area della stazione " + campo_citato(v.nome), ls,
           "l'area è rovesciata (da " + std::to_string(v.primo) + " a " + std::to_string(fine) +
               " m) e la fermata si sposta con la sua fine");
  const bool segnata = tipo < 25;  // kinds 25 and up get no grid marks

  // A long stop near the end of the line whose stop cell would fall past the
  // grid is refused like any line beyond it, the record left as read.
  if (segnata && arrotonda(fine / 50.0 - 1) > ultima_cella()) {
    registra(15, posizione);
    return;
  }
  oltre_fine("stazione", posizione);
  luogo_stazioni[static_cast<size_t>(n)] = luogo_posizione;

  if (corta || lunga) v.opzione3 = 0;
  if (ls < 600) v.opzione4 = 0;
  if (n == 1) {
    v.opzione3 = 0;
    v.opzione4 = 0;
  }

  if (segnata && !corta) {
    for (int i = 1; i <= 4; ++i) {
      double c = fine / 50.0 - i - 1;
      if (c > 1) f.percorso[static_cast<size_t>(arrotonda(c))].avvicinamento = static_cast<uint8_t>(80 + i);
    }
  }
  if (segnata) {
    double c = fine / 50.0 - 1;
    if (c <= 1) ferma(24, sorgente);
    cella& fermata = f.percorso[static_cast<size_t>(arrotonda(c))];
    fermata_sopra(fermata, static_cast<int64_t>(arrotonda(c)), v.nome);
    fermata.tipo = ::stazione;  // the kind, not this procedure
    origine(posizione);
    f.segna(static_cast<int64_t>(arrotonda(c)));
    fermata.dato1 = basso16(n);
  }

  if (n > 1 && somma(v.primo, -350) < f.testata[static_cast<size_t>(n - 1)].secondo) {
    // Most often the cause is a station written before one it follows.
    const voce& prima = f.testata[static_cast<size_t>(n - 1)];
    registra(22, posizione);
    if (posizione < prima.terzo)
      f.dettaglio_errore = "è scritta dopo una stazione a " + std::to_string(prima.terzo) + " m, " +
                           campo_citato(prima.nome) + ": le stazioni vanno in ordine di posizione";
    else
      f.dettaglio_errore = "la stazione prima, " + campo_citato(prima.nome) + ", finisce a " +
                           std::to_string(prima.secondo) + " m";
    esci(sorgente);
  }

  contatore_stazioni = n + 1;
  if (contatore_stazioni >= contatore_cartelli) ferma(10, sorgente);
}
