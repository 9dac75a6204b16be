// The little-endian cursor: the bytes of known numbers, doubles and counted
// strings, everything read back as written, and no read past the end.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "model/cursore.h"
#include "support/esadecimale.h"

namespace {

TEST(Cursore, NumeriLittleEndian) {
  std::string b(19, '\0');
  cursore_scrittura(b.data())
      .byte(0xE6)
      .integer(-1)
      .integer(0x1234)
      .integer(std::numeric_limits<int16_t>::min())
      .long_(-1)
      .long_(0x12345678)
      .long_(std::numeric_limits<int32_t>::min());
  EXPECT_EQ(esadecimale(b), "E6 FF FF 34 12 00 80 FF FF FF FF 78 56 34 12 00 00 00 80");
}

TEST(Cursore, DoppioIeee754) {
  std::string b(24, '\0');
  cursore_scrittura(b.data()).doppio(1.0).doppio(-0.5).doppio(0.1);
  EXPECT_EQ(esadecimale(b),
            "00 00 00 00 00 00 F0 3F "
            "00 00 00 00 00 00 E0 BF "
            "9A 99 99 99 99 99 B9 3F");
}

TEST(Cursore, StringaContata) {
  std::string b;
  in_coda(b, cursore_scrittura::byte_stringa("")).stringa("");
  in_coda(b, cursore_scrittura::byte_stringa("ab\xE0")).stringa("ab\xE0");
  EXPECT_EQ(esadecimale(b), "00 00 03 00 61 62 E0");

  std::string lunga(300, 'x');
  b.clear();
  in_coda(b, cursore_scrittura::byte_stringa(lunga)).stringa(lunga);
  EXPECT_EQ(esadecimale(b.substr(0, 2)), "2C 01");
  EXPECT_EQ(b.size(), 302u);

  // The package payload counts in 4 bytes.
  b.clear();
  in_coda(b, cursore_scrittura::byte_stringa<uint32_t>("ab")).stringa<uint32_t>("ab");
  EXPECT_EQ(esadecimale(b), "02 00 00 00 61 62");
}

// A text too long for its count would shift every later field: it is
// refused, and nothing of it is written.
TEST(Cursore, StringaTroppoLungaRifiutata) {
  const std::string troppo(65536, 'x');
  std::string b(2, '\x55');
  cursore_scrittura s(b.data());
  EXPECT_THROW(s.stringa(troppo), std::length_error);
  EXPECT_EQ(s.posizione(), b.data());
  EXPECT_EQ(b, "\x55\x55");
}

TEST(Cursore, OgniValoreTornaComeScritto) {
  std::string b(2 + 2 + 4 + 8 + 1 + 4 + 8 + 3, '\0');
  cursore_scrittura(b.data())
      .integer(-2)
      .parola(0xBEEF)
      .long_(std::numeric_limits<int32_t>::min())
      .doppio(-0.0)
      .byte(255)
      .parola_lunga(0xDEADBEEF)
      .parola_doppia(0x0102030405060708)
      .testo("abc");
  cursore_lettura l(b);
  EXPECT_EQ(l.integer(), -2);
  EXPECT_EQ(l.parola(), 0xBEEF);
  EXPECT_EQ(l.long_(), std::numeric_limits<int32_t>::min());
  const double zero = l.doppio();
  EXPECT_EQ(zero, 0.0);
  EXPECT_TRUE(std::signbit(zero));
  EXPECT_EQ(l.byte(), 255);
  EXPECT_EQ(l.parola_lunga(), 0xDEADBEEFu);
  EXPECT_EQ(l.parola_doppia(), 0x0102030405060708u);
  EXPECT_EQ(l.testo(3), "abc");
  EXPECT_TRUE(l.finito());

  // From a byte on, as the program headers are read.
  EXPECT_EQ(cursore_lettura(b, 2).parola(), 0xBEEF);
}

// Every read is checked against the end: one that does not fit throws and
// moves nothing, whatever the caller forgot to test first.
TEST(Cursore, NessunaLetturaOltreLaFine) {
  const std::string b = "\x01\x02\x03";
  cursore_lettura l(b);
  l.salta(1);
  EXPECT_TRUE(l.bastano(2));
  EXPECT_FALSE(l.bastano(3));
  EXPECT_THROW(l.parola_lunga(), std::out_of_range);
  EXPECT_THROW(l.testo(3), std::out_of_range);
  EXPECT_THROW(l.salta(3), std::out_of_range);
  EXPECT_EQ(l.posizione(), 1u);
  EXPECT_EQ(l.parola(), 0x0302);
  EXPECT_THROW(l.byte(), std::out_of_range);
  EXPECT_THROW(cursore_lettura(b, 4), std::out_of_range);
  EXPECT_TRUE(cursore_lettura(b, 3).finito());
}

}  // namespace
