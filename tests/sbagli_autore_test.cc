// The author's mistakes that used to give a wrong scenario in silence, or a
// message that did not name its cause: one table, each row a mistake in an
// otherwise clean pair of sources, the diagnostic it must earn (its code, the
// source, line and column where the mistake is written, and the words that
// name the cause), built as `scenario build` builds (the compile in memory).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "finish/compilazione.h"
#include "support/file_system_fake.h"
#include "support/righe.h"

namespace {


const std::string linea_base = testo({
    "[generale]",                                            // 1
    "lunghezza percorso,    8000",                           // 2
    "[curve]",                                               // 3
    "curvas4,  300,  150",                                   // 4
    "[pendenze]",                                            // 5
    "pendenza,   0,    0",                                   // 6
    "pendenza,  600,   4",                                   // 7
    "[montagne]",                                            // 8
    "montagna,  5000,  6000,  2",                            // 9
    "[indicazioni]",                                         // 10
    "indicatori_v_max,  1000,  1, 0, 0, 2,  60, 0, 0, 1",    // 11
    "[fine]",                                                // 12
});
const std::string treno_base = testo({
    "[generale]",                                                                      // 1
    "numero vetture,    4",                                                            // 2
    "[vel_limite]",                                                                    // 3
    "velocita,   0,  100",                                                             // 4
    "velocita,  4000,  80",                                                            // 5
    "[stazioni]",                                                                      // 6
    "stazione,       0, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,  13,28, 0, PRIMA",  // 7
    "stazione,    8000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,35, 0, ULTIMA",  // 8
    "[rallentamenti]",                                                                 // 9
    "rallentamento,  3600,   120,  300,  1, 1, 0",                                     // 10
    "[segnali]",                                                                       // 11
    "segnale,     900,   2, 3, 1,  0, 0,    0,  0,0,0, 230",                           // 12
    "[fine]",                                                                          // 13
});

// `base` with its line `n` (1-based) replaced by `nuove` (none: removed).
std::string cambia(const std::string& base, int n, std::initializer_list<std::string_view> nuove) {
  size_t inizio = 0;
  for (int i = 1; i < n; ++i) inizio = base.find("\r\n", inizio) + 2;
  const size_t fine = base.find("\r\n", inizio) + 2;
  std::string t;
  for (std::string_view r : nuove) t.append(r).append("\r\n");
  return base.substr(0, inizio) + t + base.substr(fine);
}

// Line `n` (1-based) of a text.
std::string riga_n(const std::string& t, int32_t n) {
  size_t inizio = 0;
  for (int32_t i = 1; i < n; ++i) inizio = t.find("\r\n", inizio) + 2;
  return t.substr(inizio, t.find("\r\n", inizio) - inizio);
}

// The large buffers of a compile come from its base platform, which must
// outlive it: one for the whole file.
compilazione costruisci(const std::string& linea, const std::string& treno) {
  static sistema_finto base;
  sorgenti_build s;
  s.nome_scenario = "Prova";
  s.numero_treno = "1";
  s.linea = linea;
  s.treno = treno;
  return compila(base, s);
}

constexpr sorgente_build L = sorgente_build::linea;
constexpr sorgente_build T = sorgente_build::treno;

struct sbaglio {
  const char* nome;
  std::string linea = linea_base;
  std::string treno = treno_base;
  std::string codice;  // "E25", "valore_negativo", ...
  sorgente_build sorgente;
  int32_t riga;
  std::string segno;   // the diagnostic's column is where this starts on its line (empty: past its end)
  std::string parole;  // in its words
};

void PrintTo(const sbaglio& c, std::ostream* os) { *os << c.nome; }

class sbagli : public testing::TestWithParam<sbaglio> {};

TEST_P(sbagli, ognuno_ha_il_suo_codice_al_suo_posto_con_la_sua_causa) {
  const sbaglio& c = GetParam();
  const compilazione r = costruisci(c.linea, c.treno);
  const std::string& testo_sorgente = c.sorgente == L ? c.linea : c.treno;
  const std::string riga = riga_n(testo_sorgente, c.riga);
  ASSERT_NE(riga.find(c.segno), std::string::npos) << c.segno;
  // An empty mark: just past the line's end.
  const auto colonna = static_cast<int32_t>(c.segno.empty() ? riga.size() : riga.find(c.segno)) + 1;

  const diagnostica* trovata = nullptr;
  std::string tutte;
  for (const diagnostica& d : r.esito.diagnostiche) {
    tutte += codice_di(d) + " " + std::to_string(d.dove.riga) + ":" + std::to_string(d.dove.colonna) + " " +
             d.testo + "\n";
    if (codice_di(d) == c.codice && !trovata) trovata = &d;
  }
  ASSERT_TRUE(trovata) << tutte;
  EXPECT_EQ(trovata->dove.sorgente, c.sorgente) << tutte;
  EXPECT_EQ(trovata->dove.riga, c.riga) << tutte;
  EXPECT_EQ(trovata->dove.colonna, colonna) << tutte;
  EXPECT_NE(trovata->testo.find(c.parole), std::string::npos) << trovata->testo;
  EXPECT_EQ(trovata->citata, riga);
}

const std::string segnale_a = "segnale,  %,   2, 3, 1,  0, 0,    0,  0,0,0, 230";
std::string segnale(int metri) {
  std::string s = segnale_a;
  s.replace(s.find('%'), 1, std::to_string(metri));
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    tabella, sbagli,
    testing::Values(
        // Negative and reversed values: a warning at the value.
        sbaglio{"rallentamento_di_lunghezza_negativa", linea_base,
                cambia(treno_base, 10, {"rallentamento,  3600,   120,  -300,  1, 1, 0"}), "valore_negativo", T, 10,
                "-300", "la sua fine cade prima dell'inizio, a 3300 m"},
        sbaglio{"stazione_con_l_area_negativa", linea_base,
                cambia(treno_base, 8, {"stazione,    8000, 12,  -400,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,35, 0, ULTIMA"}),
                "valore_negativo", T, 8, "-400", "l'area è rovesciata (da 8200 a 7800 m)"},
        sbaglio{"curva_di_lunghezza_negativa", cambia(linea_base, 4, {"curvas4,  300,  -150"}), treno_base,
                "valore_negativo", L, 4, "-150", "la curva non c'è"},
        sbaglio{"montagna_con_la_fine_prima_dell_inizio", cambia(linea_base, 9, {"montagna,  6000,  5000,  2"}),
                treno_base, "fine_prima_inizio", L, 9, "5000", "finisce a 5000 m, prima del suo inizio a 6000 m"},
        // A decimal comma in the middle of a line: the number is the place.
        sbaglio{"virgola_decimale_a_meta_riga", linea_base,
                cambia(treno_base, 10, {"rallentamento,  3600,   120,5,  300,  1, 1, 0"}), "valori_in_piu", T, 10,
                "120,5", "\"120,5\" ha una virgola tra le cifre ed è letto come due valori: quelli dopo scorrono"},
        // A comment read as a key.
        sbaglio{"commento_letto_come_segnale", linea_base,
                cambia(treno_base, 12, {"; nota: il segnale di protezione sta a 1500", segnale(900)}),
                "commento_letto", T, 12, ";", "è letta come la chiave \"segnale\""},
        sbaglio{"commento_letto_come_pendenza", cambia(linea_base, 7, {"pendenza,  600,   4", "# pendenza in salita"}),
                treno_base, "commento_letto", L, 8, "#", "è letta come la chiave \"pendenza\""},
        // A speed indicator's pair that does not read back.
        sbaglio{"indicatore_non_multiplo_di_5",
                cambia(linea_base, 11, {"indicatori_v_max,  1000,  1, 0, 0, 2,  62, 0, 0, 1"}), treno_base,
                "indicatore_illeggibile", L, 11, "62", "(1, 62, cioè 162 km/h) diventa 160 km/h"},
        // A speed the grid cannot hold: at the line that wrote it, in km/h,
        // though it fails when the next line (or the end) writes the cells.
        sbaglio{"velocita_troppo_alta_a_meta_lista", linea_base,
                cambia(treno_base, 4, {"velocita,   0,  1300"}), "E25", T, 4, "1300",
                "la velocità 1300 km/h è fuori da quelle che la griglia tiene, da 0 a 1275 km/h"},
        sbaglio{"velocita_troppo_alta_in_fondo_alla_lista", linea_base,
                cambia(treno_base, 5, {"velocita,  4000,  1280"}), "E25", T, 5, "1280", "1280 km/h"},
        // Causes named.
        sbaglio{"stazioni_fuori_ordine", linea_base,
                cambia(treno_base, 8, {"stazione,    8000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,35, 0, ULTIMA",
                                       "stazione,    3000, 12,  400,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,40, 0, DOPO"}),
                "E22", T, 9, "3000", "è scritta dopo una stazione a 8000 m, \"ULTIMA\""},
        sbaglio{"tabulazione_al_posto_della_virgola", cambia(linea_base, 7, {"pendenza\t600,   4"}), treno_base,
                "valori_mancanti", L, 7, "", "tra \"pendenza\" e \"600\" c'è una tabulazione"},
        sbaglio{"oltre_la_griglia_con_l_ultima_posizione", linea_base,
                cambia(treno_base, 12, {segnale(15000)}), "E15", T, 12, "15000",
                "la posizione più lontana ammessa è 14900 m, con un percorso lungo 8000 m"},
        sbaglio{"valore_fuori_dal_suo_campo", linea_base,
                cambia(treno_base, 7, {"stazione,       0, 300,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,  13,28, 0, PRIMA"}),
                "E25", T, 7, "300", "da 0 a 255"},
        // The finishing pass: at the slowdown's line, its position as
        // written, the features in the cells named at their lines.
        sbaglio{"abbattimento_senza_posto_prima_del_rallentamento", linea_base,
                cambia(treno_base, 12, {segnale(900), segnale(3250), segnale(3300), segnale(3350)}), "E12", T, 10,
                "3600", "Errore n. 12 a 3600 m"}),
    [](const testing::TestParamInfo<sbaglio>& i) { return std::string(i.param.nome); });

TEST(sbagli_pulito, lo_scenario_di_base_si_costruisce_senza_niente_da_dire) {
  const compilazione r = costruisci(linea_base, treno_base);
  EXPECT_TRUE(r.esito.riuscito());
  std::string tutte;
  for (const diagnostica& d : r.esito.diagnostiche) tutte += codice_di(d) + " " + d.testo + "\n";
  EXPECT_EQ(tutte, "");
}

TEST(sbagli_passata_finale, l_errore_nomina_le_righe_degli_elementi_nelle_celle) {
  const std::string treno = cambia(treno_base, 12, {segnale(900), segnale(3250), segnale(3300), segnale(3350)});
  const compilazione r = costruisci(linea_base, treno);
  const diagnostica* e = r.esito.errore();
  ASSERT_TRUE(e);
  ASSERT_EQ(e->errore, 12);
  EXPECT_EQ(e->metri, 3600);
  std::vector<int32_t> righe;
  for (const luogo_correlato& c : e->correlati) {
    EXPECT_EQ(c.dove.sorgente, T);
    EXPECT_NE(c.testo.find("un segnale"), std::string::npos) << c.testo;
    righe.push_back(c.dove.riga);
  }
  std::sort(righe.begin(), righe.end());
  EXPECT_EQ(righe, (std::vector<int32_t>{13, 14, 15}));
}

// An empty source says so, not just that something is missing: the line
// source stops with error 102, the train source is read as nothing.
TEST(sbagli_vuoto, un_file_vuoto_lo_dice) {
  compilazione r = costruisci("", treno_base);
  const diagnostica* e = r.esito.errore();
  ASSERT_TRUE(e);
  EXPECT_EQ(e->errore, 102);
  EXPECT_NE(e->testo.find("il file è vuoto"), std::string::npos) << e->testo;
  EXPECT_EQ(e->dove.sorgente, L);

  r = costruisci(linea_base, "");
  ASSERT_EQ(r.esito.diagnostiche.size(), 1u);
  EXPECT_EQ(r.esito.diagnostiche[0].codice, codice_avviso::treno_senza_generale);
  EXPECT_NE(r.esito.diagnostiche[0].testo.find("il sorgente del treno è vuoto"), std::string::npos)
      << r.esito.diagnostiche[0].testo;
}

// A comment's fix puts the "-" that switches the line off: applied, the
// warning goes, and the line is no longer read.
TEST(sbagli_commento, la_correzione_spegne_la_riga) {
  const std::string treno = cambia(treno_base, 12, {"; segnale a 1500, 2, 3, 1,  0, 0,    0,  0,0,0, 230", segnale(900)});
  const compilazione r = costruisci(linea_base, treno);
  const diagnostica* d = nullptr;
  for (const diagnostica& x : r.esito.diagnostiche)
    if (x.codice == codice_avviso::commento_letto && x.errore == 0) d = &x;
  ASSERT_TRUE(d);
  ASSERT_TRUE(d->rimedio);
  EXPECT_EQ(d->rimedio->testo, "-");
  EXPECT_EQ(d->rimedio->dove.colonna, 1);
  EXPECT_EQ(d->rimedio->dove.colonna_fine, 1);
  const compilazione corretta = costruisci(linea_base, cambia(treno, 12, {"-; segnale a 1500, 2, 3, 1,  0, 0,    0,  0,0,0, 230"}));
  EXPECT_TRUE(corretta.esito.riuscito());
  for (const diagnostica& x : corretta.esito.diagnostiche) EXPECT_NE(x.codice, codice_avviso::commento_letto) << x.testo;
}

// Only a line that spaces its values is read for a decimal comma: values
// written tight on purpose ("1,1,0") are no mistake, and a name with a comma
// is still named as the field left over.
TEST(sbagli_virgola, una_riga_scritta_stretta_non_e_una_virgola_decimale) {
  const compilazione r = costruisci(
      linea_base,
      cambia(treno_base, 8, {"stazione,    8000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,35, 0, ULTIMA, P.F."}));
  ASSERT_EQ(r.esito.diagnostiche.size(), 1u);
  EXPECT_EQ(r.esito.diagnostiche[0].codice, codice_avviso::valori_in_piu);
  EXPECT_EQ(r.esito.diagnostiche[0].dove.colonna,
            static_cast<int32_t>(riga_n(treno_base, 8).size()) + 3);
}

}  // namespace
