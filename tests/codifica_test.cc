// The little-endian encoding of numbers, doubles and counted strings.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "model/codifica.h"
#include "support/esadecimale.h"

namespace {

TEST(Codifica, NumeriLittleEndian) {
  std::string b;
  metti_byte(b, 0xE6);
  metti_integer(b, -1);
  metti_integer(b, 0x1234);
  metti_integer(b, std::numeric_limits<int16_t>::min());
  metti_long(b, -1);
  metti_long(b, 0x12345678);
  metti_long(b, std::numeric_limits<int32_t>::min());
  EXPECT_EQ(esadecimale(b), "E6 FF FF 34 12 00 80 FF FF FF FF 78 56 34 12 00 00 00 80");
}

TEST(Codifica, DoppioIeee754) {
  std::string b;
  metti_doppio(b, 1.0);
  metti_doppio(b, -0.5);
  metti_doppio(b, 0.1);
  EXPECT_EQ(esadecimale(b),
            "00 00 00 00 00 00 F0 3F "
            "00 00 00 00 00 00 E0 BF "
            "9A 99 99 99 99 99 B9 3F");
}

TEST(Codifica, StringaContata) {
  std::string b;
  metti_stringa(b, "");
  metti_stringa(b, "ab\xE0");
  EXPECT_EQ(esadecimale(b), "00 00 03 00 61 62 E0");

  std::string lunga(300, 'x');
  b.clear();
  metti_stringa(b, lunga);
  EXPECT_EQ(esadecimale(b.substr(0, 2)), "2C 01");
  EXPECT_EQ(b.size(), 302u);
}

}  // namespace
