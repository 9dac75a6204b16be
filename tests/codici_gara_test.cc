// The competition codes: the key built from the two names in records 86 and
// 85, lower-cased, padded with the filler, cut at 25 characters, and each
// character counted as its Windows-1252 byte.
#include <gtest/gtest.h>

#include <string>

#include "driver/form1.h"
#include "support/file_system_fake.h"

namespace {

struct codici {
  int32_t og;
  int32_t st;
};

class codici_gara : public testing::Test {
 protected:
  codici di(const std::string& treno, const std::string& scenario) {
    f.testata[86].nome = treno;
    f.testata[85].nome = scenario;
    return {f.codice_gara_og(), f.codice_gara_st()};
  }

  sistema_finto sistema;
  Form1 f{sistema};
};

TEST_F(codici_gara, valori_noti) {
  struct caso {
    const char* descrizione;
    std::string treno, scenario;
    int32_t og, st;
  };
  const caso casi[] = {
      // 12345abcdefghijklmnopqrst: the filler is never reached.
      {"esempio", "12345", "ABCDEFGHIJKLMNOPQRST", 2385, 34455},
      // The train number comes first: swapped names weigh differently.
      {"nomi scambiati", "ABCDEFGHIJKLMNOPQRST", "12345", 2385, 28905},
      // 31758borvale pf_borvale p
      {"scenario incorporato", "31758", "Borvale PF_Borvale PR", 2243, 31043},
      // Empty names: the first 25 characters of the filler.
      {"nomi vuoti", "", "", 2810, 37462},
      // A byte above 127 counts as 0..255, never as a negative char.
      {"e accentata", "7", "\xE9", 2857, 37215},
      {"euro", "7", "\x80", 2752, 37005},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.descrizione);
    codici r = di(c.treno, c.scenario);
    EXPECT_EQ(r.og, c.og);
    EXPECT_EQ(r.st, c.st);
  }
}

TEST_F(codici_gara, maiuscole_come_minuscole) {
  codici basso = di("31758", "borvale pf_borvale pr");
  codici alto = di("31758", "BORVALE PF_BORVALE PR");
  EXPECT_EQ(alto.og, basso.og);
  EXPECT_EQ(alto.st, basso.st);

  // Accented capitals fold by Windows-1252 rules: À (C0) counts as à (E0).
  codici accento_alto = di("7", "\xC0");
  codici accento_basso = di("7", "\xE0");
  EXPECT_EQ(accento_alto.og, accento_basso.og);
  EXPECT_EQ(accento_alto.st, accento_basso.st);
}

TEST_F(codici_gara, oltre_il_venticinquesimo_carattere_non_conta) {
  // 5 + 20 characters fill the key: the 21st character of the name and the
  // filler behind it are cut off.
  codici base = di("12345", "ABCDEFGHIJKLMNOPQRST");
  codici piu_lungo = di("12345", "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
  EXPECT_EQ(piu_lungo.og, base.og);
  EXPECT_EQ(piu_lungo.st, base.st);

  // One character fewer: the 25th comes from the filler ('k' = 107 at p = 25).
  codici corto = di("12345", "ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(corto.og, base.og - 't' + 'k');
  EXPECT_EQ(corto.st, base.st + ('k' - 't') * 25);
}

TEST_F(codici_gara, i_nomi_restano_come_sono) {
  di("31758", "Borvale PF_Borvale PR");
  EXPECT_EQ(f.testata[86].nome, "31758");
  EXPECT_EQ(f.testata[85].nome, "Borvale PF_Borvale PR");
}

}  // namespace
