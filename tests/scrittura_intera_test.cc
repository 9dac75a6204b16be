// A file written whole: each step that can fail, which file the failure
// names, and that neither a temporary file nor a partial final file is left;
// temporary names found taken, and a link under the final name.
#include "driver/scrittura_intera.h"

#include <gtest/gtest.h>

#include <functional>

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

TEST(scrittura_intera, un_nome_temporaneo_preso_e_lasciato_per_il_successivo) {
  struct caso {
    const char* descrizione;
    std::function<void(sistema_finto&)> prepara;
    const char* usato;  // the temporary name the write goes through
  };
  const caso casi[] = {
      {"un avanzo di una scrittura interrotta", [](sistema_finto& s) { s.file["a.dat.parziale"] = "avanzo"; },
       "a.dat.parz0001"},
      {"un collegamento", [](sistema_finto& s) { s.collegamenti["a.dat.parziale"] = "fuori"; }, "a.dat.parz0001"},
      {"una cartella", [](sistema_finto& s) { s.cartelle.insert("a.dat.parziale"); }, "a.dat.parz0001"},
      {"i primi due", [](sistema_finto& s) {
         s.file["a.dat.parziale"] = "avanzo";
         s.collegamenti["a.dat.parz0001"] = "fuori";
       }, "a.dat.parz0002"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.descrizione);
    sistema_finto sistema;
    c.prepara(sistema);
    const auto file_prima = sistema.file;
    const auto collegamenti_prima = sistema.collegamenti;
    EXPECT_EQ(scrivi_per_intero(sistema, "/programma/a.dat", "nuovo"), std::nullopt);
    EXPECT_EQ(sistema.file["a.dat"], "nuovo");
    EXPECT_EQ(sistema.registro.back(), "rinomina " + std::string(c.usato) + " a.dat");
    // What held the names stays as it was.
    sistema.file.erase("a.dat");
    EXPECT_EQ(sistema.file, file_prima);
    EXPECT_EQ(sistema.collegamenti, collegamenti_prima);
  }

  // Every name taken: the write fails at its last try, nothing written.
  sistema_finto pieno;
  for (int n = 0; n < nomi_temporanei; ++n) pieno.file[percorso_temporaneo("a.dat", n).string()] = "x";
  auto g = scrivi_per_intero(pieno, "/programma/a.dat", "nuovo");
  ASSERT_TRUE(g.has_value());
  EXPECT_EQ(g->azione, "creare");
  EXPECT_EQ(g->percorso, std::filesystem::path("/programma/a.dat.parz0099"));
  EXPECT_EQ(pieno.file.count("a.dat"), 0u);
  // Every name as long as the first, which the length check counts.
  for (int n = 0; n < nomi_temporanei; ++n)
    EXPECT_EQ(percorso_temporaneo("a.dat", n).string().size(), std::string("a.dat.parziale").size());
  EXPECT_TRUE(e_temporaneo_di("/programma/a.dat.parz0042", "/programma/a.dat"));
  EXPECT_FALSE(e_temporaneo_di("/programma/b.dat.parziale", "/programma/a.dat"));
}

TEST(scrittura_intera, un_collegamento_col_nome_finale_e_sostituito_non_seguito) {
  for (const char* bersaglio : {"altro.dat", "manca.dat"}) {
    SCOPED_TRACE(bersaglio);
    sistema_finto sistema;
    sistema.file["altro.dat"] = "resta";
    sistema.collegamenti["a.dat"] = bersaglio;
    EXPECT_EQ(scrivi_per_intero(sistema, "/programma/a.dat", "nuovo"), std::nullopt);
    // Not opened through: the link goes, its target keeps its bytes.
    EXPECT_EQ(sistema.registro.front(), "crea a.dat.parziale");
    EXPECT_TRUE(sistema.collegamenti.empty());
    EXPECT_EQ(sistema.file, (std::map<std::string, std::string>{{"a.dat", "nuovo"}, {"altro.dat", "resta"}}));
  }
}

}  // namespace
