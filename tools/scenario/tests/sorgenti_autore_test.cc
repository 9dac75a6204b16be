// `scenario build` over sources as authors write them: the twin folders of
// tests/incorporazione (the same scenario in Windows-1252 and in UTF-8, with
// and without the byte-order mark) give the same files; a character that
// Windows-1252 cannot hold is refused at its line and column with nothing
// written; every build error names the line and column of its field.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "ispeziona/decodifica.h"
#include "processo_strumento.h"
#include "support/cartella_temporanea.h"

namespace fs = std::filesystem;
using json = nlohmann::json;
using namespace processo_strumento;

namespace {

const fs::path gemello_1252 = fs::path(GEMELLI_DIR) / "valdigrano_1252";
const fs::path gemello_utf8 = fs::path(GEMELLI_DIR) / "valdigrano_utf8";
const std::string nome = "Valdigrano_Pieve Alta";
const std::string numero = "20417";
const std::string bom = "\xEF\xBB\xBF";

std::string senza_bom(std::string t) { return t.starts_with(bom) ? t.substr(bom.size()) : t; }

// `testo` with its only occurrence of `prima` replaced by `dopo`.
std::string sostituisci(std::string testo, const std::string& prima, const std::string& dopo) {
  const size_t p = testo.find(prima);
  EXPECT_NE(p, std::string::npos) << prima;
  EXPECT_EQ(testo.find(prima, p + 1), std::string::npos) << prima;
  if (p != std::string::npos) testo.replace(p, prima.size(), dopo);
  return testo;
}

// The 1-based line of the first line of `testo` that holds `parte`.
int riga_di(const std::string& testo, const std::string& parte) {
  const size_t p = testo.find(parte);
  EXPECT_NE(p, std::string::npos) << parte;
  return 1 + static_cast<int>(std::count(testo.begin(), testo.begin() + static_cast<std::ptrdiff_t>(p), '\n'));
}

class sorgenti_autore : public testing::Test {
 protected:
  // Writes the two sources into `sorgenti/` and builds them into `uscita`.
  esito_processo costruisci(const std::string& linea, const std::string& treno, std::vector<std::string> altro = {},
                           const std::string& uscita = "uscita") {
    fs::create_directories(dir / "sorgenti");
    scrivi(dir / "sorgenti" / "linea.txt", linea);
    scrivi(dir / "sorgenti" / "treno.txt", treno);
    std::vector<std::string> a = {"build", "--name", nome, "--number", numero, "--line", "sorgenti/linea.txt",
                                  "--train", "sorgenti/treno.txt", "--out", uscita};
    a.insert(a.end(), altro.begin(), altro.end());
    return esegui(dir.percorso(), a);
  }

  cartella_temporanea dir;
  const std::string linea_1252 = leggi(gemello_1252 / "linea.txt");
  const std::string treno_1252 = leggi(gemello_1252 / "treno.txt");
  const std::string linea_utf8 = leggi(gemello_utf8 / "linea.txt");  // with the mark
  const std::string treno_utf8 = leggi(gemello_utf8 / "treno.txt");  // without it
};

TEST_F(sorgenti_autore, i_gemelli_in_windows_1252_e_in_utf8_danno_gli_stessi_file) {
  ASSERT_TRUE(linea_utf8.starts_with(bom));
  ASSERT_FALSE(treno_utf8.starts_with(bom));
  struct caso {
    const char* nome;
    std::string linea, treno;
    std::vector<std::string> altro;
    const char* codifica_linea;
    const char* codifica_treno;
  };
  const caso casi[] = {
      {"windows-1252", linea_1252, treno_1252, {}, "windows-1252", "windows-1252"},
      {"utf-8, la linea con il segno", linea_utf8, treno_utf8, {}, "utf-8", "utf-8"},
      {"utf-8, il treno con il segno", senza_bom(linea_utf8), bom + treno_utf8, {}, "utf-8", "utf-8"},
      {"utf-8 detto", senza_bom(linea_utf8), treno_utf8, {"--encoding", "utf-8"}, "utf-8", "utf-8"},
      {"windows-1252 detto", linea_1252, treno_1252, {"--encoding", "windows-1252"}, "windows-1252", "windows-1252"},
  };
  std::vector<std::string> attesi;
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    std::vector<std::string> altro = c.altro;
    altro.push_back("--json");
    altro.push_back("--quiet");
    esito_processo e = costruisci(c.linea, c.treno, altro, c.nome);
    ASSERT_EQ(e.stato, 0) << e.errori;
    EXPECT_EQ(e.errori, "");
    EXPECT_EQ(json::parse(e.stampa)["encodings"], json({{"line", c.codifica_linea}, {"train", c.codifica_treno}}));
    std::vector<std::string> file;
    for (const std::string& f : {nome + "_linea.dat", nome + "_" + numero + ".sim", nome + "_" + numero + ".dat"})
      file.push_back(leggi(dir / c.nome / f));
    if (attesi.empty()) {
      attesi = file;
      // The accented names are there as Windows-1252 bytes.
      tabella_testata t = decodifica_testata(file[1]);
      EXPECT_EQ(t[2].nome, "CITT\xC0 NUOVA");
      EXPECT_EQ(t[79].nome, "Ponte sull\x92\xC0" "dige");
    }
    EXPECT_TRUE(file == attesi);
  }

  // A UTF-8 text read as Windows-1252 is what the author asked for: each
  // accented letter becomes two characters, and the files differ.
  esito_processo e = costruisci(linea_utf8, treno_utf8, {"--encoding", "windows-1252"}, "come_chiesto");
  ASSERT_EQ(e.stato, 0) << e.errori;
  tabella_testata t = decodifica_testata(leggi(dir / "come_chiesto" / (nome + "_" + numero + ".sim")));
  EXPECT_EQ(t[2].nome, "CITT\xC3\x80 NUOVA");
}

// A Windows-1252 source with a line added in UTF-8: read as Windows-1252, as
// the rule says, and a warning at the first UTF-8 letter; --werror stops it.
TEST_F(sorgenti_autore, un_sorgente_che_mescola_le_codifiche_e_un_avviso) {
  const std::string riga_1252 = "stazione,    2800, 12,  300,  0, 0, 1,  1,1,0,  2,1,1,    0,   7,19,30, CITT\xC0 NUOVA";
  const std::string riga_mista = "stazione,    2800, 12,  300,  0, 0, 1,  1,1,0,  2,1,1,    0,   7,19,30, CITT\xC0 "
                                 "NUOVA \xE2\x80\x93 PI\xC3\x99 SU";  // "– PIÙ SU" in UTF-8
  const std::string mescolato = sostituisci(treno_1252, riga_1252, riga_mista);
  const int riga = riga_di(mescolato, riga_mista);
  const std::string colonna = std::to_string(riga_mista.find("\xE2\x80\x93") + 1);
  esito_processo e = costruisci(linea_1252, mescolato, {"--json"});
  ASSERT_EQ(e.stato, 0) << e.errori;
  EXPECT_TRUE(e.errori.starts_with("sorgenti/treno.txt:" + std::to_string(riga) + ":" + colonna +
                                   ": attenzione: il testo non è tutto UTF-8"))
      << e.errori;
  EXPECT_NE(e.errori.find("(\"\xE2\x80\x93\", che così diventa \"\xC3\xA2\xE2\x82\xAC\xE2\x80\x9C\")"),
            std::string::npos)
      << e.errori;
  EXPECT_NE(e.errori.find("[codifica_mista]"), std::string::npos) << e.errori;
  const json j = json::parse(e.stampa);
  EXPECT_EQ(j["encodings"]["train"], "windows-1252");
  ASSERT_EQ(j["warnings"].size(), 1u) << j["warnings"];
  EXPECT_EQ(j["warnings"][0]["code"], "codifica_mista");
  EXPECT_EQ(j["warnings"][0]["line"], riga);

  esito_processo w = costruisci(linea_1252, mescolato, {"--werror"}, "werror");
  EXPECT_EQ(w.stato, 1) << w.errori;
}

TEST_F(sorgenti_autore, un_carattere_fuori_da_windows_1252_non_scrive_nulla) {
  // "NUOVA" starts at column 79 of its line, after "CITTÀ ", whose "À" is
  // one column.
  const int riga_stazione = riga_di(treno_utf8, "CITT\xC3\x80 NUOVA");
  const std::string dove_stazione = "sorgenti/treno.txt:" + std::to_string(riga_stazione) + ":79: ";
  struct caso {
    const char* nome;
    std::string linea, treno;
    std::vector<std::string> altro;
    std::string messaggio;
  };
  const caso casi[] = {
      {"freccia", linea_utf8, sostituisci(treno_utf8, "NUOVA", "\xE2\x86\x92 NUOVA"), {},
       dove_stazione + "il carattere U+2192 \"\xE2\x86\x92\" non esiste in Windows-1252"},
      {"o con doppio acuto", linea_utf8, sostituisci(treno_utf8, "NUOVA", "\xC5\x90RS\xC3\x89G"), {},
       dove_stazione + "il carattere U+0150 \"\xC5\x90\" non esiste in Windows-1252"},
      {"emoji", linea_utf8, sostituisci(treno_utf8, "NUOVA", "\xF0\x9F\x9A\x82"), {},
       dove_stazione + "il carattere U+1F682 \"\xF0\x9F\x9A\x82\" non esiste in Windows-1252"},
      {"cjk", linea_utf8, sostituisci(treno_utf8, "NUOVA", "\xE9\xA7\x85"), {},
       dove_stazione + "il carattere U+99C5 \"\xE9\xA7\x85\" non esiste in Windows-1252"},
      // The mark that opens the line source is no column.
      {"dopo il segno", sostituisci(linea_utf8, "[generale]", "[generale\xE2\x86\x92]"), treno_utf8, {},
       "sorgenti/linea.txt:1:10: il carattere U+2192"},
      {"windows-1252 detto utf-8", linea_1252, treno_1252, {"--encoding", "utf-8"},
       "sorgenti/linea.txt:" + std::to_string(riga_di(linea_1252, "Ponte sull")) +
           ":39: il byte 0x92 non \xC3\xA8 UTF-8 valido"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    fs::remove_all(dir / "sorgenti");
    std::vector<std::string> altro = c.altro;
    altro.push_back("--json");
    esito_processo e = costruisci(c.linea, c.treno, altro);
    EXPECT_EQ(e.stato, 2);
    EXPECT_EQ(e.stampa, "");
    EXPECT_EQ(e.errori.rfind(c.messaggio, 0), 0u) << e.errori;
    EXPECT_FALSE(fs::exists(dir / "uscita"));
  }
}

// Each case changes one line of the UTF-8 twin; the error is reported at the
// field it is about, in characters as written.
TEST_F(sorgenti_autore, ogni_errore_punta_al_suo_campo) {
  struct caso {
    const char* nome;
    bool nel_treno;
    std::string prima, dopo;  // the line as in the twin, and as changed
    int codice;
    int colonna;
  };
  const caso casi[] = {
      // The token that is not a number.
      {"un numero sbagliato", true, "velocita,   3000,    90", "velocita,   3000,    9O", 25, 22},
      // The position field.
      {"una posizione oltre la griglia", true, "segnale,    5900", "segnale,   59000", 15, 12},
      // The key: no curvature digit from 1 to 6.
      {"una chiave di curva sbagliata", false, "curvad6,  4200,  100", "curvad7,  4200,  100", 103, 1},
      {"una stazione oltre la griglia", true, "stazione,    6000, 12", "stazione,   16000, 12", 15, 13},
      // "à" is one column: the token is at 22 as in the plain line above.
      {"accenti prima del campo", true, "velocita,   3000,    90", "velocit\xC3\xA0,   3000,    9O", 25, 22},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    const std::string linea = c.nel_treno ? linea_utf8 : sostituisci(linea_utf8, c.prima, c.dopo);
    const std::string treno = c.nel_treno ? sostituisci(treno_utf8, c.prima, c.dopo) : treno_utf8;
    const int riga = riga_di(c.nel_treno ? treno : linea, c.dopo);
    const std::string file = c.nel_treno ? "sorgenti/treno.txt" : "sorgenti/linea.txt";
    const std::string dove = file + ":" + std::to_string(riga) + ":" + std::to_string(c.colonna) + ": ";

    esito_processo e = costruisci(linea, treno, {"--json"});
    EXPECT_EQ(e.stato, 1);
    EXPECT_EQ(e.errori.rfind(dove + "Errore n. " + std::to_string(c.codice), 0), 0u) << e.errori;
    json j = json::parse(e.stampa);
    EXPECT_EQ(j["codice_errore"], c.codice);
    EXPECT_EQ(j["source"], file);
    EXPECT_EQ(j["source_line"], riga);
    EXPECT_EQ(j["source_column"], c.colonna);
  }
}

TEST_F(sorgenti_autore, la_riga_sotto_l_errore_su_richiesta) {
  const std::string treno = sostituisci(treno_utf8, "velocita,   3000,    90", "velocit\xC3\xA0,   3000,    9O");
  const std::string estratto = "velocit\xC3\xA0,   3000,    9O\n" + std::string(21, ' ') + "^\n";

  esito_processo mostrata = costruisci(linea_utf8, treno, {"--show-line"});
  EXPECT_EQ(mostrata.stato, 1);
  const size_t fine_prima = mostrata.errori.find('\n');
  ASSERT_NE(fine_prima, std::string::npos);
  EXPECT_EQ(mostrata.errori.substr(fine_prima + 1, estratto.size()), estratto) << mostrata.errori;

  // Standard error is no terminal here: without the option, or with --json,
  // the message alone.
  for (const std::vector<std::string>& altro :
       {std::vector<std::string>{}, std::vector<std::string>{"--show-line", "--json"}}) {
    esito_processo e = costruisci(linea_utf8, treno, altro);
    EXPECT_EQ(e.stato, 1);
    EXPECT_FALSE(contiene(e.errori, estratto)) << e.errori;
  }

  // A refused character is shown the same way, in the text as written.
  esito_processo rifiuto =
      costruisci(linea_utf8, sostituisci(treno_utf8, "NUOVA", "\xE2\x86\x92 NUOVA"), {"--show-line"});
  EXPECT_EQ(rifiuto.stato, 2);
  EXPECT_TRUE(contiene(rifiuto.errori, "CITT\xC3\x80 \xE2\x86\x92 NUOVA\n" + std::string(78, ' ') + "^\n"))
      << rifiuto.errori;
}

}  // namespace
