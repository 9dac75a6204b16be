// The package program as a real process: determinism across folders, a
// disk that runs out of room or a file-size limit, and an author's text
// under a source's name.
#include <gtest/gtest.h>

#include <map>

#include "support/cartella_temporanea.h"
#include "support/processo.h"

namespace {

std::map<std::string, std::string> contenuto(const cartella_temporanea& c) {
  std::map<std::string, std::string> file;
  for (const auto& voce : std::filesystem::directory_iterator(c.percorso()))
    file[voce.path().filename().string()] = c.leggi(voce.path().filename().string());
  return file;
}

TEST(processo, due_cartelle_danno_file_identici) {
  cartella_temporanea a, b;
  ASSERT_EQ(esegui_in_cartella(SCENARIO_PACKAGE_EXE, a.percorso()).stato, 0);
  ASSERT_EQ(esegui_in_cartella(SCENARIO_PACKAGE_EXE, b.percorso()).stato, 0);
  auto file_a = contenuto(a);
  EXPECT_EQ(file_a.size(), 6u);
  EXPECT_TRUE(file_a == contenuto(b));
}

TEST(processo, un_disco_pieno_ferma_il_programma_senza_file_parziali) {
  struct caso {
    rlim_t limite;
    std::vector<std::string> restano;  // the files finished before the failure
  };
  const std::string base = "Borvale PF_Borvale PR";
  const caso casi[] = {
      // The slow-order form (3283 bytes) is the first file over 1000 bytes.
      {1000, {base + "_31758-.txt", base + "_31758_note.txt", base + "_linea.txt"}},
      // The line file (219964 bytes) is the only file over 100000 bytes.
      {100000,
       {base + "_31758_note.txt", base + "_31758_rallentamenti.txt", base + "_31758_scheda_treno.txt"}},
  };
  cartella_temporanea riferimento;
  ASSERT_EQ(esegui_in_cartella(SCENARIO_PACKAGE_EXE, riferimento.percorso()).stato, 0);
  auto completi = contenuto(riferimento);
  for (const caso& c : casi) {
    SCOPED_TRACE(c.limite);
    cartella_temporanea cartella;
    esito_processo e = esegui_in_cartella(SCENARIO_PACKAGE_EXE, cartella.percorso(), c.limite);
    EXPECT_EQ(e.stato, 1);
    EXPECT_NE(e.errori.find("File too large"), std::string::npos) << e.errori;
    auto file = contenuto(cartella);
    std::vector<std::string> nomi;
    for (const auto& [nome, testo] : file) {
      nomi.push_back(nome);
      // A document is whole; a source text, deleted by a complete run, is whole too.
      if (completi.count(nome)) {
        EXPECT_TRUE(testo == completi[nome]) << nome;
      }
    }
    EXPECT_EQ(nomi, c.restano);
  }
}

TEST(processo, un_testo_dell_autore_col_nome_di_un_sorgente_ferma_il_programma) {
  cartella_temporanea cartella;
  const std::string linea = "Borvale PF_Borvale PR_linea.txt";
  cartella.scrivi(linea, "[generale]\nlunghezza percorso, 9000\n");
  cartella.scrivi("altro.txt", "resta");
  const auto prima = contenuto(cartella);
  esito_processo e = esegui_in_cartella(SCENARIO_PACKAGE_EXE, cartella.percorso());
  EXPECT_EQ(e.stato, 1);
  EXPECT_NE(e.errori.find(linea + "\", con un testo diverso"), std::string::npos) << e.errori;
  EXPECT_EQ(e.errori.find("Attendere"), std::string::npos) << e.errori;
  EXPECT_TRUE(contenuto(cartella) == prima);

  // Moved away, the run goes through.
  std::filesystem::rename(cartella / linea, cartella / "mio_linea.txt");
  EXPECT_EQ(esegui_in_cartella(SCENARIO_PACKAGE_EXE, cartella.percorso()).stato, 0);
  EXPECT_EQ(cartella.leggi("mio_linea.txt"), "[generale]\nlunghezza percorso, 9000\n");
}

}  // namespace
