// The Windows-1252 helpers: to and from UTF-8, and lower case.
#include <gtest/gtest.h>

#include <string>

#include "model/windows1252.h"

namespace {

TEST(Windows1252, OgniByteAndataERitorno) {
  for (int i = 0; i < 256; ++i) {
    std::string byte(1, static_cast<char>(i));
    EXPECT_EQ(da_utf8_a_cp1252(da_cp1252_a_utf8(byte)), byte) << "byte " << i;
  }
}

TEST(Windows1252, VersoUtf8) {
  EXPECT_EQ(da_cp1252_a_utf8("Citt\xE0"), "Città");
  EXPECT_EQ(da_cp1252_a_utf8("\x80 \x8A \x9F"), "€ Š Ÿ");
  EXPECT_EQ(da_cp1252_a_utf8("\x81"), "\xC2\x81");  // undefined: the C1 control
}

TEST(Windows1252, DaUtf8) {
  struct caso {
    const char* utf8;
    const char* cp1252;
  };
  for (caso c : {caso{"Città", "Citt\xE0"}, caso{"€ – …", "\x80 \x96 \x85"}, caso{"中", "?"}, caso{"😀", "?"},
                 caso{"a\xC3", "a?"}, caso{"\xC3(", "?("}, caso{"\xFF", "?"}, caso{"\x80x", "?x"}}) {
    EXPECT_EQ(da_utf8_a_cp1252(c.utf8), c.cp1252) << c.utf8;
  }
}

TEST(Windows1252, Minuscole) {
  EXPECT_EQ(minuscole_cp1252("STAZIONE Pendenza"), "stazione pendenza");
  EXPECT_EQ(minuscole_cp1252("\xC0\xC9\xDE \x8A\x8C\x8E\x9F"), "\xE0\xE9\xFE \x9A\x9C\x9E\xFF");
  // The multiplication sign and sharp s have no lower-case pair; digits and
  // punctuation pass unchanged.
  EXPECT_EQ(minuscole_cp1252("\xD7\xDF 0-9,\"@[`"), "\xD7\xDF 0-9,\"@[`");
}

}  // namespace
