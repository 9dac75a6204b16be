// The place of a message in an author's source: the FILE:LINE:COLUMN prefix,
// the line taken from a text, and the caret under a column counted in
// characters.
#include "luogo_sorgente.h"

#include <gtest/gtest.h>

namespace {

TEST(luogo_sorgente, il_prefisso_lascia_fuori_cio_che_non_si_sa) {
  EXPECT_EQ(prefisso_luogo("a/treno.txt", 17, 79), "a/treno.txt:17:79: ");
  EXPECT_EQ(prefisso_luogo("a/treno.txt", 17, 0), "a/treno.txt:17: ");
  EXPECT_EQ(prefisso_luogo("a/treno.txt", 0, 79), "a/treno.txt: ");
}

TEST(luogo_sorgente, una_riga_del_testo_per_ogni_fine_riga) {
  const std::string testo = "uno\r\ndue\ntre\rquattro\r\n";
  EXPECT_EQ(riga_del_testo(testo, 1), "uno");
  EXPECT_EQ(riga_del_testo(testo, 2), "due");
  EXPECT_EQ(riga_del_testo(testo, 3), "tre");
  EXPECT_EQ(riga_del_testo(testo, 4), "quattro");
  EXPECT_EQ(riga_del_testo(testo, 5), "");
  EXPECT_EQ(riga_del_testo(testo, 0), "");
  EXPECT_EQ(riga_del_testo("senza fine", 1), "senza fine");
}

TEST(luogo_sorgente, il_segno_sotto_la_colonna) {
  struct caso {
    const char* nome;
    std::string riga;
    int32_t colonna;
    std::string atteso;
  };
  const caso casi[] = {
      {"ascii", "abc", 2, "abc\n ^\n"},
      {"prima_colonna", "abc", 1, "abc\n^\n"},
      // A tab stays a tab, so the caret lines up however wide it is shown.
      {"tabulazione", "\tx, 1", 4, "\tx, 1\n\t  ^\n"},
      // Characters, not bytes: "À" is one column.
      {"accenti", "CITT\xC3\x80 \xE2\x86\x92 NUOVA", 7, "CITT\xC3\x80 \xE2\x86\x92 NUOVA\n      ^\n"},
      {"non_utf8", "a\xE8" "b", 3, "a?b\n  ^\n"},
      {"oltre_la_fine", "ab", 4, "ab\n   ^\n"},
  };
  for (const caso& c : casi) EXPECT_EQ(riga_con_segno(c.riga, c.colonna), c.atteso) << c.nome;
}

}  // namespace
