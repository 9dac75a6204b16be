// The train source: general values, speed and adhesion lists, signals,
// slowdowns, code points, stations, its end steps and the chainage check.
#include <cstdint>
#include <string>

#include "model/arrotonda.h"
#include "model/cella.h"
#include "model/errore_lettura.h"
#include "reader/chiavi.h"
#include "reader/lettura.h"

namespace {

// A cell index from a formula of whole metres over 50; well inside 64 bits
// for any 32-bit position.
int64_t indice(double x) { return static_cast<int64_t>(arrotonda(x)); }

// The cursors of the speed and adhesion lists never need to pass N + 1:
// nothing is written there, and a cursor stopped there keeps the sum safe.
int32_t avanza(int32_t cursore, int32_t n) { return cursore <= n ? cursore + 1 : cursore; }

}  // namespace

void lettura::sorgente_treno() {
  const std::string sorgente = f.nome_sorgente_treno();
  if (esito e = apri(sorgente, sorgente_build::treno); !e) non_letto(sorgente, e);

  // Everything before "[generale]" is skipped; a source without it is read to
  // its end and the loop below ends at once.
  bool generale = false;
  while (!campi->finito()) {
    leggi_chiave();
    if (contiene_minuscolo(f.riga, "[generale]")) {
      generale = true;
      break;
    }
  }
  if (!generale) avvisa({}, codice_avviso::treno_senza_generale, testo_treno_senza_generale(contenuto.empty()));
  contatore_stazioni = 1;
  cursore_velocita = 0;
  cursore_aderenza = 0;

  // A speed's cell value: km/h over 5, which must fit a byte. The cells of a
  // speed line are written when the next line (or the end of the text)
  // comes; a value that does not fit fails there, but is the fault of the
  // line that wrote it, which the failure names.
  auto byte_velocita = [&]() {
    const int64_t v = indice(velocita_precedente / 5.0);
    if (v < 0 || v > 255) {
      luogo_fallimento = campo_velocita.inizio;
      throw errore_lettura{"la velocità " + std::to_string(velocita_precedente) +
                           " km/h è fuori da quelle che la griglia tiene, da 0 a 1275 km/h (la velocità "
                           "diviso 5 in un byte; 1276 e 1277 si arrotondano a 1275)"};
    }
    return static_cast<uint8_t>(v);
  };

  // A stamping call that leaves any error number (also a code 15 left from the
  // line source) stops the reader at this line's position.
  auto dopo_timbro = [&](int32_t posizione) {
    if (f.codice_errore > 0) ferma(f.codice_errore, posizione, sorgente);
  };

  while (chiave()) {
    const std::string k = minuscole_cp1252(f.riga);

    if (contiene(k, "frenata") && contiene(k, "massa")) f.testata[voce_treno_e_percorso].primo = campi->numero_long();
    if (contiene(k, "vetture")) f.testata[voce_treno_e_percorso].terzo = campi->numero_long();

    if (contiene(k, "velocit")) {
      int32_t posizione = leggi_posizione();
      int32_t velocita = campi->numero_long();
      const campo_letto campo = ultimo_campo();
      if (oltre_griglia(posizione)) break;
      in_ordine("velocità", raggiunta_velocita, posizione);
      int32_t n = ultima_cella();
      int64_t p = indice(posizione / 50.0);
      if (p >= 1) {
        do {
          if (cursore_velocita >= n) break;
          f.percorso[cursore_velocita].velocita = byte_velocita();
          ++cursore_velocita;
        } while (cursore_velocita < p);
      }
      velocita_precedente = velocita;
      campo_velocita = campo;
    }

    if (contiene(k, "aderenza")) {
      int32_t posizione = leggi_posizione();
      int32_t aderenza = campi->numero_long();
      if (oltre_griglia(posizione)) break;
      in_ordine("aderenza", raggiunta_aderenza, posizione);
      int32_t n = ultima_cella();
      int64_t p = indice(posizione / 50.0);
      if (p >= 1) {
        do {
          if (cursore_aderenza <= n) f.percorso[cursore_aderenza].aderenza = basso8(aderenza_precedente);
          cursore_aderenza = avanza(cursore_aderenza, n);
        } while (cursore_aderenza < p);
      }
      aderenza_precedente = aderenza;
    }

    if (contiene(k, "orologio")) {
      f.testata[voce_treno].intero3 = campi->numero_integer();
      f.testata[voce_treno].intero4 = campi->numero_integer();
      f.testata[voce_treno].intero5 = campi->numero_integer();
    }
    if (contiene(k, "sabbia")) f.testata[voce_treno].intero1 = campi->numero_integer();

    if (contiene(k, "segnale")) {
      int32_t posizione = leggi_posizione();
      int32_t sx = campi->numero_long(), s1 = campi->numero_long(), s2 = campi->numero_long();
      int32_t s3 = campi->numero_long(), rapp = campi->numero_long(), dx = campi->numero_long();
      int32_t d1 = campi->numero_long(), d2 = campi->numero_long(), d3 = campi->numero_long();
      int32_t tempo = campi->numero_long();
      if (oltre_griglia(posizione) || cella_fuori(indice(posizione / 50.0 + 1), posizione)) break;
      oltre_fine("segnale", posizione);
      origine(posizione);
      f.memo_segnale(posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo);
      dopo_timbro(posizione);
    }

    if (contiene(k, "rallentamento")) {
      int32_t x = leggi_posizione();
      int32_t v = campi->numero_long(), l = campi->numero_long();
      const campo_letto campo_l = ultimo_campo();
      int32_t f_tt = campi->numero_long();
      int32_t f_ta = campi->numero_long(), d_v = campi->numero_long();
      if (oltre_griglia(x) || cella_fuori(indice(x / 50.0 + 1), x)) break;
      int32_t fine = in_long(static_cast<int64_t>(x) + l);
      negativo(campo_l, "del rallentamento", l,
               "la sua fine cade prima dell'inizio, a " + std::to_string(fine) + " m");
      if (cella_fuori(indice(fine / 50.0 + 1), x)) break;
      oltre_fine("rallentamento", x);
      origine(x);
      f.memo_rallentamento(x, v, l, f_tt, f_ta, d_v);
      dopo_timbro(x);
    }

    if (contiene(k, "abbattimento")) {
      int32_t posizione = leggi_posizione();
      int32_t valore = campi->numero_long();
      // The code point lies in the cell the position falls in, not the next.
      int64_t i = indice(posizione / 50.0);
      if (oltre_griglia(posizione) || cella_fuori(i, posizione)) break;
      oltre_fine("abbattimento", posizione);
      cella& c = f.percorso[static_cast<size_t>(i)];
      if (!cella_libera(c)) ferma(7, posizione, sorgente);
      if (valore > 0) {
        c.tipo = abbattimento;
        c.dato1 = basso16(valore);
      } else {
        c.tipo = abbattimento_nullo;
      }
      origine(posizione);
      f.segna(i);
    }

    if (contiene(k, "stazione")) {
      // A station refused as beyond the grid leaves the counter where it was.
      int32_t prima = contatore_stazioni;
      stazione();
      if (contatore_stazioni == prima) break;
    }

    dopo_chiave(parte_testo::treno);
  }

  // End steps, after the end of the data or a code 15.
  aree_oltre_fine();
  chiudi();
  cancella(sorgente);

  int32_t n = ultima_cella();
  do {
    if (cursore_velocita <= n) f.percorso[cursore_velocita].velocita = byte_velocita();
    cursore_velocita = avanza(cursore_velocita, n);
  } while (cursore_velocita < n - 2);
  do {
    if (cursore_aderenza <= n) f.percorso[cursore_aderenza].aderenza = basso8(aderenza_precedente);
    cursore_aderenza = avanza(cursore_aderenza, n);
  } while (cursore_aderenza < n - 2);

  // The chainage references, ordered by progressive_ordina, must fall on whole
  // cells. This replaces a code 15 of either source.
  for (int r = voce_primo_riferimento; r <= voce_ultimo_riferimento; ++r) {
    if (f.testata[r].primo % 50 != 0 || f.testata[r].secondo % 50 != 0) {
      f.codice_errore = 2;
      f.sorgente_errore = f.nome_sorgente_linea();
      f.riga_sorgente_errore = 0;
      f.colonna_sorgente_errore = 0;
      f.dettaglio_errore.clear();
      break;
    }
  }
}
