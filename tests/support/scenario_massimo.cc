// The generator of the largest scenario, and its whole build.
//
// The plan. Signal j (j = 1..666) stands at 1500 j m, in cell q(j) = 30 j + 1;
// the 30 cells from q(j) on are stretch j. Offsets below are cells after q(j).
//
// Even stretch j (2..664), a slowdown from 1500 j + 500 m (+10) ending at +22,
// +23 or +24; its warning point lands at +16 of stretch j - 1 and its
// pre-warning cells at +12..+15 there. The finishing pass then puts code points
// before its start at +5, at +29 and +22 of stretch j - 1, one by the signal
// q(j - 1) (at q(j - 1) - 1, or - 2 when that is taken), and for a slow one
// (below 110 km/h) one at +18 on the walk and one at +29, before the next signal.
//
// Odd stretch j keeps +3 for a sign, +7 for a speed indicator, +9 for a code
// point of the train source and +24 for a station's stop cell. A few code
// points of value 270 go to q(j) - 1 (odd j), where the pass, finding both
// cells before the signal taken, lowers them to 180.
//
// No feature shares a cell, no cell the pass needs is taken, and nothing lies
// in cell 1, which carries the stamps.
#include "support/scenario_massimo.h"

#include <array>
#include <initializer_list>
#include <string_view>

namespace {

inline constexpr int32_t lunghezza_percorso = 1000000;
inline constexpr int32_t metri_per_cella = 50;
inline constexpr int32_t passo_segnali = 1500;  // metres between signals
inline constexpr int32_t ultimo_segnale = 666;  // at 999000 m
inline constexpr int32_t ultimo_rallentamento = 664;
inline constexpr int32_t numero_cartelli = 40;
// With 40 signs, records 1..38 are the stations' (the 39th would meet the signs).
inline constexpr int32_t numero_stazioni = 38;
inline constexpr int32_t numero_montagne = 80;

// "chiave, v1, v2, ..." with the values as whole numbers.
std::string riga(std::string_view chiave, std::initializer_list<int64_t> valori) {
  std::string r(chiave);
  for (int64_t v : valori) {
    r += ", ";
    r += std::to_string(v);
  }
  return r;
}

// The metre of a feature that sits in cell c by arrotonda(m / 50 + 1).
int32_t metro_di_cella(int32_t c) { return (c - 1) * metri_per_cella; }
int32_t cella_segnale(int32_t j) { return 30 * j + 1; }

// The slowdown of stretch j (even): its number among the slowdowns and its values.
struct rallentamento {
  int32_t x, v, l, f_tt, f_ta, d_v;
};
rallentamento rallentamento_di(int32_t j) {
  const int32_t r = j / 2 - 1;
  static constexpr std::array<int32_t, 6> velocita = {30, 60, 120, 80, 100, 140};
  static constexpr std::array<int32_t, 3> lunghezze = {600, 650, 700};
  return {passo_segnali * j + 500,
          velocita[static_cast<size_t>(r % 6)],
          lunghezze[static_cast<size_t>(r % 3)],
          r % 4 < 2 ? 1 : 0,
          r % 2,
          r % 3 == 0 ? 0 : 2 + r % 5};
}
bool c_e_rallentamento(int32_t j) { return j % 2 == 0 && j >= 2 && j <= ultimo_rallentamento; }
bool lento(int32_t j) { return rallentamento_di(j).v < 110; }

// Odd stretches that carry a sign, a speed indicator, a code point, a station;
// and those whose signal gets a code point of value 270 right before it.
bool con_cartello(int32_t j) { return j % 16 == 3 && (j - 3) / 16 < numero_cartelli; }
bool con_indicatore(int32_t j) { return j % 4 == 1; }
bool con_punto_codice(int32_t j) { return j % 6 == 3; }
bool con_stazione(int32_t j) { return j % 18 == 9 && (j - 9) / 18 < numero_stazioni - 1; }
// The stretch before must hold a slowdown (its look-ahead meets this signal)
// and the one after too (its warning point's scan meets it).
bool con_codice_270(int32_t j) { return j % 20 == 7 && c_e_rallentamento(j + 1); }

std::string nome_stazione(int32_t m) {
  static constexpr std::array<std::string_view, 7> prima = {"SAN ", "MONTE ", "BORGO ", "VILLA ", "PIAN ", "CASTEL ",
                                                            "PORTO "};
  static constexpr std::array<std::string_view, 9> seconda = {"ROSSO", "ALTO",   "NUOVO",  "VECCHIO", "DI SOPRA",
                                                              "MARINA", "SCALO", "LAGO", "DELLE VIGNE"};
  std::string n(prima[static_cast<size_t>(m % 7)]);
  n += seconda[static_cast<size_t>(m % 9)];
  if (m >= 63) n += " " + std::to_string(m / 63 + 1);
  return n;
}

std::string testo_cartello(int32_t m, int32_t metro) {
  static constexpr std::array<std::string_view, 5> testi = {"Galleria", "Ponte sul torrente", "Passaggio a livello",
                                                            "Viadotto", "Posto di blocco"};
  return std::string(testi[static_cast<size_t>(m % 5)]) + " n. " + std::to_string(m + 1) + " al km " +
         std::to_string(metro / 1000) + "." + std::to_string(metro % 1000 / 100);
}

void sorgente_linea(scenario_generato& s) {
  auto& r = s.righe_linea;
  r.push_back("[generale]");
  r.push_back(riga("lunghezza percorso", {lunghezza_percorso}));
  r.push_back(riga("progressiva chilometrica uno", {0, 87750, 1}));
  r.push_back(riga("progressiva chilometrica due", {0, 0, 0}));
  r.push_back(riga("progressiva chilometrica tre", {0, 0, 0}));
  r.push_back(riga("sfondo uno", {0}));
  r.push_back(riga("sfondo due", {1}));
  r.push_back(riga("sfondo tre", {0}));
  r.push_back(riga("ripetizione segnali 4 codici", {0, 0}));

  // One curve every 2 km, each side and each of the six curvatures in turn;
  // the last ends at 999700 m, short of the metre counter's limit.
  r.push_back("[curve]");
  for (int32_t i = 0; i < 500; ++i) {
    std::string chiave = std::string(i % 2 == 0 ? "curvas" : "curvad") + std::to_string(i % 6 + 1);
    r.push_back(riga(chiave, {2000 * i + 200 + (i % 7) * 100, 300 + (i % 5) * 150}));
  }

  r.push_back("[pendenze]");
  for (int32_t i = 0; i * 300 < lunghezza_percorso; ++i) r.push_back(riga("pendenza", {300 * i, (i * 37) % 41 - 20}));

  // One section every 12.5 km; every tenth starts 100 m after the one before
  // ends, and is joined to it.
  r.push_back("[montagne]");
  static constexpr std::array<int32_t, 6> tipi = {12, 2, 11, 1, 13, 3};
  int32_t fine_precedente = 0;
  for (int32_t m = 0; m < numero_montagne; ++m) {
    int32_t inizio = m % 10 == 9 ? fine_precedente + 100 : 12500 * m + 1000;
    int32_t fine = inizio + 2000 + (m % 4) * 1000;
    r.push_back(riga("montagna", {inizio, fine, tipi[static_cast<size_t>(m % 6)]}));
    fine_precedente = fine;
  }
  s.attesi.montagne = numero_montagne;

  r.push_back("[cartelli]");
  for (int32_t j = 1; j <= ultimo_segnale; j += 2) {
    if (!con_cartello(j)) continue;
    int32_t metro = metro_di_cella(cella_segnale(j) + 3);
    r.push_back(riga("indicatore cartello", {metro}) + ", " + testo_cartello(s.attesi.cartelli, metro));
    ++s.attesi.cartelli;
  }

  r.push_back("[indicazioni]");
  for (int32_t j = 1; j <= ultimo_segnale; j += 2) {
    if (!con_indicatore(j)) continue;
    const int32_t a = 6 + j % 10;
    r.push_back(riga("indicatori_v",
                     {metro_di_cella(cella_segnale(j) + 7), a, a + 1, a + 2, j % 3, 5 * (j % 20), 5 * (j % 7), 0,
                      (j + 1) % 3}));
    ++s.attesi.indicatori;
  }
  r.push_back("[fine]");
}

// Every eighth station is of a kind without grid marks: stored, spaced and
// counted all the same.
bool senza_segni(int32_t m) { return m % 8 == 7; }

// A station line whose stop cell is `cella_fermata`, of a kind chosen by m.
std::string riga_stazione(int32_t m, int32_t cella_fermata, int32_t orario) {
  // The end of the stop area that puts the stop cell there: end / 50 - 1.
  const int32_t fine = (cella_fermata + 1) * metri_per_cella;
  int32_t tipo = 12, ls = 400, opzione3 = 0, posizione = 0;
  switch (m % 6) {
    case 0:  // ordinary, the end half the length past the position
      ls = m % 12 == 6 ? 600 : 400;
      posizione = fine - ls / 2;
      break;
    case 1:  // kind 5 and 6: the end 150 m past
    case 5:
      tipo = m % 6 == 1 ? 5 : 6;
      ls = 300;
      posizione = fine - 150;
      break;
    case 2:  // kind 7 and 8: the end a length past
    case 4:
      tipo = m % 6 == 2 ? 7 : 8;
      ls = 300;
      posizione = fine - ls;
      break;
    case 3:  // ordinary with 50 m more at the end
      opzione3 = 1;
      posizione = fine - ls / 2 - 50;
      break;
  }
  if (senza_segni(m)) tipo = 30;
  const int32_t ore = orario / 3600, minuti = orario / 60 % 60, secondi = orario % 60;
  return riga("stazione", {posizione, tipo, ls, m % 3, 1, opzione3, 1, m % 2, m % 2, 2 + m % 3, 1, 1, m % 4 == 0,
                           ore, minuti, secondi}) +
         ", " + nome_stazione(m);
}

void sorgente_treno(scenario_generato& s) {
  auto& r = s.righe_treno;
  auto& a = s.attesi;
  r.push_back("[generale]");
  r.push_back(riga("numero vetture", {8}));
  r.push_back(riga("percentuale massa frenata", {110}));
  r.push_back(riga("sabbia", {1}));
  r.push_back("orologio,    6              14            30 ");

  r.push_back("[aderenze]");
  for (int32_t i = 0; i * 100000 < lunghezza_percorso; ++i) r.push_back(riga("aderenza", {100000 * i, i % 2 ? 85 : 100}));

  r.push_back("[vel_limite]");
  static constexpr std::array<int32_t, 6> limiti = {100, 120, 140, 160, 120, 90};
  for (int32_t i = 0; i * 10000 < lunghezza_percorso; ++i)
    r.push_back(riga("velocita", {10000 * i, limiti[static_cast<size_t>(i % 6)]}));

  // The first station at the line's start, its stop cell 3; the others every
  // 27 km, 13 minutes apart.
  r.push_back("[stazioni]");
  r.push_back("stazione,       0, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,  6,15, 0, ORIGINE");
  a.stazioni = 1;
  a.fermate = 1;
  for (int32_t j = 1; j <= ultimo_segnale; j += 2) {
    if (!con_stazione(j)) continue;
    const int32_t m = a.stazioni;
    r.push_back(riga_stazione(m, cella_segnale(j) + 24, 6 * 3600 + 15 * 60 + 13 * 60 * m));
    ++a.stazioni;
    if (!senza_segni(m)) ++a.fermate;
  }

  r.push_back("[rallentamenti]");
  for (int32_t j = 2; j <= ultimo_rallentamento; j += 2) {
    const rallentamento z = rallentamento_di(j);
    r.push_back(riga("rallentamento", {z.x, z.v, z.l, z.f_tt, z.f_ta, z.d_v}));
    ++a.rallentamenti;
    a.con_preavviso += z.f_ta;
    // The finishing pass: one code point in each of the three groups before
    // the start; the walk's and the look-ahead's for a slow one; the one before
    // the signal in the warning point's scan, unless that signal's two cells
    // already hold code points and the code is lowered instead.
    a.punti_codice += 3 + (z.v < 110 ? 2 : 0);
    const bool abbassato = con_codice_270(j - 1) && c_e_rallentamento(j - 2) && lento(j - 2);
    if (abbassato)
      ++a.codici_abbassati;
    else
      ++a.punti_codice;
  }

  r.push_back("[segnali]");
  for (int32_t j = 1; j <= ultimo_segnale; ++j) {
    const int32_t sx = j % 3 == 0 ? 1 : 2;
    static constexpr std::array<int32_t, 4> tempi = {230, 50, 0, 150};
    r.push_back(riga("segnale", {passo_segnali * j, sx, j % 4, (j + 1) % 4, j % 2, j % 3, (j + 2) % 3, j % 5, 0, 1,
                                 tempi[static_cast<size_t>(j % 4)]}));
    ++a.segnali;
  }

  // Code points by arrotonda(m / 50): metre 50 c is cell c.
  r.push_back("[codici]");
  static constexpr std::array<int32_t, 6> codici = {180, 0, 70000, -5, 120, 200};
  int32_t k = 0;
  for (int32_t j = 1; j <= ultimo_segnale; j += 2) {
    if (con_punto_codice(j)) {
      const int32_t valore = codici[static_cast<size_t>(k++ % 6)];
      r.push_back(riga("abbattimento", {(cella_segnale(j) + 9) * metri_per_cella, valore}));
      if (valore > 0)
        ++a.punti_codice;
      else
        ++a.abbattimenti_nulli;
    }
    if (con_codice_270(j)) {
      r.push_back(riga("abbattimento", {(cella_segnale(j) - 1) * metri_per_cella, 270}));
      ++a.punti_codice;
    }
  }
  r.push_back("[fine]");
}

}  // namespace

scenario_generato genera_scenario_massimo() {
  scenario_generato s;
  s.nome_scenario = "Linea massima";
  s.numero_treno = "99001";
  s.lunghezza = lunghezza_percorso;
  sorgente_linea(s);
  sorgente_treno(s);
  return s;
}

std::string testo_sorgente(const std::vector<std::string>& righe) {
  size_t n = 0;
  for (const std::string& r : righe) n += r.size() + 2;
  std::string testo;
  testo.reserve(n);
  for (const std::string& r : righe) {
    testo += r;
    testo += "\r\n";
  }
  return testo;
}

void scrivi_sorgenti(Form1& form, const scenario_generato& scenario) {
  form.nome_scenario = scenario.nome_scenario;
  form.numero_treno = scenario.numero_treno;
  form.scrivi_file_nuovo(form.nome_sorgente_linea(), testo_sorgente(scenario.righe_linea));
  form.scrivi_file_nuovo(form.nome_sorgente_treno(), testo_sorgente(scenario.righe_treno));
}

int costruisci(Form1& form, const scenario_generato& scenario) {
  try {
    scrivi_sorgenti(form, scenario);
    int32_t j = 1;
    form.riporta_build(form.memorizza_percorso(j));
  } catch (const fine_programma& fine) {
    return fine.stato;
  }
  return 0;
}
