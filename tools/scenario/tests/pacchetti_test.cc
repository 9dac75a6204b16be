// `scenario pack`, `unpack` and `new` in one process over the in-memory
// platform, with small stand-ins for the stubs: what each writes and where,
// payloads replaced and never stacked, a build error that refuses the
// packing, a missing stub, folders that break a rule or already hold a
// scenario, and every file operation of a packing made to fail in turn.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "carico/carico.h"
#include "driver/stati_uscita.h"
#include "impacchetta.h"
#include "model/windows1252.h"
#include "nuovo.h"
#include "sources/cartella_scenario.h"
#include "spacchetta.h"
#include "support/file_system_fake.h"
#include "support/programma_finto.h"

namespace {

const std::string base_linux = "bin/stub/scenario-package-linux";
const std::string base_windows = "bin/stub/scenario-package-windows.exe";
const std::string programma_linux = "Valdigrano_Pieve Alta_20417";
const std::string programma_windows = "Valdigrano_Pieve Alta_20417.exe";

struct pacchetti : testing::Test {
  sistema_finto sistema;
  std::ostringstream errori;

  void SetUp() override {
    sistema.programma = "/programma/bin/scenario";
    sistema.cartelle = {"bin", "bin/stub", "mio"};
    sistema.file[base_linux] = programma_finto::elf();
    sistema.file[base_windows] = programma_finto::pe();
    const std::array<std::string, 7> file = file_cartella(scenario_iniziale());
    for (size_t i = 0; i < file.size(); ++i) sistema.file["mio/" + std::string(file_cartella_scenario[i])] = file[i];
  }

  int pack(richiesta_pack q = {}) {
    q.cartella = "mio";
    return comando_pack(sistema, q, errori);
  }
  // The files of the folder `cartella` ("" the program folder), by name.
  std::map<std::string, std::string> in(const std::string& cartella) const {
    std::map<std::string, std::string> f;
    const std::string prefisso = cartella.empty() ? "" : cartella + "/";
    for (const auto& [nome, contenuto] : sistema.file) {
      if (nome.starts_with(prefisso) && nome.find('/', prefisso.size()) == std::string::npos)
        f[nome.substr(prefisso.size())] = contenuto;
    }
    return f;
  }
  bool resta_lavoro() const {
    for (const std::string& c : sistema.cartelle)
      if (c.find(".scenario-") != std::string::npos) return true;
    return false;
  }
};

TEST_F(pacchetti, pack_scrive_i_due_programmi_nella_cartella_corrente) {
  EXPECT_EQ(pack(), uscita_riuscita) << errori.str();
  EXPECT_EQ(errori.str(), "");
  const std::string carico = carico_con_coda(scenario_iniziale());
  EXPECT_EQ(in(""), (std::map<std::string, std::string>{{programma_linux, programma_finto::elf() + carico},
                                                        {programma_windows, programma_finto::pe() + carico}}));
  // The Linux program may be run as it is.
  EXPECT_EQ(sistema.eseguibili, std::set<std::string>{programma_linux});
  EXPECT_FALSE(resta_lavoro());
  EXPECT_TRUE(sistema.fuori_cartella.empty());

  // One program, where asked for.
  sistema_finto solo = sistema;
  solo.file.erase(programma_linux);
  solo.file.erase(programma_windows);
  std::ostringstream e;
  richiesta_pack q;
  q.cartella = "mio";
  q.windows = "dist/v.exe";
  solo.cartelle.insert("dist");
  EXPECT_EQ(comando_pack(solo, q, e), uscita_riuscita) << e.str();
  EXPECT_EQ(solo.file.at("dist/v.exe"), programma_finto::pe() + carico);
  EXPECT_EQ(solo.file.count(programma_linux), 0u);
}

TEST_F(pacchetti, un_carico_sostituisce_quello_che_c_era_e_unpack_lo_riporta_indietro) {
  // A stub that already carries a payload: packed again, it carries only the new one.
  scenario altro = scenario_iniziale();
  altro.nome_scenario = "Altro";
  sistema.file[base_linux] += carico_con_coda(altro);
  richiesta_pack q;
  q.linux_ = "v";
  ASSERT_EQ(pack(q), uscita_riuscita) << errori.str();
  ASSERT_EQ(pack(q), uscita_riuscita) << errori.str();
  EXPECT_EQ(sistema.file.at("v"), programma_finto::elf() + carico_con_coda(scenario_iniziale()));

  ASSERT_EQ(comando_unpack(sistema, "v", "indietro", codifica_testo::windows1252, errori), uscita_riuscita)
      << errori.str();
  EXPECT_EQ(in("indietro"), in("mio"));
  EXPECT_EQ(in("indietro").size(), 7u);
}

TEST_F(pacchetti, un_errore_della_costruzione_ferma_pack_se_non_e_forzato) {
  // A signal beyond the line's end.
  std::string& treno = sistema.file["mio/treno.txt"];
  const size_t segnali = treno.find("[segnali]\r\n") + 11;
  treno.insert(segnali, "segnale,  99000, 2, 3, 1, 0, 0, 0, 0, 0, 0, 230\r\n");
  const int riga = 1 + static_cast<int>(std::count(treno.begin(), treno.begin() + static_cast<long>(segnali), '\n'));

  EXPECT_EQ(pack(), uscita_errore);
  const std::string treno_mostrato = (std::filesystem::path("mio") / "treno.txt").string();
  EXPECT_TRUE(errori.str().starts_with(treno_mostrato + ":" + std::to_string(riga) + ":11: Errore n. 15 a 99000 m: "))
      << errori.str();
  EXPECT_NE(errori.str().find("--force"), std::string::npos) << errori.str();
  EXPECT_TRUE(in("").empty());
  EXPECT_FALSE(resta_lavoro());

  richiesta_pack forzata;
  forzata.forza = true;
  errori.str("");
  EXPECT_EQ(pack(forzata), uscita_riuscita);
  EXPECT_NE(errori.str().find("impacchettato comunque"), std::string::npos) << errori.str();
  EXPECT_EQ(in("").size(), 2u);
}

TEST_F(pacchetti, pack_rifiuta_un_avviso_che_perde_qualcosa_di_scritto_e_lo_elenca) {
  // A misspelt key in the line source: dropped by the build, so the program
  // would not be the scenario written. Named at its place, listed, refused.
  std::string& linea = sistema.file["mio/linea.txt"];
  const size_t dopo_prima = linea.find("\r\n") + 2;
  linea.insert(dopo_prima, "pendnza, 0\r\n");

  EXPECT_EQ(pack(), uscita_errore) << errori.str();
  const std::string linea_mostrata = (std::filesystem::path("mio") / "linea.txt").string();
  EXPECT_TRUE(errori.str().starts_with(linea_mostrata + ":2:1: attenzione: ")) << errori.str();
  EXPECT_NE(errori.str().find("1 avviso dice che qualcosa di scritto va perso o cambia nei file:\n  " +
                              linea_mostrata + ":2:1: [chiave_sconosciuta]\n"),
            std::string::npos)
      << errori.str();
  EXPECT_NE(errori.str().find("nessun programma scritto"), std::string::npos) << errori.str();
  EXPECT_TRUE(in("").empty());

  // Forced: packed, and said so.
  richiesta_pack q;
  q.forza = true;
  errori.str("");
  EXPECT_EQ(pack(q), uscita_riuscita) << errori.str();
  EXPECT_NE(errori.str().find("impacchettato comunque (--force)"), std::string::npos) << errori.str();
  EXPECT_EQ(in("").size(), 2u);
  EXPECT_FALSE(resta_lavoro());
}

TEST_F(pacchetti, un_avviso_che_non_perde_niente_non_ferma_pack) {
  // A rounded fraction: the value meant, near enough.
  std::string& linea = sistema.file["mio/linea.txt"];
  const size_t p = linea.find("pendenza,");
  ASSERT_NE(p, std::string::npos);
  const size_t fine = linea.find("\r\n", p);
  linea.insert(fine, ".4");
  EXPECT_EQ(pack(), uscita_riuscita) << errori.str();
  EXPECT_NE(errori.str().find("[numero_arrotondato]"), std::string::npos) << errori.str();
  EXPECT_EQ(errori.str().find("nessun programma"), std::string::npos) << errori.str();
  EXPECT_EQ(in("").size(), 2u);
}

TEST_F(pacchetti, con_werror_un_avviso_ferma_pack_se_non_e_forzato) {
  std::string& linea = sistema.file["mio/linea.txt"];
  linea.insert(linea.find("\r\n") + 2, "pendnza, 0\r\n");
  richiesta_pack q;
  q.avvisi_come_errori = true;

  EXPECT_EQ(pack(q), uscita_errore);
  EXPECT_NE(errori.str().find("chiave_sconosciuta"), std::string::npos) << errori.str();
  EXPECT_NE(errori.str().find("1 avviso, trattato come errore (--werror)"), std::string::npos) << errori.str();
  // A warning is no error box for the player: the refusal says only what it is.
  EXPECT_EQ(errori.str().find("vedrebbe"), std::string::npos) << errori.str();
  EXPECT_TRUE(in("").empty());
  EXPECT_FALSE(resta_lavoro());

  q.forza = true;
  errori.str("");
  EXPECT_EQ(pack(q), uscita_riuscita) << errori.str();
  EXPECT_NE(errori.str().find("impacchettato comunque (--force)"), std::string::npos) << errori.str();
  EXPECT_EQ(in("").size(), 2u);

  // Without warnings --werror changes nothing.
  linea.erase(linea.find("pendnza, 0\r\n"), 12);
  richiesta_pack pulita;
  pulita.avvisi_come_errori = true;
  errori.str("");
  EXPECT_EQ(pack(pulita), uscita_riuscita) << errori.str();
  EXPECT_EQ(errori.str(), "");
}

TEST_F(pacchetti, una_nota_che_mescola_le_codifiche_e_un_avviso_di_pack) {
  // The starter's notes are Windows-1252; a line added in UTF-8 mixes them.
  std::string& note = sistema.file["mio/note.txt"];
  ASSERT_TRUE(std::any_of(note.begin(), note.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
  const int riga = 1 + static_cast<int>(std::count(note.begin(), note.end(), '\n'));
  note += "Aggiunta pi\xC3\xB9 tardi\r\n";
  // Letters garbled in the notes handed out: refused unless forced.
  EXPECT_EQ(pack(), uscita_errore) << errori.str();
  const std::string note_mostrate = (std::filesystem::path("mio") / "note.txt").string();
  EXPECT_TRUE(errori.str().starts_with(note_mostrate + ":" + std::to_string(riga) + ":12: attenzione: il testo non "
                                       "è tutto UTF-8"))
      << errori.str();
  EXPECT_NE(errori.str().find("[codifica_mista]"), std::string::npos) << errori.str();

  richiesta_pack q;
  q.avvisi_come_errori = true;
  q.linux_ = "w";
  errori.str("");
  EXPECT_EQ(pack(q), uscita_errore);
  EXPECT_NE(errori.str().find("1 avviso, trattato come errore (--werror)"), std::string::npos) << errori.str();
  EXPECT_EQ(sistema.file.count("w"), 0u);
}

TEST_F(pacchetti, pack_rifiuta_senza_scrivere_nulla) {
  struct caso {
    const char* nome;
    std::function<void(sistema_finto&, richiesta_pack&)> prepara;
    int stato;
    std::string parola;  // in the report
  };
  // Paths as the platform writes them.
  auto mostrato = [](const std::filesystem::path& p) { return p.string(); };
  const caso casi[] = {
      {"manca il programma base per Windows",
       [](sistema_finto& s, richiesta_pack&) { s.file.erase(base_windows); }, uscita_errore_file,
       "manca il programma base per Windows \"" +
           mostrato(std::filesystem::path("/programma/bin") / "stub" / "scenario-package-windows.exe") +
           "\": installa"},
      {"senza quello per Windows, il programma per Linux si può avere da solo",
       [](sistema_finto& s, richiesta_pack&) { s.file.erase(base_windows); }, uscita_errore_file,
       "; o scrivi solo quello per Linux, con --linux FILE"},
      {"un programma base che non è un programma",
       [](sistema_finto& s, richiesta_pack&) { s.file[base_linux] = "testo"; }, uscita_errore_file,
       "non è un programma sano"},
      {"una cartella che non c'è", [](sistema_finto&, richiesta_pack& q) { q.cartella = "altra"; },
       uscita_uso_errato, "la cartella dello scenario \"altra\" non c'è"},
      {"un file che manca", [](sistema_finto& s, richiesta_pack&) { s.file.erase("mio/note.txt"); },
       uscita_uso_errato, mostrato(std::filesystem::path("mio") / "note.txt") + ": manca"},
      {"un carattere che Windows-1252 non ha",
       [](sistema_finto& s, richiesta_pack&) { s.file["mio/note.txt"] = "ok\r\nfreccia \xE2\x86\x92\r\n"; },
       uscita_uso_errato, mostrato(std::filesystem::path("mio") / "note.txt") + ":2:9: il carattere U+2192"},
      {"1001 righe", [](sistema_finto& s, richiesta_pack&) { s.file["mio/note.txt"] = std::string(3003, '\n'); },
       uscita_uso_errato, mostrato(std::filesystem::path("mio") / "note.txt") + ":1001: le note ha 3003 righe"},
      {"il programma al posto di un file dello scenario",
       [](sistema_finto&, richiesta_pack& q) { q.linux_ = "mio/linea.txt"; }, uscita_uso_errato,
       "prenderebbe il posto di un file dello scenario"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    sistema_finto s = sistema;
    richiesta_pack q;
    q.cartella = "mio";
    c.prepara(s, q);
    const auto prima = s.file;
    std::ostringstream e;
    EXPECT_EQ(comando_pack(s, q, e), c.stato);
    EXPECT_NE(e.str().find(c.parola), std::string::npos) << e.str();
    EXPECT_TRUE(s.file == prima);
    EXPECT_TRUE(s.cartelle == sistema.cartelle);
  }
}

TEST_F(pacchetti, ogni_operazione_di_pack_che_fallisce_e_riportata) {
  sistema_finto pulito = sistema;
  std::ostringstream e;
  richiesta_pack q;
  q.cartella = "mio";
  ASSERT_EQ(comando_pack(pulito, q, e), uscita_riuscita);
  const std::map<std::string, std::string> completi = {{programma_linux, pulito.file.at(programma_linux)},
                                                      {programma_windows, pulito.file.at(programma_windows)}};

  for (int k = 1; k <= pulito.operazioni; ++k) {
    sistema_finto s = sistema;
    s.operazione_che_fallisce = k;
    std::ostringstream errori_k;
    const int stato = comando_pack(s, q, errori_k);
    const std::string operazione = s.registro.at(static_cast<size_t>(k) - 1);
    SCOPED_TRACE("operazione " + std::to_string(k) + ": " + operazione);
    EXPECT_NE(stato, uscita_riuscita);
    EXPECT_NE(errori_k.str().find("errore simulato"), std::string::npos) << errori_k.str();
    // Only whole programs, never a partial file or a working folder, unless
    // the removal of pack's own folder is what failed (the build's folder
    // inside it goes with it).
    for (const auto& [nome, contenuto] : s.file) {
      EXPECT_FALSE(nome.ends_with(".parziale")) << nome;
      if (completi.count(nome)) {
        EXPECT_TRUE(contenuto == completi.at(nome)) << nome;
      }
    }
    bool resta = false;
    for (const std::string& c : s.cartelle) resta = resta || c.find(".scenario-") != std::string::npos;
    EXPECT_EQ(resta, operazione.starts_with("rimuovi_cartella .scenario-pack-") &&
                         operazione.find(".scenario-build-") == std::string::npos)
        << testing::PrintToString(s.cartelle);
  }
}

TEST_F(pacchetti, unpack_di_cio_che_non_porta_uno_scenario) {
  const std::string sano = programma_finto::elf() + carico_con_coda(scenario_iniziale());
  struct caso {
    const char* nome;
    std::string byte;
    int stato;
    const char* parola;
  };
  const caso casi[] = {
      {"un programma come è stato compilato", programma_finto::pe(), uscita_errore, "non porta uno scenario"},
      {"un carico danneggiato", sano.substr(0, sano.size() - 1), uscita_errore, "pacchetto danneggiato: "},
      {"un file di testo", "non sono un programma", uscita_errore, "non è un programma fatto da scenario pack"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    sistema.file["p"] = c.byte;
    errori.str("");
    EXPECT_EQ(comando_unpack(sistema, "p", "fuori", codifica_testo::windows1252, errori), c.stato);
    EXPECT_NE(errori.str().find(c.parola), std::string::npos) << errori.str();
    EXPECT_EQ(sistema.cartelle.count("fuori"), 0u);
  }
  errori.str("");
  EXPECT_EQ(comando_unpack(sistema, "manca", "fuori", codifica_testo::windows1252, errori), uscita_uso_errato);
  EXPECT_NE(errori.str().find("impossibile leggere \"manca\""), std::string::npos) << errori.str();
}

TEST_F(pacchetti, in_utf8_new_e_unpack_scrivono_cartelle_che_si_impacchettano_uguali) {
  // The starter folder in UTF-8: the same texts, accents as UTF-8.
  ASSERT_EQ(comando_new(sistema, "u", codifica_testo::utf8, errori), uscita_riuscita) << errori.str();
  const auto in_1252 = in("mio"), in_utf8 = in("u");
  ASSERT_EQ(in_utf8.size(), 7u);
  size_t diversi = 0;
  for (const auto& [nome, contenuto] : in_1252) {
    EXPECT_EQ(in_utf8.at(nome), da_cp1252_a_utf8(contenuto)) << nome;
    diversi += in_utf8.at(nome) != contenuto;
  }
  EXPECT_GT(diversi, 0u) << "the starter scenario has no accented letter to show the encoding";

  // Packed, it is the same scenario; unpacked in UTF-8, the same folder.
  richiesta_pack q;
  q.cartella = "u";
  q.linux_ = "da_utf8";
  ASSERT_EQ(comando_pack(sistema, q, errori), uscita_riuscita) << errori.str();
  EXPECT_EQ(sistema.file.at("da_utf8"), programma_finto::elf() + carico_con_coda(scenario_iniziale()));
  ASSERT_EQ(comando_unpack(sistema, "da_utf8", "indietro", codifica_testo::utf8, errori), uscita_riuscita)
      << errori.str();
  EXPECT_EQ(in("indietro"), in_utf8);
}

TEST_F(pacchetti, new_e_unpack_non_scrivono_su_uno_scenario_che_c_e_gia) {
  ASSERT_EQ(comando_new(sistema, "nuovo/sotto", codifica_testo::windows1252, errori), uscita_riuscita)
      << errori.str();
  EXPECT_EQ(in("nuovo/sotto"), in("mio"));

  // A folder that holds one of the seven files, or a file in the folder's place.
  sistema.file["altro/note.txt"] = "mie";
  sistema.cartelle.insert("altro");
  sistema.file["unfile"] = "x";
  for (const std::string cartella : {"altro", "unfile"}) {
    SCOPED_TRACE(cartella);
    const auto prima = sistema.file;
    errori.str("");
    EXPECT_EQ(comando_new(sistema, cartella, codifica_testo::windows1252, errori), uscita_uso_errato);
    EXPECT_NE(errori.str().find(cartella), std::string::npos) << errori.str();
    EXPECT_TRUE(sistema.file == prima);
  }
  sistema.file["p"] = programma_finto::elf() + carico_con_coda(scenario_iniziale());
  errori.str("");
  EXPECT_EQ(comando_unpack(sistema, "p", "altro", codifica_testo::windows1252, errori), uscita_uso_errato);
  EXPECT_NE(errori.str().find("contiene già note.txt"), std::string::npos) << errori.str();
  EXPECT_EQ(sistema.file["altro/note.txt"], "mie");
}

TEST_F(pacchetti, un_unpack_che_fallisce_non_lascia_nulla_e_si_riprova) {
  sistema.file["p"] = programma_finto::elf() + carico_con_coda(scenario_iniziale());
  sistema.cartelle.insert("vuota");
  // Into a folder to make (with one above it), and into an empty one there
  // already: every operation of each made to fail in turn.
  for (const std::string cartella : {"nuova/sotto", "vuota"}) {
    sistema_finto pulito = sistema;
    std::ostringstream e;
    ASSERT_EQ(comando_unpack(pulito, "p", cartella, codifica_testo::windows1252, e), uscita_riuscita) << e.str();
    const int operazioni = pulito.operazioni;
    for (int k = 1; k <= operazioni; ++k) {
      sistema_finto s = sistema;
      s.operazione_che_fallisce = k;
      std::ostringstream errori_k;
      const int stato = comando_unpack(s, "p", cartella, codifica_testo::windows1252, errori_k);
      const std::string operazione = s.registro.at(static_cast<size_t>(k) - 1);
      SCOPED_TRACE(cartella + ", operazione " + std::to_string(k) + ": " + operazione);
      // A failed read of the program is bad use; any other failure, of a file.
      EXPECT_EQ(stato, operazione.starts_with("dimensione ") || operazione.starts_with("leggi_parte ")
                           ? uscita_uso_errato
                           : uscita_errore_file);
      EXPECT_NE(errori_k.str().find("errore simulato"), std::string::npos) << errori_k.str();
      EXPECT_TRUE(s.file == sistema.file) << testing::PrintToString(s.file);
      EXPECT_TRUE(s.cartelle == sistema.cartelle) << testing::PrintToString(s.cartelle);
      // And a second try finds the place as the first did.
      s.operazione_che_fallisce = 0;
      std::ostringstream di_nuovo;
      EXPECT_EQ(comando_unpack(s, "p", cartella, codifica_testo::windows1252, di_nuovo), uscita_riuscita)
          << di_nuovo.str();
      EXPECT_TRUE(s.file == pulito.file);
      EXPECT_TRUE(s.cartelle == pulito.cartelle);
    }
  }
}

TEST_F(pacchetti, un_collegamento_nella_cartella_e_rifiutato_col_suo_nome) {
  sistema.file["segreto"] = "da non impacchettare";
  sistema.file.erase("mio/note.txt");
  sistema.collegamenti["mio/note.txt"] = "segreto";
  EXPECT_EQ(pack(), uscita_uso_errato);
  EXPECT_NE(errori.str().find("note.txt: è un collegamento simbolico"), std::string::npos) << errori.str();
  EXPECT_EQ(in(""), (std::map<std::string, std::string>{{"segreto", "da non impacchettare"}}));
}

}  // namespace
