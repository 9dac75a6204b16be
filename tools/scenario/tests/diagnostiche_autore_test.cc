// The warnings as `scenario build` reports them, over the in-memory platform:
// one case per warning code with the FILE:LINE:COLUMN it names and its code,
// and the three binary files byte for byte those of the package run of the
// same texts, which ignores warnings; every scenario folder builds without
// one; the line and the JSON objects of a diagnostic.
#include "diagnostiche_autore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "costruzione.h"
#include "diagnosi/riga_gnu.h"
#include "reader/avvisi.h"
#include "driver/form1.h"
#include "model/nomi_file.h"
#include "model/windows1252.h"
#include "support/file_system_fake.h"

namespace {

std::vector<std::string> righe(std::initializer_list<std::string_view> r) { return {r.begin(), r.end()}; }

std::string testo(const std::vector<std::string>& r) {
  std::string t;
  for (const std::string& s : r) t += s + "\r\n";
  return t;
}

const std::vector<std::string> linea_base = righe({
    "[generale]",                   // 1
    "lunghezza percorso,    4000",  // 2
    "sfondo uno,    0",             // 3
    "[curve]",                      // 4
    "curvas4,  300,  150",          // 5
    "[pendenze]",                   // 6
    "pendenza,   0,    0",          // 7
    "pendenza,  600,   4",          // 8
    "[cartelli]",                   // 9
    "[fine]",                       // 10
});
const std::vector<std::string> treno_base = righe({
    "[generale]",                                                                      // 1
    "numero vetture,    4",                                                            // 2
    "sabbia,    0",                                                                    // 3
    "[aderenze]",                                                                      // 4
    "aderenza,   0,    100",                                                           // 5
    "[stazioni]",                                                                      // 6
    "stazione,       0, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,  13,28, 0, PRIMA",  // 7
    "stazione,    4000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,35, 0, ULTIMA",  // 8
    "[segnali]",                                                                       // 9
    "segnale,     900,   2, 3, 1,  0, 0,    0,  0,0,0, 230",                          // 10
    "[fine]",                                                                          // 11
});

// `base` with line `n` (1-based) replaced by `nuove`.
std::vector<std::string> cambia(std::vector<std::string> base, size_t n, std::initializer_list<std::string_view> nuove) {
  base.erase(base.begin() + static_cast<std::ptrdiff_t>(n - 1));
  base.insert(base.begin() + static_cast<std::ptrdiff_t>(n - 1), nuove.begin(), nuove.end());
  return base;
}

const nomi_file nomi = nomi_dei_file("Prova", "1");

// The three binary files of the package run of these texts; a file it did
// not write is absent.
std::map<std::string, std::string> binari_del_pacchetto(const std::vector<std::string>& linea,
                                                       const std::vector<std::string>& treno) {
  sistema_finto sistema;
  scenario s;
  s.nome_scenario = "Prova";
  s.numero_treno = "1";
  s.linea = linea;
  s.treno = treno;
  esegui_pacchetto(sistema, s);
  std::map<std::string, std::string> b;
  for (const std::string& f : {nomi.file_linea, nomi.file_sim, nomi.file_dat})
    if (sistema.file.count(f)) b[f] = sistema.file[f];
  return b;
}

struct caso {
  const char* nome;
  std::vector<std::string> linea, treno;
  std::string riga;  // the warning's line up to its text: "FILE:LINE:COLUMN: attenzione: "
  codice_avviso codice;
};

void PrintTo(const caso& c, std::ostream* os) { *os << c.nome; }

class avvisi_della_costruzione : public testing::TestWithParam<caso> {};

TEST_P(avvisi_della_costruzione, al_posto_giusto_e_con_i_file_del_pacchetto) {
  const caso& c = GetParam();
  sistema_finto sistema;
  sistema.file[nomi.sorgente_linea] = testo(c.linea);
  sistema.file[nomi.sorgente_treno] = testo(c.treno);
  richiesta_build q;
  q.nome = "Prova";
  q.numero = "1";
  q.cartella_destinazione = "out";
  const rapporto_build r = costruisci(sistema, q);

  // Reported at its place with its code, the outcome carrying it.
  const std::string fine = " [" + std::string(nome_avviso(c.codice)) + "]";
  bool trovato = false;
  std::string tutti;
  for (const diagnostica& a : r.esito.avvisi()) {
    const std::string riga = riga_gnu(a, r.sorgenti.di(a.dove));
    tutti += riga + "\n";
    trovato = trovato || (riga.starts_with(c.riga) && riga.ends_with(fine));
  }
  EXPECT_TRUE(trovato) << tutti;
  // A warning alone leaves the status as it was.
  if (r.esito.codice_errore == 0) {
    EXPECT_EQ(r.stato, uscita_riuscita) << tutti;
  }

  std::map<std::string, std::string> binari;
  for (const std::string& f : {nomi.file_linea, nomi.file_sim, nomi.file_dat})
    if (sistema.file.count("out/" + f)) binari[f] = sistema.file["out/" + f];
  const auto del_pacchetto = binari_del_pacchetto(c.linea, c.treno);
  EXPECT_EQ(binari.size(), del_pacchetto.size());
  for (const auto& [nome, byte] : del_pacchetto) EXPECT_TRUE(binari[nome] == byte) << nome;
}

const std::string nella_linea = nomi.sorgente_linea + ":";
const std::string nel_treno = nomi.sorgente_treno + ":";

INSTANTIATE_TEST_SUITE_P(
    codici, avvisi_della_costruzione,
    testing::Values(
        caso{"chiave_sconosciuta", cambia(linea_base, 8, {"pendnza,  600,   4"}), treno_base,
             nella_linea + "8:1: attenzione: \"pendnza\" non è una chiave", codice_avviso::chiave_sconosciuta},
        // The typo of the route length: the warning at its line, then the
        // error where the grid is first needed, and no file from either.
        caso{"lunghezza_percoso", cambia(linea_base, 2, {"lunghezza percoso,    4000"}), treno_base,
             nella_linea + "2:1: attenzione: \"lunghezza percoso\" non è una chiave: la riga è scartata; forse "
                           "\"lunghezza percorso\"?",
             codice_avviso::chiave_sconosciuta},
        caso{"sezione_sconosciuta", linea_base, cambia(treno_base, 9, {"[segnal]"}),
             nel_treno + "9:1: attenzione: la sezione \"[segnal]\"", codice_avviso::sezione_sconosciuta},
        caso{"valori_in_piu", cambia(linea_base, 2, {"lunghezza percorso,    4 000"}), treno_base,
             nella_linea + "2:26: attenzione: \"000\" è in più", codice_avviso::valori_in_piu},
        caso{"valori_mancanti", cambia(linea_base, 9, {"[cartelli]", "cartello indicatore,  2300"}), treno_base,
             nella_linea + "10:27: attenzione: la riga di \"cartello indicatore\" finisce prima",
             codice_avviso::valori_mancanti},
        caso{"numero_arrotondato", linea_base, cambia(treno_base, 5, {"aderenza,   0,    100", "aderenza,   2500,    8.5"}),
             nel_treno + "6:22: attenzione: il numero \"8.5\"", codice_avviso::numero_arrotondato},
        caso{"oltre_fine_percorso", linea_base,
             cambia(treno_base, 8, {"stazione,    5500, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,35, 0, ULTIMA"}),
             nel_treno + "8:14: attenzione: stazione a 5500 m, oltre la fine del percorso a 4000 m",
             codice_avviso::oltre_fine_percorso},
        caso{"area_oltre_fine", linea_base,
             cambia(treno_base, 8,
                    {"stazione,    3800, 12,  600,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,35, 0, MEDIA",
                     "stazione,    5000, 12,  400,  0, 0, 0,  1,1,0,  2,1,1,  0,   13,40, 0, OLTRE"}),
             nel_treno + "8:14: attenzione: l'area della stazione \"MEDIA\" (da 3500 a 4100 m)",
             codice_avviso::area_oltre_fine},
        caso{"treno_senza_generale", linea_base, cambia(treno_base, 1, {"[genrale]"}),
             nel_treno + " attenzione: il sorgente del treno non ha la riga \"[generale]\"",
             codice_avviso::treno_senza_generale}),
    [](const testing::TestParamInfo<caso>& i) { return std::string(i.param.nome); });

std::string leggi(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What an author copies from must itself be clean.
TEST(avvisi_delle_cartelle, ogni_cartella_di_scenari_si_costruisce_senza_avvisi) {
  int cartelle = 0;
  for (const auto& voce : std::filesystem::directory_iterator(SCENARI_DIR)) {
    if (!voce.is_directory()) continue;
    ++cartelle;
    SCOPED_TRACE(voce.path().filename().string());
    auto nome = [&](const char* file) {
      std::string t = converti_testo_autore(leggi(voce.path() / file), codifica_testo::automatica).testo;
      while (!t.empty() && (t.back() == '\n' || t.back() == '\r')) t.pop_back();
      return da_cp1252_a_utf8(t);
    };
    sistema_finto sistema;
    sistema.file["linea.txt"] = leggi(voce.path() / "linea.txt");
    sistema.file["treno.txt"] = leggi(voce.path() / "treno.txt");
    richiesta_build q;
    q.nome = nome("nome_scenario.txt");
    q.numero = nome("numero_treno.txt");
    q.linea = "linea.txt";
    q.treno = "treno.txt";
    q.cartella_destinazione = "out";
    q.avvisi_come_errori = true;
    const rapporto_build r = costruisci(sistema, q);
    EXPECT_EQ(r.stato, uscita_riuscita);
    for (const diagnostica& a : r.esito.diagnostiche) ADD_FAILURE() << riga_gnu(a, r.sorgenti.di(a.dove));
  }
  EXPECT_GE(cartelle, 2);
}

TEST(avvisi_autore, la_riga_e_l_oggetto_json) {
  const nomi_sorgenti nomi{"l.txt", "src/t.txt"};
  diagnostica a = avviso(sorgente_build::treno, 12, 7, codice_avviso::numero_arrotondato, "testo");
  EXPECT_EQ(riga_gnu(a, nomi.di(a.dove)), "src/t.txt:12:7: attenzione: testo [numero_arrotondato]");
  EXPECT_EQ(json_avviso(a, nomi.di(a.dove)),
            nlohmann::json::parse(R"({"source": "src/t.txt", "line": 12, "column": 7, "code": "numero_arrotondato",
                                      "text": "testo"})"));
  // What is not known is left out of the line and null in the object.
  a = avviso(sorgente_build::linea, 3, 0, codice_avviso::chiave_sconosciuta, "t");
  EXPECT_EQ(riga_gnu(a, nomi.di(a.dove)), "l.txt:3: attenzione: t [chiave_sconosciuta]");
  EXPECT_EQ(json_avviso(a, nomi.di(a.dove))["column"], nullptr);
  EXPECT_EQ(json_diagnostica(a, nomi)["column"], nullptr);
  a = avviso(sorgente_build::treno, 0, 0, codice_avviso::treno_senza_generale, "t");
  EXPECT_EQ(riga_gnu(a, nomi.di(a.dove)), "src/t.txt: attenzione: t [treno_senza_generale]");
  EXPECT_EQ(json_avviso(a, nomi.di(a.dove))["line"], nullptr);
  // Every code has its own name.
  std::set<std::string_view> nomi_codici;
  for (codice_avviso c : codici_avviso) nomi_codici.insert(nome_avviso(c));
  EXPECT_EQ(nomi_codici.size(), std::size(codici_avviso));
  EXPECT_FALSE(nomi_codici.contains("?"));
}

}  // namespace
