// Text for a terminal or a message box: control characters shown, not acted
// on; everything else as it is.
#include "model/testo_mostrabile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(testo_mostrabile, i_caratteri_di_controllo_si_vedono_escapati) {
  struct caso {
    std::string testo, mostrato;
  };
  const caso casi[] = {
      {"Citt\xC3\xA0 \xE2\x82\xAC \xF0\x9F\x9A\x82", "Citt\xC3\xA0 \xE2\x82\xAC \xF0\x9F\x9A\x82"},
      {"righe\ncon\ttab", "righe\ncon\ttab"},
      // A terminal's title set, then the bell and CR.
      {"\x1b]0;preso\x07\r", "\\x1b]0;preso\\x07\\x0d"},
      {std::string("a\0b", 3), "a\\x00b"},
      {"\x7F", "\\x7f"},
      // C1 controls in UTF-8: CSI (U+009B) and NEL (U+0085).
      {"\xC2\x9B" "2J \xC2\x85", "\\x9b2J \\x85"},
      {"\xC2\xA0", "\xC2\xA0"},
      // Bytes that are no UTF-8: a Latin-1 letter, a cut sequence, an overlong form.
      {"caff\xE8", "caff\\xe8"},
      {"\xE2\x82", "\\xe2\\x82"},
      {"\xC0\xAF", "\\xc0\\xaf"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.mostrato);
    EXPECT_EQ(testo_mostrabile(c.testo), c.mostrato);
    EXPECT_EQ(testo_mostrabile(c.mostrato), c.mostrato);
  }
}

}  // namespace
