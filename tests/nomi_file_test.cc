// The names of a scenario's files and the check of its two names: plain
// concatenation, byte for byte, and every way a name could put a file outside
// its folder or past the length a file system takes.
#include <gtest/gtest.h>

#include <string>

#include "model/nomi_file.h"

namespace {

TEST(nomi_file, per_concatenazione_dei_due_nomi) {
  const nomi_file n = nomi_dei_file("Borvale PF_Borvale PR", "31758");
  EXPECT_EQ(n.sorgente_linea, "Borvale PF_Borvale PR_linea.txt");
  EXPECT_EQ(n.sorgente_treno, "Borvale PF_Borvale PR_31758-.txt");
  EXPECT_EQ(n.note, "Borvale PF_Borvale PR_31758_note.txt");
  EXPECT_EQ(n.rallentamenti, "Borvale PF_Borvale PR_31758_rallentamenti.txt");
  EXPECT_EQ(n.scheda, "Borvale PF_Borvale PR_31758_scheda_treno.txt");
  EXPECT_EQ(n.file_linea, "Borvale PF_Borvale PR_linea.dat");
  EXPECT_EQ(n.file_sim, "Borvale PF_Borvale PR_31758.sim");
  EXPECT_EQ(n.file_dat, "Borvale PF_Borvale PR_31758.dat");
  EXPECT_EQ(n.lasciati(), (std::vector<std::string>{n.note, n.rallentamenti, n.scheda, n.file_linea, n.file_sim,
                                                    n.file_dat}));
  // Bytes pass as they are, in either encoding.
  EXPECT_EQ(nomi_dei_file("Citt\xE0", "N\xB0 1").file_sim, "Citt\xE0_N\xB0 1.sim");
  EXPECT_EQ(nomi_dei_file("Citt\xC3\xA0", "1").file_linea, "Citt\xC3\xA0_linea.dat");
}

TEST(nomi_file, nomi_rifiutati_e_accettati) {
  struct caso {
    std::string nome;
    const char* problema;  // nullptr: accepted
  };
  const caso casi[] = {
      {"Borvale PF_Borvale PR", nullptr},
      {"Citt\xE0 di Castello \x96 N\xB0 1", nullptr},
      {"a.b", nullptr},
      {"", "vuoto"},
      {"a/b", "separatore"},
      {"a\\b", "separatore"},
      {"..", "\"..\""},
      {"a..b", "\"..\""},
      {"a\tb", "controllo"},
      {"a\nb", "controllo"},
      {std::string("a\0b", 3), "controllo"},
      {"a\x7F", "controllo"},
      // The five bytes Windows-1252 leaves undefined, C1 controls as names.
      {"a\x81", "controllo (0x81"},
      {"\x8D", "controllo (0x8D"},
      {"a\x8F" "b", "controllo (0x8F"},
      {"\x90", "controllo (0x90"},
      {"\x9D", "controllo (0x9D"},
      {"\x80\x8E\x9B\x9F", nullptr},
      {"a:b", "Windows"},
      {"a*", "Windows"},
      {"?", "Windows"},
      {"\"a\"", "Windows"},
      {"<a>", "Windows"},
      {"a|b", "Windows"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    auto p = problema_nome(c.nome);
    if (!c.problema) {
      EXPECT_EQ(p, std::nullopt);
    } else {
      ASSERT_TRUE(p.has_value());
      EXPECT_NE(p->find(c.problema), std::string::npos) << *p;
    }
  }
}

TEST(nomi_file, in_utf8_i_byte_dei_caratteri_non_sono_quelli_di_windows_1252) {
  // "Á" is C3 81 and "Ý" C3 9D in UTF-8: letters, not the undefined bytes.
  EXPECT_EQ(problema_nome_utf8("\xC3\x81rea \xC3\x9Dpsilon \xC3\x90"), std::nullopt);
  // U+0081 and U+009D are the undefined bytes' characters; U+009B is none of
  // Windows-1252's.
  for (const char* nome : {"a\xC2\x81", "\xC2\x9D"}) {
    auto p = problema_nome_utf8(nome);
    ASSERT_TRUE(p.has_value()) << nome;
    EXPECT_NE(p->find("controllo"), std::string::npos) << *p;
  }
  EXPECT_NE(problema_nome_utf8("a\xC2\x9B"), std::nullopt);
}

TEST(nomi_file, il_nome_piu_lungo_con_la_fine_temporanea_entra_in_255_byte) {
  // The longest file is NAME_NUMBER_rallentamenti.txt.parziale: 28 bytes
  // beyond the two names.
  const std::string numero = "1";
  const std::string al_limite(255 - 28 - numero.size(), 'a');
  EXPECT_EQ(problema_lunghezza(al_limite, numero), std::nullopt);
  auto p = problema_lunghezza(al_limite + "a", numero);
  ASSERT_TRUE(p.has_value());
  EXPECT_NE(p->find("256 byte"), std::string::npos) << *p;
  // The number counts as much as the name.
  EXPECT_NE(problema_lunghezza(std::string(200, 'a'), std::string(30, '1')), std::nullopt);
  EXPECT_EQ(problema_lunghezza(std::string(197, 'a'), std::string(30, '1')), std::nullopt);
}

}  // namespace
