// The model's small pieces: the rounding rule, the little-endian encoding,
// the Windows-1252 helpers and the free-cell test.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

#include "model/arrotonda.h"
#include "model/cella.h"
#include "model/codifica.h"
#include "model/windows1252.h"
#include "support/esadecimale.h"

namespace {

TEST(Arrotonda, PariSuiMezzi) {
  struct caso {
    double x, atteso;
  };
  for (caso c : {caso{20.5, 20}, caso{21.5, 22}, caso{-0.5, 0}, caso{2.5, 2}, caso{140.5, 140}, caso{141.5, 142},
                 caso{0.5, 0}, caso{1.5, 2}, caso{-1.5, -2}, caso{-2.5, -2}, caso{1e15 + 0.5, 1e15},
                 caso{1e15 + 1.5, 1e15 + 2}}) {
    EXPECT_EQ(arrotonda(c.x), c.atteso) << c.x;
  }
}

TEST(Arrotonda, FuoriDaiMezzi) {
  struct caso {
    double x, atteso;
  };
  for (caso c : {caso{0, 0}, caso{20.49, 20}, caso{20.51, 21}, caso{-0.51, -1}, caso{-0.49, 0}, caso{19, 19},
                 caso{0.49999999999999994, 0}}) {
    EXPECT_EQ(arrotonda(c.x), c.atteso) << c.x;
  }
}

TEST(Arrotonda, UltimaCellaDellaGriglia) {
  struct caso {
    int32_t lunghezza;
    double n;
  };
  for (caso c : {caso{0, 140}, caso{25, 140}, caso{75, 142}, caso{4000, 220}, caso{1000000, 20140}}) {
    EXPECT_EQ(arrotonda((c.lunghezza + 7000) / 50.0), c.n) << "lunghezza " << c.lunghezza;
  }
  // A signal at 900 m lies in cell 19.
  EXPECT_EQ(arrotonda(900 / 50.0 + 1), 19);
}

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

TEST(Cella, LiberaSoloVuotaOSegnoMontagna) {
  for (uint8_t t : {libero, segnale, fine_rallentamento, inizio_rallentamento, avviso_rallentamento,
                    preavviso_rallentamento, indicatore_v_max, stazione, segno_montagna, abbattimento,
                    abbattimento_nullo, cartello}) {
    cella c;
    c.tipo = t;
    EXPECT_EQ(cella_libera(c), t == 0 || t == 11) << "tipo " << int{t};
  }
}

TEST(Cella, CampiStrettiTengonoIBitBassi) {
  EXPECT_EQ(basso16(70000), 4464);
  EXPECT_EQ(basso16(40000), -25536);
  EXPECT_EQ(basso16(-1), -1);
  EXPECT_EQ(basso8(-1), 255);
  EXPECT_EQ(basso8(100 - 130), 226);
  EXPECT_EQ(basso8(356), 100);
}

}  // namespace
