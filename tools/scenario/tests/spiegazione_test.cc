// `scenario explain`: every error number and every code has its row in the
// reference built into the tool, said in the reference's words without
// their Markdown marks; what is not there is named with the nearest.
#include "spiegazione.h"

#include <gtest/gtest.h>

#include <sstream>

#include "diagnosi/codici.h"
#include "diagnosi/errori_build.h"

namespace {

TEST(spiegazione, ogni_errore_e_ogni_codice_ha_la_sua_riga) {
  for (const descrizione_errore& e : errori_build()) {
    const auto t = spiegazione(std::to_string(e.codice));
    ASSERT_TRUE(t) << e.codice;
    EXPECT_TRUE(t->starts_with(std::to_string(e.codice) + "\nmessaggio: Errore n. " + std::to_string(e.codice)))
        << *t;
    EXPECT_EQ(spiegazione("E" + std::to_string(e.codice)), t);
  }
  for (codice_avviso c : codici_avviso) {
    const auto t = spiegazione(nome_avviso(c));
    ASSERT_TRUE(t) << nome_avviso(c);
    EXPECT_TRUE(t->starts_with(std::string(nome_avviso(c)) + "\nesempio: ")) << *t;
  }
}

TEST(spiegazione, le_parole_della_riga_senza_markdown) {
  const std::string_view riferimento =
      "## Altro\n\n| codice | esempio | quando |\n|---|---|---|\n"
      "| `prova` | `il campo \"a|b\"` | **sempre**, vedi [Gli avvisi](#gli-avvisi) e `[generale]` |\n\n"
      "| n. | messaggio |\n|---|---|\n| 7 | `Errore n. 7` |\n";
  EXPECT_EQ(spiegazione("prova", riferimento),
            "prova\nesempio: il campo \"a|b\"\nquando: sempre, vedi Gli avvisi e [generale]\n");
  EXPECT_EQ(spiegazione("e007", riferimento), "7\nmessaggio: Errore n. 7\n");
  EXPECT_FALSE(spiegazione("altro", riferimento));
  EXPECT_FALSE(spiegazione("", riferimento));
}

TEST(spiegazione, un_codice_che_non_c_e) {
  std::ostringstream uscita, errori;
  EXPECT_EQ(comando_explain("valori_in_pu", uscita, errori), 2);
  EXPECT_EQ(uscita.str(), "");
  EXPECT_NE(errori.str().find("forse \"valori_in_piu\""), std::string::npos) << errori.str();
}

}  // namespace
