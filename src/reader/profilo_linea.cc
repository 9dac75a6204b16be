// The rest of the line source after its general section: gradients into the
// grid, curves into the plane-coordinate table, mountain sections, speed
// indicators and signs; then the line source's end steps (delete it, fill the
// gradient tail, run the track straight to the table's end).
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>

#include "model/arrotonda.h"
#include "model/errore_lettura.h"
#include "reader/chiavi.h"
#include "reader/lettura.h"

namespace {

// The metre counter may not pass this; the table itself may be longer.
inline constexpr int32_t ultimo_metro_curve = 1000000;
// A sign's text goes into a counted string with a 2-byte length.
inline constexpr size_t testo_massimo = 0xFFFF;

// The cell of a point feature at `posizione`: arrotonda(m / 50 + 1).
int64_t cella_di(int32_t posizione) { return static_cast<int64_t>(arrotonda(posizione / 50.0 + 1)); }

// A gradient cell's byte: the gradient + 100, kept to 8 bits.
uint8_t byte_pendenza(int32_t pendenza) { return basso8(in_long(int64_t{pendenza} + 100)); }

// Curvature per metre by the first of the digits 1..6 that the key holds;
// 0 when it holds none. An "s" turns it the other way.
double curvatura(const std::string& chiave_minuscola) {
  static constexpr struct {
    char cifra;
    double k;
  } valori[] = {{'1', 0.0001}, {'2', 0.0002}, {'3', 0.0004}, {'4', 0.001}, {'5', 0.002}, {'6', 0.003}};
  for (const auto& v : valori) {
    if (chiave_minuscola.find(v.cifra) != std::string::npos) return contiene(chiave_minuscola, "s") ? -v.k : v.k;
  }
  return 0;
}

// The plane-coordinate walk: the last two points, and how the next one
// follows from them. Each step returns the new point and moves on; the table
// takes the points in long runs.
struct cammino {
  double xa, ya;  // point c - 2
  double xb, yb;  // point c - 1

  cammino(const tabella_tracciato& t, int32_t c)
      : xa(t.valore(c - 2, 0)), ya(t.valore(c - 2, 1)), xb(t.valore(c - 1, 0)), yb(t.valore(c - 1, 1)) {}

  // The same step again.
  std::pair<double, double> dritto() noexcept {
    const double dx = xb - xa;
    const double dy = yb - ya;
    return avanza(xb + dx, yb + dy);
  }
  // The step turned by k: each operation rounded to double in this order.
  std::pair<double, double> curva(double k) noexcept {
    const double dx = xb - xa;
    const double dy = yb - ya;
    return avanza(xb + (dx + k * dy), yb + (dy - k * dx));
  }
  std::pair<double, double> avanza(double x, double y) noexcept {
    xa = xb;
    ya = yb;
    xb = x;
    yb = y;
    return {x, y};
  }
};

}  // namespace

void lettura::profilo_linea() {
  f.numero_montagne = 0;
  if (f.crea_linea != 0) {
    if (!f.tracciato.esiste()) throw errore_lettura{"profilo della linea senza la lunghezza del percorso"};
    // The line starts at the origin heading along +y.
    f.tracciato.metti_intero(0, 0, 0);
    f.tracciato.metti_intero(0, 1, 0);
    f.tracciato.metti_intero(1, 0, 0);
    f.tracciato.metti_intero(1, 1, 1);
    metro = 2;
  }

  for (;;) {
    if (!chiave()) break;
    const std::string minuscola = minuscole_cp1252(f.riga);

    if (contiene(minuscola, "pendenza")) {
      const int32_t posizione = leggi_posizione();
      const int32_t valore = campi->numero_long();
      if (oltre_griglia(posizione)) break;
      in_ordine("pendenza", raggiunta_pendenza, posizione);
      pendenza(posizione, valore);
    }
    if (contiene(minuscola, "curva") && f.crea_linea != 0) {
      const int32_t inizio = leggi_posizione();
      const int32_t lunghezza = campi->numero_long();
      const campo_letto campo_lunghezza = ultimo_campo();
      if (oltre_griglia(inizio)) break;
      negativo(campo_lunghezza, "della curva", lunghezza, "la curva non c'è, e il tracciato prosegue diritto");
      curva(minuscola, inizio, lunghezza);
    }
    if (contiene(minuscola, "montagna")) {
      int32_t inizio = leggi_posizione();
      int32_t fine = campi->numero_long();
      const campo_letto campo_fine = ultimo_campo();
      int32_t tipo = campi->numero_long();
      const int32_t posizione = inizio;
      if (oltre_griglia(posizione) || cella_fuori(static_cast<int64_t>(arrotonda(posizione / 50.0)), posizione)) break;
      if (fine < inizio)
        avvisa(campo_fine.inizio, codice_avviso::fine_prima_inizio, testo_fine_prima_inizio(inizio, fine),
               campo_fine.fine);
      f.memo_montagna(inizio, fine, tipo);
      if (f.codice_errore > 0) ferma(f.codice_errore, posizione, nome_sorgente);
    }
    if (contiene(minuscola, "indicatori_v")) {
      const int32_t posizione = leggi_posizione();
      int32_t vas = campi->numero_long();
      int32_t vbs = campi->numero_long();
      int32_t vcs = campi->numero_long();
      int32_t strisces = campi->numero_long();
      std::array<campo_letto, 3> destri;
      int32_t vad = campi->numero_long();
      destri[0] = ultimo_campo();
      int32_t vbd = campi->numero_long();
      destri[1] = ultimo_campo();
      int32_t vcd = campi->numero_long();
      destri[2] = ultimo_campo();
      int32_t strisced = campi->numero_long();
      if (oltre_griglia(posizione) || cella_fuori(cella_di(posizione), posizione)) break;
      oltre_fine("indicatore di velocità", posizione);
      indicatore({vas, vbs, vcs}, {vad, vbd, vcd}, destri);
      origine(posizione);
      f.memo_indicatori_v_max(posizione, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced);
      if (f.codice_errore > 0) ferma(f.codice_errore, posizione, nome_sorgente);
    }
    if (contiene(minuscola, "indicat") && contiene(minuscola, "cartello")) {
      const int32_t posizione = leggi_posizione();
      f.riga = campi->testo();
      if (f.riga.size() > testo_massimo)
        throw errore_lettura{"testo di un cartello di " + std::to_string(f.riga.size()) + " byte, oltre 65535"};
      const int64_t i = cella_di(posizione);
      if (oltre_griglia(posizione) || cella_fuori(i, posizione)) break;
      oltre_fine("cartello", posizione);
      cella& c = f.percorso[static_cast<size_t>(i)];
      if (!cella_libera(c)) ferma(6, posizione, nome_sorgente);
      // Record 0 has no role, and below it there is no record.
      if (contatore_cartelli <= 0) ferma(10, nome_sorgente);
      c.tipo = cartello;
      origine(posizione);
      f.segna(i);
      c.dato1 = basso16(contatore_cartelli);
      f.testata[static_cast<size_t>(contatore_cartelli)].nome = f.riga;
      --contatore_cartelli;
    }

    // Without the line file the curves are not read, and their lines pass
    // without a word.
    if (f.crea_linea == 0 && contiene(minuscola, "curva"))
      riga_saltata();
    else
      dopo_chiave(parte_testo::profilo_linea);
  }

  // End steps, after the end of the data or a line beyond the grid.
  chiudi();
  cancella(nome_sorgente);

  // Gradient tail up to N - 3: the last three cells keep their value unless
  // the cursor already stands on them.
  const int32_t n = ultima_cella();
  const uint8_t coda = byte_pendenza(pendenza_precedente);
  do {
    if (cursore_pendenza <= n) f.percorso[static_cast<size_t>(cursore_pendenza)].pendenza = coda;
    cursore_pendenza = in_long(int64_t{cursore_pendenza} + 1);
  } while (cursore_pendenza < n - 2);

  if (f.crea_linea != 0) {
    const int32_t ultimo = f.tracciato.ultimo_metro() - 2;  // the last two metres stay Empty
    if (metro <= ultimo) {
      cammino cm(f.tracciato, metro);
      f.tracciato.metti_punti(metro, ultimo, [&cm]() noexcept { return cm.dritto(); });
      metro = ultimo + 1;
    }
  }
}

void lettura::pendenza(int32_t posizione, int32_t valore) {
  const int32_t n = ultima_cella();
  const double p = arrotonda(posizione / 50.0);
  if (p >= 1) {
    // Every line writes at least one cell, so the cursor may pass p (and,
    // after many lines at the grid's end, N); past N nothing is written.
    const auto fino = static_cast<int32_t>(p);
    const uint8_t b = byte_pendenza(pendenza_precedente);
    do {
      if (cursore_pendenza <= n) f.percorso[static_cast<size_t>(cursore_pendenza)].pendenza = b;
      cursore_pendenza = in_long(int64_t{cursore_pendenza} + 1);
    } while (cursore_pendenza < fino);
  }
  pendenza_precedente = valore;
}

void lettura::curva(const std::string& minuscola, int32_t inizio, int32_t lunghezza) {
  const double k = curvatura(minuscola);
  if (k == 0) ferma(103, nome_sorgente);
  const int32_t fine = in_long(int64_t{inizio} + lunghezza);
  // No point of a curve that would run past the table is added.
  if (fine > f.tracciato.ultimo_metro()) ferma(103, nome_sorgente);

  // Straight up to the curve's start, then the curve; neither past the last
  // metre a curve may reach.
  tabella_tracciato& t = f.tracciato;
  cammino cm(t, metro);
  int32_t c = metro;
  if (const int32_t a = std::min(inizio, ultimo_metro_curve); c <= a) {
    t.metti_punti(c, a, [&cm]() noexcept { return cm.dritto(); });
    c = a + 1;
  }
  if (const int32_t a = std::min(fine, ultimo_metro_curve); c <= a) {
    t.metti_punti(c, a, [&cm, k]() noexcept { return cm.curva(k); });
    c = a + 1;
  }
  metro = c;
  if (metro > ultimo_metro_curve) ferma(103, nome_sorgente);
}
