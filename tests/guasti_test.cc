// Every file operation of a whole run of the package program made to fail in
// turn: the run must stop with a message naming the failure and status 1,
// leave every file it finished before intact, leave no partial or temporary
// file, and touch nothing outside its folder. (A failure while the sources
// are read is a build error: the build still writes what it has, whole, and
// then reports.)
#include <gtest/gtest.h>

#include <map>

#include "driver/form1.h"
#include "sources/elenco_righe.h"
#include "sources/scenario_incorporato.h"
#include "support/file_system_fake.h"

namespace {

TEST(guasti, ogni_operazione_che_fallisce_ferma_il_programma_senza_danni) {
  const scenario borvale = scenario_incorporato();
  sistema_finto pulito;
  ASSERT_EQ(esegui_pacchetto(pulito, borvale), 0);
  ASSERT_TRUE(pulito.messaggi.empty());
  const int operazioni = pulito.operazioni;
  ASSERT_GT(operazioni, 20);

  // What each file may hold: its content after a clean run, and for the two
  // source texts, which a clean run deletes, the text as written.
  std::map<std::string, std::string> attesi = pulito.file;
  attesi["Borvale PF_Borvale PR_linea.txt"] = testo_da_elenco(riempi_elenco(borvale.linea));
  attesi["Borvale PF_Borvale PR_31758-.txt"] = testo_da_elenco(riempi_elenco(borvale.treno));

  for (int k = 1; k <= operazioni; ++k) {
    sistema_finto sistema;
    sistema.operazione_che_fallisce = k;
    const int stato = esegui_pacchetto(sistema, borvale);
    const std::string operazione = sistema.registro.at(static_cast<size_t>(k) - 1);
    SCOPED_TRACE("operazione " + std::to_string(k) + ": " + operazione);
    EXPECT_EQ(stato, 1);
    ASSERT_EQ(sistema.messaggi.size(), 1u);
    EXPECT_NE(sistema.messaggi[0].find("errore simulato"), std::string::npos) << sistema.messaggi[0];
    EXPECT_TRUE(sistema.fuori_cartella.empty());
    for (const auto& [nome, contenuto] : sistema.file) {
      SCOPED_TRACE(nome);
      ASSERT_EQ(attesi.count(nome), 1u) << "file inatteso";
    }
    // The files put in place before the failing operation are whole.
    for (int i = 0; i + 1 < k; ++i) {
      const std::string& r = sistema.registro[static_cast<size_t>(i)];
      const std::string marca = ".parziale ";
      if (r.rfind("rinomina ", 0) != 0) continue;
      const std::string nome = r.substr(r.find(marca) + marca.size());
      if (sistema.file.count(nome)) {
        EXPECT_TRUE(sistema.file[nome] == attesi[nome]) << nome;
      }
    }
  }
}

}  // namespace
