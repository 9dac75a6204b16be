// docs/sorgenti.md, the source texts' reference for authors, kept true: every
// key the reader recognises is in it, every error the tool reports is there
// with its message, every warning with its text, and its complete example, taken out of the document,
// builds with no error into the files it lists, which `scenario inspect`
// shows as the document does.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "disegno/tests/supporto.h"
#include "diagnosi/riga_gnu.h"
#include "diagnosi/errori_build.h"
#include "ispeziona/stessa_costruzione.h"
#include "parti_marcate.h"
#include "model/testo_autore.h"
#include "reader/avvisi.h"
#include "reader/chiavi_note.h"
#include "sources/cartella_scenario.h"
#include "support/cartella_temporanea.h"

namespace fs = std::filesystem;

namespace {

using documento::righe;

const std::string& riferimento() {
  static const std::string d = supporto::leggi(SORGENTI_MD);
  return d;
}

// --- the keys -------------------------------------------------------------------

// The words of each key test of the reader: the literals of the
// contiene(...) calls that stand on one line of its sources, which together
// make one key ("progressiva" and "tre").
std::set<std::set<std::string>> chiavi_del_lettore() {
  static const std::regex chiamata(R"re(contiene(?:_minuscolo)?\([^,()]+,\s*"([^"]*)"\))re");
  std::set<std::set<std::string>> chiavi;
  for (const auto& voce : fs::directory_iterator(CARTELLA_LETTORE)) {
    if (voce.path().extension() != ".cc") continue;
    for (const std::string& riga : righe(supporto::leggi(voce.path()))) {
      std::set<std::string> parole;
      for (std::sregex_iterator m(riga.begin(), riga.end(), chiamata), fine; m != fine; ++m) parole.insert((*m)[1]);
      if (!parole.empty()) chiavi.insert(parole);
    }
  }
  return chiavi;
}

TEST(sorgenti_md, ogni_chiave_del_lettore_ha_le_sue_parole_su_una_riga_del_riferimento) {
  const auto chiavi = chiavi_del_lettore();
  // The reading of the reader's sources found its keys at all.
  ASSERT_TRUE(chiavi.contains({"lunghezza", "percorso"}));
  ASSERT_TRUE(chiavi.contains({"indicat", "cartello"}));

  const std::vector<std::string> documento_righe = righe(riferimento());
  for (const auto& parole : chiavi) {
    const bool c_e = std::any_of(documento_righe.begin(), documento_righe.end(), [&](const std::string& riga) {
      return std::all_of(parole.begin(), parole.end(),
                         [&](const std::string& p) { return riga.find("`" + p + "`") != std::string::npos; });
    });
    std::string elenco;
    for (const std::string& p : parole) elenco += " `" + p + "`";
    EXPECT_TRUE(c_e) << "nessuna riga del riferimento nomina la chiave" << elenco;
  }
}

// --- the errors -----------------------------------------------------------------

TEST(sorgenti_md, ogni_errore_della_costruzione_e_nel_riferimento_con_il_suo_messaggio) {
  for (const descrizione_errore& e : errori_build()) {
    // The message as the tool prints it after its prefix, with P for the position.
    const std::string messaggio = "Errore n. " + std::to_string(e.codice) + (e.ha_posizione ? " a P m: " : ": ") +
                                  std::string(e.significato);
    EXPECT_NE(riferimento().find(messaggio), std::string::npos) << "manca: " << messaggio;
  }
}

// --- the warnings -----------------------------------------------------------------

// The grid of a 4000 m build beside the header of a 5000 m one.
std::string esempio_costruzioni_diverse() {
  tabella_testata testata;
  testata[voce_treno_e_percorso].secondo = 5000;
  return controlla_misure({"Montelago_4021.sim", "Montelago_4021.dat", "Montelago_linea.dat"}, testata,
                          std::vector<cella>(221), std::nullopt)
      .at(0)
      .testo;
}

TEST(sorgenti_md, ogni_avviso_e_nel_riferimento_con_il_suo_testo) {
  // The example text of each code, as the build makes it for the example's
  // fields; each stands in the code's row.
  const std::map<codice_avviso, std::string> esempi = {
      {codice_avviso::chiave_sconosciuta,
       testo_chiave_sconosciuta("pendnza", suggerimento_chiave("pendnza", parte_testo::profilo_linea))},
      {codice_avviso::sezione_sconosciuta,
       testo_sezione_sconosciuta("[segnal]", sorgente_build::treno,
                                 suggerimento_sezione("[segnal]", sorgente_build::treno))},
      {codice_avviso::valori_in_piu, testo_valori_in_piu("000", "lunghezza percorso")},
      {codice_avviso::valori_mancanti, testo_valori_mancanti("cartello indicatore", 22)},
      {codice_avviso::numero_arrotondato, testo_numero_arrotondato("8.5", 8)},
      {codice_avviso::oltre_fine_percorso, testo_oltre_fine("segnale", 5400, 5000)},
      {codice_avviso::area_oltre_fine, testo_area_oltre_fine("LAGO VERDE", 4700, 5300, 5000)},
      {codice_avviso::treno_senza_generale, testo_treno_senza_generale()},
      {codice_avviso::separatore_migliaia, testo_separatore_migliaia("3.000", 3)},
      {codice_avviso::fuori_ordine, testo_fuori_ordine("velocità", 2000, 4800)},
      {codice_avviso::codifica_mista, testo_codifica_mista(0xF9)},
      {codice_avviso::elemento_coperto,
       testo_elemento_coperto("FONTE ROSSA", "del cartello \"Galleria Monte Aspro\"", 2900)},
      {codice_avviso::valore_negativo,
       testo_valore_negativo("del rallentamento", -300, "la sua fine cade prima dell'inizio, a 18200 m")},
      {codice_avviso::fine_prima_inizio, testo_fine_prima_inizio(21000, 17000)},
      {codice_avviso::commento_letto,
       testo_commento_letto("; nota: il segnale di protezione", chiavi_lette("; il segnale", parte_testo::treno, true))},
      {codice_avviso::indicatore_illeggibile, testo_indicatore_illeggibile('a', 1, 62, 160)},
      {codice_avviso::nome_con_spazi, testo_nome_con_spazi("il nome dello scenario", "Valmora ")},
  };
  for (codice_avviso c : codici_avviso) {
    if (proprieta(c).livello != gravita::avviso) continue;
    ASSERT_TRUE(esempi.contains(c)) << nome_avviso(c);
    const std::string riga = "| `" + std::string(nome_avviso(c)) + "` | `" + esempi.at(c) + "` |";
    const size_t dove = riferimento().find(riga);
    ASSERT_NE(dove, std::string::npos) << "manca: " << riga;
    // Its last column says whether something written is lost, as the code's
    // property has it (pack refuses those).
    const std::string fine_riga = riferimento().substr(dove, riferimento().find('\n', dove) - dove);
    EXPECT_TRUE(fine_riga.ends_with(proprieta(c).perde_contenuto ? "| sì |" : "| no |")) << fine_riga;
  }
  // The codes that are not warnings have their rows too.
  for (codice_avviso c : codici_avviso) {
    if (proprieta(c).livello == gravita::avviso) continue;
    EXPECT_NE(riferimento().find("| `" + std::string(nome_avviso(c)) + "` | `"), std::string::npos) << nome_avviso(c);
  }
  // The other forms the table quotes, and the line of the example.
  for (const std::string& t : {suggerimento_chiave("Sfondo uno", parte_testo::generale_linea),
                               suggerimento_chiave("pendenza", parte_testo::generale_linea),
                               suggerimento_chiave("segnale", parte_testo::profilo_linea),
                               testo_valori_mancanti("[montagna]", 19),
                               testo_numero_spezzato("3 700", "60", "segnale"),
                               testo_numero_con_virgola("30,5", "0", "rallentamento")})
    EXPECT_NE(riferimento().find("`" + t + "`"), std::string::npos) << "manca: " << t;
  const diagnostica a =
      avviso(sorgente_build::linea, 15, 1, codice_avviso::chiave_sconosciuta, esempi.at(codice_avviso::chiave_sconosciuta));
  const std::string riga = riga_gnu(a, "Montelago_linea.txt");
  EXPECT_NE(riferimento().find("    " + riga + "\n"), std::string::npos) << "manca: " << riga;
}

// The check of binary files handed in: its code and the words draw says.
TEST(sorgenti_md, l_errore_dei_file_binari_e_nel_riferimento) {
  const std::string esempio = "`" + esempio_costruzioni_diverse() + "`";
  EXPECT_NE(riferimento().find(esempio), std::string::npos) << "manca: " << esempio;
  EXPECT_NE(riferimento().find("`" + std::string(nome_avviso(codice_avviso::costruzioni_diverse)) + "`"),
            std::string::npos);
}

// --- the example ----------------------------------------------------------------

std::string senza_apici(const std::string& s) {
  return s.size() >= 2 && s.front() == '`' && s.back() == '`' ? s.substr(1, s.size() - 2) : s;
}

std::vector<std::string> parole(const std::string& s) {
  std::vector<std::string> v;
  std::istringstream in(s);
  for (std::string p; in >> p;) v.push_back(p);
  return v;
}

// The example's two source texts, out of the document into a fresh folder,
// each line ending in CR LF.
class sorgenti_md_esempio : public testing::Test {
 protected:
  void SetUp() override {
    for (const auto& [nome, blocchi] : esempi.blocchi) {
      if (!nome.ends_with(".txt")) continue;
      std::string contenuto;
      for (const std::string& riga : blocchi.front()) contenuto += riga + "\r\n";
      supporto::scrivi(cartella / nome, contenuto);
      sorgenti.insert(nome);
    }
  }

  const documento::parti_marcate esempi = documento::parti(riferimento(), "esempio");
  cartella_temporanea cartella;
  std::set<std::string> sorgenti;
};

TEST_F(sorgenti_md_esempio, si_costruisce_senza_errori_nei_file_che_il_riferimento_elenca) {
  ASSERT_EQ(sorgenti.size(), 2u) << "il riferimento deve dare i due sorgenti dell'esempio";
  ASSERT_TRUE(esempi.blocchi.contains("comando"));
  const std::vector<std::string>& comando = esempi.blocchi.at("comando").front();
  ASSERT_GE(comando.size(), 3u);
  ASSERT_TRUE(comando[0].starts_with("$ scenario build "));
  ASSERT_EQ(comando[1], "$ echo $?");

  esito_processo e =
      supporto::strumento(parole(comando[0].substr(std::string("$ scenario ").size())), cartella.percorso());
  EXPECT_EQ(std::to_string(e.stato), comando[2]);
  // Nothing but the line that says what was written.
  EXPECT_TRUE(e.errori.starts_with("scenario build: \"Montelago\" 4021, 3 file binari scritti in \".\"; nessun "
                                   "avviso; "))
      << e.errori;
  EXPECT_EQ(std::count(e.errori.begin(), e.errori.end(), '\n'), 1) << e.errori;

  ASSERT_TRUE(esempi.tabelle.contains("file"));
  std::map<std::string, std::string> attesi;
  for (const auto& riga : esempi.tabelle.at("file")) {
    ASSERT_EQ(riga.size(), 2u);
    attesi[senza_apici(riga[0])] = riga[1];
  }
  std::map<std::string, std::string> scritti;
  for (const auto& voce : fs::directory_iterator(cartella.percorso())) {
    const std::string nome = voce.path().filename().string();
    if (!sorgenti.contains(nome)) scritti[nome] = std::to_string(voce.file_size());
  }
  EXPECT_EQ(scritti, attesi);

  // What inspect shows of the files, as the document shows it.
  size_t ispezioni = 0;
  for (const auto& [cosa, blocchi] : esempi.blocchi) {
    if (!cosa.starts_with("scenario inspect ")) continue;
    const std::vector<std::string>& testo = blocchi.front();
    ++ispezioni;
    esito_processo i =
        supporto::strumento(parole(cosa.substr(std::string("scenario ").size())), cartella.percorso());
    std::string atteso;
    for (const std::string& riga : testo) atteso += riga + "\n";
    EXPECT_EQ(i.stato, 0) << cosa << ": " << i.errori;
    EXPECT_EQ(i.stampa, atteso) << cosa;
  }
  EXPECT_GT(ispezioni, 0u) << "il riferimento non mostra nessun file costruito";
}

TEST_F(sorgenti_md_esempio, il_commento_riga_per_riga_cita_ogni_riga_dei_sorgenti) {
  const documento::parti_marcate commenti = documento::parti(riferimento(), "commento");
  ASSERT_EQ(commenti.tabelle.size(), sorgenti.size());
  for (const auto& [nome, tabella] : commenti.tabelle) {
    ASSERT_TRUE(esempi.blocchi.contains(nome)) << "commento di un sorgente che non c'è: " << nome;
    const std::vector<std::string>& sorgente = esempi.blocchi.at(nome).front();
    std::vector<size_t> numeri;
    for (const auto& riga : tabella) {
      ASSERT_GE(riga.size(), 3u) << nome;
      const size_t n = std::stoul(riga[0]);
      ASSERT_GE(n, 1u) << nome;
      ASSERT_LE(n, sorgente.size()) << nome;
      numeri.push_back(n);
      EXPECT_EQ(senza_apici(riga[1]), sorgente[n - 1]) << nome << ", riga " << n;
    }
    // Every line, in order, once.
    std::vector<size_t> tutte(sorgente.size());
    for (size_t i = 0; i < tutte.size(); ++i) tutte[i] = i + 1;
    EXPECT_EQ(numeri, tutte) << nome;
  }
}

}  // namespace
