// `scenario draw` in one process over the in-memory platform: each file
// operation made to fail in turn ends the command with its status, and leaves
// neither a drawing nor a temporary file, the older drawing as it was.
#include "disegno/comando_disegno.h"

#include <gtest/gtest.h>

#include <sstream>

#include "driver/form1.h"
#include "support/file_system_fake.h"

namespace {

TEST(comando_draw, ogni_operazione_che_fallisce_non_lascia_nulla) {
  // The binary files of a small build, made by the core in the same folder.
  sistema_finto sistema;
  {
    Form1 form(sistema);
    form.nome_scenario = "Prova";
    form.numero_treno = "1";
    sistema.file[form.nome_sorgente_linea()] = "[generale]\r\nlunghezza percorso, 4000\r\n[fine]\r\n";
    sistema.file[form.nome_sorgente_treno()] = "[generale]\r\nsegnale, 900, 2, 3, 1, 0, 0, 0, 0, 0, 0, 230\r\n";
    int32_t j = 1;
    ASSERT_TRUE(form.memorizza_percorso(j).riuscito());
  }
  sistema.file["Prova_1.svg"] = "vecchio";
  sistema.registro.clear();
  sistema.operazioni = 0;
  const richiesta_disegno richiesta{"Prova", "1", ".", std::nullopt};

  sistema_finto pulito = sistema;
  std::ostringstream niente;
  ASSERT_EQ(comando_draw(pulito, richiesta, niente), 0) << niente.str();
  ASSERT_NE(pulito.file["Prova_1.svg"], "vecchio");
  const int operazioni = pulito.operazioni;

  for (int k = 1; k <= operazioni; ++k) {
    sistema_finto s = sistema;
    s.operazione_che_fallisce = k;
    std::ostringstream errori;
    const int stato = comando_draw(s, richiesta, errori);
    const std::string operazione = s.registro.at(static_cast<size_t>(k) - 1);
    SCOPED_TRACE("operazione " + std::to_string(k) + ": " + operazione);
    EXPECT_EQ(stato, operazione.starts_with("leggi ") ? 1 : 3);
    EXPECT_NE(errori.str().find("errore simulato"), std::string::npos) << errori.str();
    EXPECT_EQ(s.file, sistema.file);
    EXPECT_TRUE(s.fuori_cartella.empty());
  }
}

}  // namespace
