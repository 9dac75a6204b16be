// A file written whole: each step that can fail, which file the failure
// names, and that neither a temporary file nor a partial final file is left.
#include "driver/scrittura_intera.h"

#include <gtest/gtest.h>

#include "support/file_system_fake.h"

namespace {

TEST(scrittura_intera, ogni_passo_che_fallisce_e_nominato) {
  struct caso {
    const char* azione;
    const char* file;  // the one the failure names
  };
  // The steps over an existing file: apri, crea, scrivi, chiudi, rinomina.
  const caso casi[] = {{"aprire", "a.dat"},
                       {"creare", "a.dat.parziale"},
                       {"scrivere", "a.dat.parziale"},
                       {"chiudere", "a.dat.parziale"},
                       {"sostituire", "a.dat"}};
  for (int k = 1; k <= 5; ++k) {
    const caso& c = casi[k - 1];
    SCOPED_TRACE(c.azione);
    sistema_finto sistema;
    sistema.file["a.dat"] = "vecchio";
    sistema.operazione_che_fallisce = k;
    auto g = scrivi_per_intero(sistema, "/programma/a.dat", "nuovo");
    ASSERT_TRUE(g.has_value());
    EXPECT_EQ(g->azione, c.azione);
    EXPECT_EQ(g->percorso, std::filesystem::path("/programma") / c.file);
    EXPECT_EQ(g->motivo, "errore simulato");
    EXPECT_EQ(sistema.file, (std::map<std::string, std::string>{{"a.dat", "vecchio"}}));
  }
}

TEST(scrittura_intera, un_file_nuovo_senza_aprire_prima) {
  sistema_finto sistema;
  EXPECT_EQ(scrivi_per_intero(sistema, "/programma/b.txt", "testo"), std::nullopt);
  EXPECT_EQ(sistema.file["b.txt"], "testo");
  EXPECT_EQ(sistema.registro, (std::vector<std::string>{"crea b.txt.parziale", "scrivi b.txt.parziale",
                                                        "chiudi b.txt.parziale", "rinomina b.txt.parziale b.txt"}));
}

TEST(scrittura_intera, un_programma_e_eseguibile_prima_di_prendere_il_suo_nome) {
  sistema_finto sistema;
  EXPECT_EQ(scrivi_per_intero(sistema, "/programma/p", "programma", true), std::nullopt);
  EXPECT_EQ(sistema.eseguibili, std::set<std::string>{"p"});
  EXPECT_EQ(sistema.registro, (std::vector<std::string>{"crea p.parziale", "scrivi p.parziale", "chiudi p.parziale",
                                                        "eseguibile p.parziale", "rinomina p.parziale p"}));

  // That step failing leaves nothing.
  sistema_finto guasto;
  guasto.operazione_che_fallisce = 4;
  auto g = scrivi_per_intero(guasto, "/programma/p", "programma", true);
  ASSERT_TRUE(g.has_value());
  EXPECT_EQ(g->azione, "rendere eseguibile");
  EXPECT_EQ(g->percorso, std::filesystem::path("/programma/p.parziale"));
  EXPECT_TRUE(guasto.file.empty());
}

}  // namespace
