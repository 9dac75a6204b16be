// The package program's choice of scenario, in memory: the payload appended
// to its own file when it carries one, the compiled-in scenario when it does
// not, and nothing at all written or shown but one message when the payload
// is damaged.
#include <gtest/gtest.h>

#include "carico/carico.h"
#include "driver/form1.h"
#include "driver/programma.h"
#include "sources/scenario_incorporato.h"
#include "support/file_system_fake.h"
#include "support/programma_finto.h"

namespace {

// The fake's key of its running program's file.
const std::string programma = "scenario-package";

scenario altro() {
  scenario s = scenario_incorporato();
  s.nome_scenario = "Altro";
  s.note = {"Note di un altro scenario."};
  return s;
}

// The files of a run but the program's own.
std::map<std::string, std::string> lasciati(const sistema_finto& sistema) {
  std::map<std::string, std::string> file = sistema.file;
  file.erase(programma);
  return file;
}

TEST(programma, senza_carico_costruisce_lo_scenario_incorporato) {
  sistema_finto atteso;
  ASSERT_EQ(esegui_pacchetto(atteso, scenario_incorporato()), 0);

  sistema_finto sistema;
  sistema.file[programma] = programma_finto::elf();
  EXPECT_EQ(esegui_programma(sistema, scenario_incorporato()), 0);
  EXPECT_EQ(lasciati(sistema), atteso.file);
  EXPECT_TRUE(sistema.messaggi.empty());
  EXPECT_EQ(sistema.file[programma], programma_finto::elf());
}

TEST(programma, con_un_carico_costruisce_quello) {
  sistema_finto atteso;
  ASSERT_EQ(esegui_pacchetto(atteso, altro()), 0);

  for (const std::string& stub : {programma_finto::elf(), programma_finto::pe()}) {
    sistema_finto sistema;
    sistema.file[programma] = stub + carico_con_coda(altro());
    EXPECT_EQ(esegui_programma(sistema, scenario_incorporato()), 0);
    EXPECT_EQ(lasciati(sistema), atteso.file);
    EXPECT_EQ(sistema.file.count("Altro_31758_note.txt"), 1u);
    EXPECT_TRUE(sistema.messaggi.empty());
    // Its own file is read in ranges (headers, trailer, payload), never whole.
    for (const std::string& voce : sistema.registro) EXPECT_NE(voce, "leggi " + programma);
  }
}

TEST(programma, un_carico_danneggiato_non_scrive_nulla) {
  const std::string stub = programma_finto::elf();
  const std::string intero = stub + carico_con_coda(altro());
  scenario lungo = altro();
  lungo.note.assign(1001, "x");
  struct caso {
    const char* nome;
    std::string byte;
    const char* parola;  // in the message
  };
  const caso casi[] = {
      {"un byte cambiato",
       [&] {
         std::string b = intero;
         b[stub.size() + 100] ^= 0x20;
         return b;
       }(),
       "CRC-32"},
      {"la coda tagliata", intero.substr(0, intero.size() - 3), "coda"},
      {"il file tagliato dentro il contenuto", intero.substr(0, stub.size() + 500), "troncato"},
      {"1001 righe", stub + carico_con_coda(lungo), "1001 righe"},
      {"il programma stesso tagliato", stub.substr(0, 600), "troncato"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    sistema_finto sistema;
    sistema.file[programma] = c.byte;
    EXPECT_EQ(esegui_programma(sistema, scenario_incorporato()), 1);
    ASSERT_EQ(sistema.messaggi.size(), 1u);
    EXPECT_TRUE(sistema.messaggi[0].starts_with("Pacchetto danneggiato: ")) << sistema.messaggi[0];
    EXPECT_NE(sistema.messaggi[0].find(c.parola), std::string::npos) << sistema.messaggi[0];
    EXPECT_EQ(sistema.attese, 0);
    EXPECT_TRUE(lasciati(sistema).empty());
    for (const std::string& voce : sistema.registro)
      EXPECT_TRUE(voce.starts_with("dimensione ") || voce.starts_with("leggi_parte ")) << voce;
  }
}

TEST(programma, il_proprio_file_che_non_si_legge) {
  // Missing, or each of its reads failing in turn.
  sistema_finto manca;
  EXPECT_EQ(esegui_programma(manca, scenario_incorporato()), 1);
  ASSERT_EQ(manca.messaggi.size(), 1u);
  EXPECT_TRUE(manca.messaggi[0].starts_with("Impossibile leggere il programma stesso")) << manca.messaggi[0];

  const std::string intero = programma_finto::elf() + carico_con_coda(altro());
  // The size, the header, the two tables, the trailer, the payload.
  for (int operazione = 1; operazione <= 6; ++operazione) {
    SCOPED_TRACE(operazione);
    sistema_finto sistema;
    sistema.file[programma] = intero;
    sistema.operazione_che_fallisce = operazione;
    EXPECT_EQ(esegui_programma(sistema, scenario_incorporato()), 1);
    ASSERT_EQ(sistema.messaggi.size(), 1u);
    EXPECT_TRUE(sistema.messaggi[0].starts_with("Impossibile leggere il programma stesso")) << sistema.messaggi[0];
    EXPECT_NE(sistema.messaggi[0].find("errore simulato"), std::string::npos) << sistema.messaggi[0];
    EXPECT_TRUE(lasciati(sistema).empty());
  }
}

}  // namespace
