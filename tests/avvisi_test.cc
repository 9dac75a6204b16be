// The reader's warnings on an in-memory folder: which lines earn one, with
// its code, source, line and column, and which lines the reader passes over
// on purpose and must leave in silence (section headers it knows, empty
// lines, lines switched off by the "-" rule, the last field of a text, the
// curves of a build without the line file).
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "driver/form1.h"
#include "reader/chiavi_note.h"
#include "support/file_system_fake.h"
#include "support/righe.h"

namespace {

using enum codice_avviso;


const std::string linea_base = testo({
    "[generale]",                    // 1
    "lunghezza percorso,    4000",   // 2
    "sfondo uno,    0",              // 3
    "[curve]",                       // 4
    "curvas4,  300,  150",           // 5
    "[pendenze]",                    // 6
    "pendenza,   0,    0",           // 7
    "pendenza,  600,   4",           // 8
    "[cartelli]",                    // 9
    "[fine]",                        // 10
});
const std::string treno_base = testo({
    "[generale]",                                                                           // 1
    "numero vetture,    4",                                                                 // 2
    "sabbia,    0",                                                                         // 3
    "[aderenze]",                                                                           // 4
    "aderenza,   0,    100",                                                                // 5
    "[stazioni]",                                                                           // 6
    "stazione,       0, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,  13,28, 0, PRIMA",       // 7
    "stazione,    4000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,35, 0, ULTIMA",       // 8
    "[segnali]",                                                                            // 9
    "segnale,     900,   2, 3, 1,  0, 0,    0,  0,0,0, 230",                               // 10
    "[fine]",                                                                               // 11
});

// `base` with the line that reads `riga` replaced by `nuove` (none: removed).
std::string cambia(const std::string& base, std::string_view riga, std::initializer_list<std::string_view> nuove) {
  const std::string vecchia = std::string(riga) + "\r\n";
  const size_t p = base.find(vecchia);
  EXPECT_NE(p, std::string::npos) << riga;
  if (p == std::string::npos) return base;
  std::string t;
  for (std::string_view n : nuove) t.append(n).append("\r\n");
  return base.substr(0, p) + t + base.substr(p + vecchia.size());
}

// A warning expected at line `riga` of a source, in the column where
// `segno` starts on that line (empty: just past the line's end; riga 0: the
// whole text).
struct atteso {
  codice_avviso codice;
  sorgente_build sorgente;
  int32_t riga;
  std::string segno;
};

struct caso {
  const char* nome;
  std::string linea = linea_base;
  std::string treno = treno_base;
  std::vector<atteso> avvisi;
  int32_t crea_linea = 1;
};

void PrintTo(const caso& c, std::ostream* os) { *os << c.nome; }

// Line `n` (1-based) of a text.
std::string riga_n(const std::string& t, int32_t n) {
  size_t inizio = 0;
  for (int32_t i = 1; i < n; ++i) inizio = t.find("\r\n", inizio) + 2;
  return t.substr(inizio, t.find("\r\n", inizio) - inizio);
}

class avvisi : public testing::TestWithParam<caso> {};

TEST_P(avvisi, ogni_riga_ha_il_suo_avviso_al_suo_posto_e_nessun_altro) {
  const caso& c = GetParam();
  sistema_finto sistema;
  sistema.file["Prova_linea.txt"] = c.linea;
  sistema.file["Prova_1-.txt"] = c.treno;
  Form1 f(sistema);
  f.nome_scenario = "Prova";
  f.numero_treno = "1";
  int32_t j = c.crea_linea;
  const esito_build e = f.memorizza_percorso(j);

  std::vector<std::string> visti, voluti;
  for (const diagnostica& a : e.avvisi())
    visti.push_back(std::string(nome_avviso(a.codice)) + " " + std::to_string(static_cast<int>(a.dove.sorgente)) +
                    ":" + std::to_string(a.dove.riga) + ":" + std::to_string(a.dove.colonna));
  for (const atteso& a : c.avvisi) {
    int32_t colonna = 0;
    if (a.riga > 0) {
      const std::string r = riga_n(a.sorgente == sorgente_build::linea ? c.linea : c.treno, a.riga);
      colonna = static_cast<int32_t>(a.segno.empty() ? r.size() : r.find(a.segno)) + 1;
    }
    voluti.push_back(std::string(nome_avviso(a.codice)) + " " + std::to_string(static_cast<int>(a.sorgente)) + ":" +
                     std::to_string(a.riga) + ":" + std::to_string(colonna));
  }
  EXPECT_EQ(visti, voluti);
  for (const diagnostica& a : e.avvisi()) EXPECT_FALSE(a.testo.empty());
}

constexpr sorgente_build L = sorgente_build::linea;
constexpr sorgente_build T = sorgente_build::treno;
const std::string segnale_4500 = "segnale,    4500,   2, 3, 1,  0, 0,    0,  0,0,0, 230";

INSTANTIATE_TEST_SUITE_P(
    righe, avvisi,
    testing::Values(
        caso{"pulito", linea_base, treno_base, {}},
        // What the reader passes over on purpose.
        caso{"righe_vuote_e_intestazioni_note",
             cambia(linea_base, "[cartelli]", {"", "   ", "[Montagne]", "[cartelli]"}),
             cambia(treno_base, "[segnali]", {"", "[codici]", "[vel_limite]", "[rallentamenti]", "[segnali]"}),
             {}},
        caso{"riga_spenta_dal_trattino", cambia(linea_base, "pendenza,  600,   4", {"-pendenza,  600,   4"}),
             cambia(treno_base, "[segnali]", {"-segnale,  1900,  2, 3, 1,  0, 0,    0,  0,0,0, 230", "[segnali]"}),
             {}},
        caso{"l_ultimo_campo_non_e_interpretato", linea_base, cambia(treno_base, "[fine]", {"fine"}), {}},
        caso{"senza_file_della_linea_le_curve_tacciono", linea_base, treno_base, {}, 0},
        caso{"un_numero_intero_con_il_punto", linea_base, cambia(treno_base, "aderenza,   0,    100",
                                                                  {"aderenza,   0,    100.0"}),
             {}},
        // One warning each.
        caso{"chiave_sconosciuta", cambia(linea_base, "pendenza,  600,   4", {"pendnza,  600,   4"}),
             treno_base,
             {{chiave_sconosciuta, L, 8, "pendnza"}}},
        caso{"chiave_maiuscola_nella_sezione_generale", cambia(linea_base, "sfondo uno,    0", {"Sfondo uno,    0"}),
             treno_base,
             {{chiave_sconosciuta, L, 3, "Sfondo"}}},
        caso{"chiave_della_linea_nel_treno", linea_base,
             cambia(treno_base, "sabbia,    0", {"sabbia,    0", "pendenza,  600,   4"}),
             {{chiave_sconosciuta, T, 4, "pendenza"}}},
        caso{"sezione_sconosciuta", linea_base, cambia(treno_base, "[segnali]", {"[segnal]"}),
             {{sezione_sconosciuta, T, 9, "[segnal]"}}},
        caso{"valore_in_piu_una_volta_per_riga",
             cambia(linea_base, "pendenza,  600,   4", {"pendenza,  600,   4, 7, 8"}), treno_base,
             {{valori_in_piu, L, 8, "7"}}},
        caso{"valore_negativo_in_piu", cambia(linea_base, "pendenza,  600,   4", {"pendenza,  600,   4,  -7"}),
             treno_base,
             {{valori_in_piu, L, 8, "-7"}}},
        caso{"numero_con_lo_spazio", cambia(linea_base, "lunghezza percorso,    4000",
                                             {"lunghezza percorso,    4 000"}),
             cambia(treno_base, "stazione,    4000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,35, 0, ULTIMA", {}),
             {{valori_in_piu, L, 2, "000"}, {oltre_fine_percorso, T, 9, "900"}}},
        // Split earlier on the line: the values shift, and the split number is the place.
        caso{"numero_con_lo_spazio_a_meta_riga", linea_base,
             cambia(treno_base, "segnale,     900,   2, 3, 1,  0, 0,    0,  0,0,0, 230",
                    {"segnale,     1 900,   2, 3, 1,  0, 0,    0,  0,0,0, 230"}),
             {{valori_in_piu, T, 10, "1 900"}}},
        // Numbers apart by blanks alone are fields, as the clock writes them.
        caso{"numeri_separati_da_spazi", linea_base, cambia(treno_base, "sabbia,    0", {"sabbia,    0",
                                                                                     "orologio,  13  27  42"}),
             {}},
        caso{"virgola_in_un_nome_di_stazione", linea_base,
             cambia(treno_base, "stazione,    4000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,35, 0, ULTIMA",
                    {"stazione,    4000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,35, 0, ULTIMA, P.F."}),
             {{valori_in_piu, T, 8, "P.F."}}},
        caso{"cartello_senza_testo", cambia(linea_base, "[cartelli]", {"[cartelli]", "cartello indicatore,  2300"}),
             treno_base,
             {{valori_mancanti, L, 10, ""}}},
        // The missing value is the next line's key, which is no number.
        caso{"valori_mancanti_poi_errore_25", cambia(linea_base, "pendenza,  600,   4", {"pendenza,  600"}),
             treno_base,
             {{valori_mancanti, L, 8, ""}}},
        caso{"numero_arrotondato", linea_base,
             cambia(treno_base, "aderenza,   0,    100", {"aderenza,   0,    100.5"}),
             {{numero_arrotondato, T, 5, "100.5"}}},
        // Thousands written with a point: read as decimals, said so (rounded or not).
        caso{"separatore_migliaia", linea_base,
             cambia(treno_base, "aderenza,   0,    100", {"aderenza,   0,    100", "aderenza,   1.500,    90"}),
             {{separatore_migliaia, T, 6, "1.500"}}},
        caso{"separatore_migliaia_senza_arrotondare",
             cambia(linea_base, "pendenza,  600,   4", {"pendenza,  600,   4", "pendenza,  -2.000,   3"}), treno_base,
             {{separatore_migliaia, L, 9, "-2.000"}, {fuori_ordine, L, 9, "-2.000"}}},
        caso{"decimali_che_non_sembrano_migliaia", linea_base,
             cambia(treno_base, "aderenza,   0,    100", {"aderenza,   0.500,    100", "aderenza,   1200,  90.25"}),
             {{numero_arrotondato, T, 5, "0.500"}, {numero_arrotondato, T, 6, "90.25"}}},
        // A list line before where the list had reached, once per such line;
        // equal positions are in order.
        caso{"pendenza_fuori_ordine",
             cambia(linea_base, "pendenza,  600,   4",
                    {"pendenza,  600,   4", "pendenza,  300,   2", "pendenza,  450,   1", "pendenza,  600,  0"}),
             treno_base,
             {{fuori_ordine, L, 9, "300"}, {fuori_ordine, L, 10, "450"}}},
        caso{"aderenza_fuori_ordine", linea_base,
             cambia(treno_base, "aderenza,   0,    100",
                    {"aderenza,   0,    100", "aderenza,   2000,    90", "aderenza,   1000,    80"}),
             {{fuori_ordine, T, 7, "1000"}}},
        // PRIMA stops in cell 3, where a sign or an indicator at 100 m stands.
        caso{"fermata_sopra_un_cartello",
             cambia(linea_base, "[cartelli]", {"[cartelli]", "cartello indicatore,  100, Galleria"}), treno_base,
             {{elemento_coperto, T, 7, "0"}}},
        caso{"fermata_sopra_un_indicatore",
             cambia(linea_base, "[cartelli]", {"[cartelli]", "indicatori_v_max,  100,  1, 0, 0, 2,  60, 0, 0, 1"}),
             treno_base,
             {{elemento_coperto, T, 7, "0"}}},
        // With [segnali] before [stazioni] a signal on the stop cell is taken.
        caso{"fermata_sopra_un_segnale", linea_base,
             cambia(cambia(treno_base, "[segnali]", {}), "[stazioni]",
                    {"[segnali]", "segnale,     100,   2, 3, 1,  0, 0,    0,  0,0,0, 230", "[stazioni]"}),
             {{elemento_coperto, T, 9, "0"}}},
        caso{"segnale_oltre_la_fine", linea_base, cambia(treno_base, "[fine]", {segnale_4500, "[fine]"}),
             {{oltre_fine_percorso, T, 11, "4500"}}},
        caso{"ogni_elemento_oltre_la_fine",
             cambia(linea_base, "[cartelli]",
                    {"[cartelli]", "cartello indicatore,  4100, Galleria",
                     "indicatori_v_max,  4200,  1, 0, 0, 2,  60, 0, 0, 1"}),
             cambia(treno_base, "[fine]",
                    {"rallentamento,  4300,   80,  150,  0, 0, 0", "abbattimento,  4400,  270", "[fine]"}),
             {{oltre_fine_percorso, L, 10, "4100"},
              {oltre_fine_percorso, L, 11, "4200"},
              {oltre_fine_percorso, T, 11, "4300"},
              {oltre_fine_percorso, T, 12, "4400"}}},
        // Only the terminus may reach past the end: a station after it shows
        // the one before did not. Sorted by line, though the area's is only
        // known at the end.
        caso{"area_oltre_la_fine_prima_del_capolinea", linea_base,
             cambia(treno_base, "stazione,    4000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,35, 0, ULTIMA",
                    {"stazione,    3800, 12,  600,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,35, 0, MEDIA",
                     "stazione,    5000, 12,  400,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,40, 0, OLTRE"}),
             {{area_oltre_fine, T, 8, "3800"}, {oltre_fine_percorso, T, 9, "5000"}}},
        caso{"treno_senza_generale", linea_base, cambia(treno_base, "[generale]", {"[genrale]"}),
             {{treno_senza_generale, T, 0, ""}}}),
    [](const testing::TestParamInfo<caso>& i) { return std::string(i.param.nome); });

// What each warning says: the field as written, what the reader did with it,
// and a hint where there is one.
TEST(avvisi_testi, dicono_il_campo_che_cosa_ne_e_stato_e_un_suggerimento) {
  sistema_finto sistema;
  sistema.file["Prova_linea.txt"] =
      cambia(cambia(cambia(linea_base, "pendenza,  600,   4", {"pendnza,  600,   4"}), "lunghezza percorso,    4000",
                    {"lunghezza percorso,    4000 0"}),
             "[cartelli]", {"[cartelli]", "cartello indicatore,  100, Galleria Aspra"});
  sistema.file["Prova_1-.txt"] =
      cambia(cambia(cambia(treno_base, "[segnali]", {"[curve]"}), "aderenza,   0,    100",
                    {"aderenza,   0,    99.5", "aderenza,   3000,    90", "aderenza,   1.500,    80"}),
             "segnale,     900,   2, 3, 1,  0, 0,    0,  0,0,0, 230",
             {"segnale,     1 900,   2, 3, 1,  0, 0,    0,  0,0,0, 230"});
  Form1 f(sistema);
  f.nome_scenario = "Prova";
  f.numero_treno = "1";
  int32_t j = 1;
  const esito_build e = f.memorizza_percorso(j);
  std::vector<std::string> testi;
  for (const diagnostica& a : e.avvisi()) testi.push_back(a.testo);
  EXPECT_EQ(testi, (std::vector<std::string>{
                       "\"0\" è in più sulla riga di \"lunghezza percorso\", dopo i valori che la chiave legge: è "
                       "scartato; un numero si scrive senza spazi né virgole tra le cifre",
                       "\"pendnza\" non è una chiave: la riga è scartata; forse \"pendenza\"?",
                       "il numero \"99.5\" ha una parte decimale: è arrotondato a 100",
                       "il numero \"1.500\" è letto come 2: il punto separa i decimali; se sono migliaia, si "
                       "scrivono senza punto (\"1500\")",
                       "aderenza a 2 m dopo una riga a 3000 m: le righe vanno in ordine di posizione, e questa non "
                       "torna indietro (il suo valore comincia dopo i 3000 m)",
                       "la fermata della stazione \"PRIMA\" cade nella cella del cartello \"Galleria Aspra\" a 100 m, "
                       "che sparisce dalla griglia",
                       "la sezione \"[curve]\" non è una sezione del sorgente del treno; è una sezione del sorgente "
                       "della linea",
                       "il numero \"1 900\" ha uno spazio tra le cifre ed è letto come due valori: quelli dopo "
                       "scorrono di un posto, e \"230\" è in più sulla riga di \"segnale\" ed è scartato; un numero "
                       "si scrive senza spazi tra le cifre",
                   }));
}

// The spellings the hints offer are keys the reader recognises where they
// are offered: a line with each, in its part, is read (a key not recognised
// reads no value and earns the warning of a dropped key).
TEST(avvisi_chiavi_note, ogni_chiave_dei_suggerimenti_e_riconosciuta_dal_lettore) {
  std::string valori;
  for (int i = 0; i < 17; ++i) valori += ", 0";
  for (parte_testo p : {parte_testo::generale_linea, parte_testo::profilo_linea, parte_testo::treno}) {
    for (std::string_view k : chiavi_della_parte(p)) {
      const std::string riga = std::string(k) + valori;
      sistema_finto sistema;
      sistema.file["Prova_linea.txt"] = p == parte_testo::generale_linea ? testo({"[generale]", riga, "[fine]"})
                                        : p == parte_testo::profilo_linea
                                            ? cambia(linea_base, "[cartelli]", {riga, "[cartelli]"})
                                            : linea_base;
      sistema.file["Prova_1-.txt"] = p == parte_testo::treno ? testo({"[generale]", riga, "[fine]"}) : treno_base;
      Form1 f(sistema);
      f.nome_scenario = "Prova";
      f.numero_treno = "1";
      int32_t j = 1;
      for (const diagnostica& a : f.memorizza_percorso(j).avvisi())
        EXPECT_NE(a.codice, chiave_sconosciuta) << k << ": " << a.testo;
    }
  }
}

}  // namespace
