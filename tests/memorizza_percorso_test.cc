// The build proper on an in-memory folder: which binary files it writes and in
// which order, what it leaves alone, and how a build error ends the run.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "driver/form1.h"
#include "model/file_binari.h"
#include "support/file_system_fake.h"
#include "support/righe.h"

namespace {

// The fake folder, with the messages logged among the file operations so the
// test sees what came first.
class sistema_con_messaggi : public sistema_finto {
 public:
  void messaggio(const std::string& testo) override {
    registro.push_back("messaggio " + testo);
    sistema_finto::messaggio(testo);
  }
};


const std::string linea_semplice = testo({"[generale]", "lunghezza percorso,    4000", "[pendenze]",
                                          "pendenza,   0,    0", "[fine]"});
const std::string treno_semplice = testo({"[generale]", "[segnali]", "[fine]"});

constexpr const char* linea_txt = "Prova_linea.txt";
constexpr const char* treno_txt = "Prova_1-.txt";
constexpr const char* linea_dat = "Prova_linea.dat";
constexpr const char* sim = "Prova_1.sim";
constexpr const char* dat = "Prova_1.dat";

class memorizza_percorso : public testing::Test {
 protected:
  void SetUp() override {
    f.nome_scenario = "Prova";
    f.numero_treno = "1";
  }
  void sorgenti(const std::string& linea, const std::string& treno) {
    sistema.file[linea_txt] = linea;
    sistema.file[treno_txt] = treno;
  }
  void file_vecchi() {
    for (const char* nome : {linea_dat, sim, dat}) sistema.file[nome] = "vecchio";
  }
  // Runs the build and reports it as the package program does; the exit
  // status when that ended the program, -1 when it returned.
  int costruisci(int32_t j = 1) {
    try {
      f.riporta_build(f.memorizza_percorso(j));
    } catch (const fine_programma& fine) {
      return fine.stato;
    }
    return -1;
  }
  // The files put in place and the messages shown, in order.
  std::vector<std::string> eventi() const {
    std::vector<std::string> v;
    for (const std::string& r : sistema.registro) {
      if (r.rfind("rinomina ", 0) == 0) v.push_back(r.substr(r.rfind(' ') + 1));
      if (r.rfind("messaggio ", 0) == 0) v.push_back(r);
    }
    return v;
  }
  // Whether any file operation named the file.
  bool toccato(const std::string& nome) const {
    for (const std::string& r : sistema.registro)
      if (r.find(nome) != std::string::npos) return true;
    return false;
  }

  sistema_con_messaggi sistema;
  Form1 f{sistema};
};

TEST_F(memorizza_percorso, scrive_i_tre_file_in_ordine) {
  sorgenti(linea_semplice, treno_semplice);
  EXPECT_EQ(costruisci(1), -1);

  EXPECT_EQ(eventi(), (std::vector<std::string>{linea_dat, sim, dat}));
  EXPECT_TRUE(sistema.messaggi.empty());
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(sistema.file.count(linea_txt), 0u);
  EXPECT_EQ(sistema.file.count(treno_txt), 0u);

  EXPECT_EQ(sistema.file[linea_dat].size(), 219964u);
  EXPECT_EQ(sistema.file[dat].size(), 3315u);
  EXPECT_EQ(sistema.file[sim].size(), 2958u + 5 + 1);

  // Stamps and codes are in the model, and the files hold it as it stands.
  EXPECT_EQ(f.testata[85].intero1, 610);
  EXPECT_EQ(f.testata[85].orario, f.codice_gara_st());
  EXPECT_EQ(f.percorso[1].dato1, 5121);
  EXPECT_EQ(f.percorso[1].dato2, f.codice_gara_og());
  EXPECT_EQ(sistema.file[dat], immagine_percorso(f.percorso));
  EXPECT_EQ(sistema.file[sim], immagine_testata(f.testata));
}

TEST_F(memorizza_percorso, senza_file_della_linea_con_j_zero) {
  sorgenti(linea_semplice, treno_semplice);
  sistema.file[linea_dat] = "vecchio";
  EXPECT_EQ(costruisci(0), -1);

  EXPECT_EQ(eventi(), (std::vector<std::string>{sim, dat}));
  EXPECT_EQ(f.crea_linea, 0);
  EXPECT_EQ(sistema.file[linea_dat], "vecchio");
  EXPECT_FALSE(toccato(linea_dat));
}

TEST_F(memorizza_percorso, la_testata_e_azzerata_prima_della_lettura) {
  sorgenti(linea_semplice, treno_semplice);
  // Left from an earlier build: the stamp places among them.
  for (voce& v : f.testata) {
    v.nome = "x";
    v.intero1 = 7;
    v.orario = 9;
  }
  EXPECT_EQ(costruisci(1), -1);
  EXPECT_TRUE(sistema.messaggi.empty());
  EXPECT_EQ(f.testata[0].nome, "");
  EXPECT_EQ(f.testata[40].intero1, 0);
  EXPECT_EQ(f.testata[85].nome, "Prova");
}

TEST_F(memorizza_percorso, timbri_gia_usati_non_scrivono_nulla) {
  struct caso {
    const char* descrizione;
    std::string treno;
    std::string messaggio;
  };
  const caso casi[] = {
      {"abbattimento nella cella 1", testo({"[generale]", "abbattimento,  50,  200", "[fine]"}), " Errore n. 1250"},
      // The pass puts a code point in cell 1: the signal in cell 3 finds cell
      // 2 taken by another signal, within 20 cells before the warning point.
      {"abbattimento della passata nella cella 1",
       testo({"[generale]", "segnale,  50, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0",
              "segnale,  100, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0", "rallentamento,  1650,  120,  500,  0,  0,  0", "[fine]"}),
       " Errore n. 1250"},
      // A signal at metre 0 with dato1 = 0 and dato2 = 10.
      {"dato2 della cella 1", testo({"[generale]", "segnale,  0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 0", "[fine]"}),
       " Errore n. 1251"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.descrizione);
    sistema = sistema_con_messaggi{};
    sorgenti(linea_semplice, c.treno);
    file_vecchi();
    EXPECT_EQ(costruisci(1), 1);
    EXPECT_EQ(sistema.messaggi, std::vector<std::string>{c.messaggio});
    for (const char* nome : {linea_dat, sim, dat}) {
      EXPECT_EQ(sistema.file[nome], "vecchio") << nome;
      EXPECT_FALSE(toccato(nome)) << nome;
    }
  }
}

TEST_F(memorizza_percorso, griglia_mai_dimensionata) {
  struct caso {
    const char* descrizione;
    bool con_linea;
    std::string linea;
    std::string messaggio;
  };
  const caso casi[] = {
      {"sorgente della linea assente", false, "", " Errore n. 101"},
      {"senza [generale]", true, testo({"lunghezza percorso,  4000", "[fine]"}), " Errore n. 102"},
      {"lunghezza oltre il limite", true, testo({"[generale]", "lunghezza percorso,  1000001", "[fine]"}),
       " Errore n. 1"},
      {"senza lunghezza", true, testo({"[generale]", "sfondo uno,  0", "[pendenze]", "pendenza,  0,  0", "[fine]"}),
       " Errore n. 25: profilo della linea senza la lunghezza del percorso"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.descrizione);
    sistema = sistema_con_messaggi{};
    sorgenti(c.linea, treno_semplice);
    if (!c.con_linea) sistema.file.erase(linea_txt);
    file_vecchi();
    f.posizione_errore = 777;
    EXPECT_EQ(costruisci(1), 1);
    EXPECT_EQ(sistema.messaggi, std::vector<std::string>{c.messaggio});
    EXPECT_FALSE(f.griglia_dimensionata());
    for (const char* nome : {linea_dat, sim, dat}) {
      EXPECT_EQ(sistema.file[nome], "vecchio") << nome;
      EXPECT_FALSE(toccato(nome)) << nome;
    }
  }
}

TEST_F(memorizza_percorso, errore_registrato_dopo_i_file) {
  struct caso {
    const char* descrizione;
    std::string linea, treno;
    std::string messaggio;
  };
  const caso casi[] = {
      // With N = 220, (10901 + 100) / 50 is past the grid.
      {"pendenza oltre la griglia",
       testo({"[generale]", "lunghezza percorso,    4000", "[pendenze]", "pendenza,   0,    0",
              "pendenza,   10901,    4", "[fine]"}),
       treno_semplice, " Errore n. 15 a 10901 m"},
      // No position goes with error 2: an old one is not shown.
      {"progressiva non multipla di 50",
       testo({"[generale]", "lunghezza percorso,    4000", "progressiva chilometrica uno,    0,    87775,    0",
              "[pendenze]", "pendenza,   0,    0", "[fine]"}),
       treno_semplice, " Errore n. 2"},
      // The pass finds the 5-7 group before the start in cell 30 full of
      // signals: error 12 at the slowdown's position as written.
      {"errore della passata", linea_semplice,
       testo({"[generale]", "segnale,  1100, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0",
              "segnale,  1150, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0", "segnale,  1200, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0",
              "rallentamento,  1450,  120,  500,  0,  0,  0", "[fine]"}),
       " Errore n. 12 a 1450 m"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.descrizione);
    sistema = sistema_con_messaggi{};
    sorgenti(c.linea, c.treno);
    f.posizione_errore = 777;
    EXPECT_EQ(costruisci(1), 1);
    EXPECT_EQ(eventi(), (std::vector<std::string>{linea_dat, sim, dat, "messaggio " + c.messaggio}));
    EXPECT_EQ(sistema.file[dat].size(), 3315u);
    EXPECT_EQ(sistema.file[dat], immagine_percorso(f.percorso));
  }
}

// --- the outcome, and builds one after another ------------------------------

TEST_F(memorizza_percorso, l_esito_dice_dove_e_perche) {
  // The outcome expected, and where its error's diagnostic is.
  struct previsto {
    esito_build esito;
    sorgente_build sorgente;
    int32_t riga;
  };
  struct caso {
    const char* descrizione;
    std::string linea, treno;
    previsto atteso;
  };
  auto esito = [](int32_t codice, std::optional<int32_t> posizione, sorgente_build sorgente, int32_t riga,
                  int32_t timbro = 0, bool griglia = true) {
    esito_build e;
    e.codice_errore = codice;
    e.posizione = posizione;
    e.timbro_fallito = timbro;
    e.griglia_dimensionata = griglia;
    return previsto{e, sorgente, riga};
  };
  const std::string segnali = "segnale,  1100, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0\r\n"
                              "segnale,  1150, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0\r\n"
                              "segnale,  1200, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0\r\n"
                              "rallentamento,  1450,  120,  500,  0,  0,  0\r\n";
  const caso casi[] = {
      {"pulita", linea_semplice, treno_semplice, esito(0, std::nullopt, sorgente_build::nessuna, 0)},
      {"sorgente della linea assente", "", treno_semplice,
       esito(101, std::nullopt, sorgente_build::linea, 0, 0, false)},
      {"oltre la griglia nel treno", linea_semplice,
       testo({"[generale]", "numero vetture, 4", "velocita, 20000, 50", "[fine]"}),
       esito(15, 20000, sorgente_build::treno, 3)},
      // Error 2 is the line source's, without a line.
      {"progressiva non multipla di 50",
       testo({"[generale]", "lunghezza percorso,    4000", "progressiva chilometrica uno,    0,    87775,    0",
              "[fine]"}),
       treno_semplice, esito(2, std::nullopt, sorgente_build::linea, 0)},
      // The pass's error replaces a 15 of the train source, and stands at
      // the slowdown's line and position as written.
      {"errore della passata dopo un 15", linea_semplice, "[generale]\r\n" + segnali + "velocita, 20000, 50\r\n",
       esito(12, 1450, sorgente_build::treno, 5)},
      {"timbro", linea_semplice, testo({"[generale]", "abbattimento,  50,  200", "[fine]"}),
       esito(0, std::nullopt, sorgente_build::nessuna, 0, 1250)},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.descrizione);
    sistema = sistema_con_messaggi{};
    sorgenti(c.linea, c.treno);
    if (c.linea.empty()) sistema.file.erase(linea_txt);
    int32_t j = 1;
    const esito_build e = f.memorizza_percorso(j);
    EXPECT_EQ(e.codice_errore, c.atteso.esito.codice_errore);
    EXPECT_EQ(e.posizione, c.atteso.esito.posizione);
    const diagnostica* d = e.errore();
    ASSERT_EQ(d != nullptr, e.codice_errore != 0);
    EXPECT_EQ(d ? d->dove.sorgente : sorgente_build::nessuna, c.atteso.sorgente);
    EXPECT_EQ(d ? d->dove.riga : 0, c.atteso.riga);
    // Only a 15 says more: the last position allowed.
    if (e.codice_errore == 15)
      EXPECT_TRUE(e.dettaglio.starts_with("qui la posizione più lontana ammessa è ")) << e.dettaglio;
    else
      EXPECT_EQ(e.dettaglio, "");
    EXPECT_EQ(e.timbro_fallito, c.atteso.esito.timbro_fallito);
    EXPECT_EQ(e.griglia_dimensionata, c.atteso.esito.griglia_dimensionata);
    EXPECT_EQ(e.file_scritti(), sistema.file.count(dat) == 1);
    // The build itself shows nothing.
    EXPECT_TRUE(sistema.messaggi.empty());
  }
}

TEST_F(memorizza_percorso, due_costruzioni_di_seguito_non_si_vedono) {
  // A read failure with its line and detail, then a clean build of the same
  // object: nothing of the first is left in the second's outcome or files.
  // A warning too, which the second must not carry either.
  sorgenti(testo({"[generale]", "lunghezza percorso,    4000", "[pendenze]", "pendnza,   0,    0", "[fine]"}),
           testo({"[generale]", "numero vetture, 4", "sabbia, 70000", "[fine]"}));
  int32_t j = 1;
  const esito_build prima = f.memorizza_percorso(j);
  ASSERT_EQ(prima.codice_errore, 25);
  ASSERT_NE(prima.errore(), nullptr);
  ASSERT_EQ(prima.errore()->dove.riga, 3);
  ASSERT_FALSE(prima.dettaglio.empty());
  ASSERT_EQ(prima.quanti_avvisi(), 1u);

  sistema_finto pulito;
  pulito.file[linea_txt] = linea_semplice;
  pulito.file[treno_txt] = treno_semplice;
  Form1 nuovo(pulito);
  nuovo.nome_scenario = "Prova";
  nuovo.numero_treno = "1";
  const esito_build atteso = nuovo.memorizza_percorso(j);
  ASSERT_TRUE(atteso.riuscito());

  sorgenti(linea_semplice, treno_semplice);
  const esito_build seconda = f.memorizza_percorso(j);
  EXPECT_TRUE(seconda.riuscito());
  EXPECT_EQ(seconda.codice_errore, 0);
  EXPECT_EQ(seconda.posizione, std::nullopt);
  EXPECT_EQ(seconda.errore(), nullptr);
  EXPECT_EQ(seconda.dettaglio, "");
  EXPECT_TRUE(seconda.diagnostiche.empty());
  EXPECT_EQ(f.posizione_errore, 0);
  EXPECT_EQ(f.dettaglio_errore, "");
  for (const char* nome : {linea_dat, sim, dat}) EXPECT_TRUE(sistema.file[nome] == pulito.file[nome]) << nome;
}

}  // namespace
