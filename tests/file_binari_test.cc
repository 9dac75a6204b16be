// The byte images of the three binary files: sizes, field offsets, byte
// order and the worked bytes of the embedded scenario.
#include "model/file_binari.h"
#include "model/tracciato.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

#include "model/arrotonda.h"
#include "model/windows1252.h"
#include "support/esadecimale.h"

namespace {

std::vector<cella> griglia_per(int32_t lunghezza) {
  auto n = static_cast<size_t>(arrotonda((lunghezza + 7000) / 50.0));
  return std::vector<cella>(n + 1);
}

// Offset of record r in a .sim image: each earlier record is 34 + its name.
size_t inizio_voce(const tabella_testata& t, size_t r) {
  size_t o = 0;
  for (size_t i = 0; i < r; ++i) o += byte_per_voce_senza_nome + t[i].nome.size();
  return o;
}

TEST(ImmaginePercorso, DimensioneDaLunghezza) {
  struct caso {
    int32_t lunghezza;
    size_t byte;
  };
  for (caso c : {caso{0, 2115}, caso{25, 2115}, caso{75, 2145}, caso{4000, 3315}}) {
    std::string b = immagine_percorso(griglia_per(c.lunghezza));
    EXPECT_EQ(b.size(), c.byte) << "lunghezza " << c.lunghezza;
    EXPECT_EQ(b, std::string(c.byte, '\0')) << "lunghezza " << c.lunghezza;
  }
}

TEST(ImmaginePercorso, OgniCampoAlSuoPosto) {
  cella c;
  c.tipo = 0x01;
  c.dato1 = 0x0302;
  c.dato2 = 0x0504;
  c.dato3 = 0x0706;
  c.dato4 = 0x0908;
  c.tempo = 0x0A;
  c.avvicinamento = 0x0B;
  c.montagna = 0x0C;
  c.velocita = 0x0D;
  c.pendenza = 0x0E;
  c.aderenza = 0x0F;
  EXPECT_EQ(esadecimale(immagine_percorso({cella{}, c})),
            "00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
            "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F");
}

TEST(ImmaginePercorso, NegativiInComplementoADue) {
  cella c;
  c.dato1 = -1;
  c.dato4 = -32768;
  c.pendenza = 0xFF;
  EXPECT_EQ(esadecimale(immagine_percorso({c})), "00 FF FF 00 00 00 00 00 80 00 00 00 00 FF 00");
}

TEST(ImmaginePercorso, CellaDelSegnale) {
  std::vector<cella> p = griglia_per(4000);
  cella& s = p[19];
  s.tipo = segnale;
  s.dato1 = 30;
  s.dato2 = 10;
  s.dato3 = 0;
  s.dato4 = 6;
  s.tempo = 230;
  std::string b = immagine_percorso(p);
  ASSERT_EQ(b.size(), 3315u);
  EXPECT_EQ(esadecimale(b.substr(285, 10)), "01 1E 00 0A 00 00 00 06 00 E6");
  EXPECT_EQ(b.substr(0, 285), std::string(285, '\0'));
  EXPECT_EQ(b.substr(295), std::string(3315 - 295, '\0'));
}

TEST(ImmagineTestata, TuttaCancellata) {
  EXPECT_EQ(immagine_testata(tabella_testata{}), std::string(2958, '\0'));
}

TEST(ImmagineTestata, Voce85DelloScenario) {
  tabella_testata t{};
  voce& scenario = t[85];
  scenario.primo = 0;
  scenario.secondo = 0;
  scenario.terzo = 1;
  scenario.nome = "Borvale PF_Borvale PR";
  scenario.intero1 = 610;
  t[86].nome = "31758";
  std::string b = immagine_testata(t);
  ASSERT_EQ(b.size(), 2958u + 21 + 5);

  size_t r85 = 85 * byte_per_voce_senza_nome;
  ASSERT_EQ(inizio_voce(t, 85), r85);
  EXPECT_EQ(b.substr(0, r85), std::string(r85, '\0'));
  EXPECT_EQ(esadecimale(b.substr(r85, 16)), "00 00 00 00 00 00 00 00 00 01 00 00 00 00 15 00");
  EXPECT_EQ(b.substr(r85 + 16, 21), "Borvale PF_Borvale PR");
  EXPECT_EQ(esadecimale(b.substr(r85 + 37, 2)), "62 02");

  size_t r86 = inizio_voce(t, 86);
  EXPECT_EQ(r86, r85 + 34 + 21);
  EXPECT_EQ(esadecimale(b.substr(r86 + 14, 2)), "05 00");
  EXPECT_EQ(b.substr(r86 + 16, 5), "31758");
  EXPECT_EQ(b.size(), r86 + 34 + 5);
}

TEST(ImmagineTestata, OgniCampoAlSuoPosto) {
  tabella_testata t{};
  voce& v = t[0];
  v.tipo = 0x01;
  v.primo = 0x05040302;
  v.secondo = 0x09080706;
  v.terzo = 0x0D0C0B0A;
  v.marca = 0x0E;
  v.nome = "ab";
  v.intero1 = 0x1211;
  v.intero2 = 0x1413;
  v.intero3 = 0x1615;
  v.intero4 = 0x1817;
  v.intero5 = 0x1A19;
  v.opzione1 = 0x1B;
  v.opzione2 = 0x1C;
  v.opzione3 = 0x1D;
  v.opzione4 = 0x1E;
  v.orario = 0x2221201F;
  std::string b = immagine_testata(t);
  ASSERT_EQ(b.size(), 2958u + 2);
  EXPECT_EQ(esadecimale(b.substr(0, 36)),
            "01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 02 00 61 62 "
            "11 12 13 14 15 16 17 18 19 1A 1B 1C 1D 1E 1F 20 21 22");
  EXPECT_EQ(b.substr(36), std::string(86 * 34, '\0'));
}

TEST(ImmagineTestata, NegativiInComplementoADue) {
  tabella_testata t{};
  t[0].primo = -1;
  t[0].intero1 = -1;
  t[0].orario = -2;
  std::string b = immagine_testata(t);
  EXPECT_EQ(esadecimale(b.substr(1, 4)), "FF FF FF FF");
  EXPECT_EQ(esadecimale(b.substr(16, 2)), "FF FF");
  EXPECT_EQ(esadecimale(b.substr(30, 4)), "FE FF FF FF");
}

TEST(ImmagineTestata, NomeNonAsciiUnByteACarattere) {
  tabella_testata t{};
  t[1].nome = da_utf8_a_cp1252("Città");
  std::string b = immagine_testata(t);
  ASSERT_EQ(b.size(), 2958u + 5);
  EXPECT_EQ(esadecimale(b.substr(34 + 14, 7)), "05 00 43 69 74 74 E0");
}

TEST(ImmagineTestata, NomeOltreIlContatoreRifiutato) {
  tabella_testata t{};
  t[1].nome.assign(65535, 'x');
  std::string b = immagine_testata(t);
  EXPECT_EQ(b.size(), 2958u + 65535);
  EXPECT_EQ(esadecimale(b.substr(34 + 14, 2)), "FF FF");
  t[1].nome.push_back('x');
  EXPECT_THROW(immagine_testata(t), std::length_error);
}

// Filled as the profile reader does: the origin heading along +y, doubles
// from metre 2 to M - 2, the last two metres Empty.
tabella_tracciato tracciato_pieno(int32_t m) {
  tabella_tracciato t;
  t.crea(m);
  t.metti_intero(0, 0, 0);
  t.metti_intero(1, 0, 0);
  t.metti_intero(0, 1, 0);
  t.metti_intero(1, 1, 1);
  for (int32_t i = 2; i <= m - 2; ++i) {
    t.metti_doppio(i, 0, 0.0);
    t.metti_doppio(i, 1, i);
  }
  return t;
}

TEST(ImmagineTracciato, LineaDi11000Metri) {
  std::string b(tracciato_pieno(11000).immagine());
  ASSERT_EQ(b.size(), 219964u);
  EXPECT_EQ(esadecimale(b.substr(0, 18)), "02 00 00 00 02 00 00 00 05 00 00 00 00 00 00 00 00 00");

  size_t meta = b.size() / 2;
  EXPECT_EQ(esadecimale(b.substr(meta - 4, 4)), "00 00 00 00");
  EXPECT_EQ(esadecimale(b.substr(meta, 18)), "02 00 00 00 02 00 01 00 05 00 00 00 00 00 00 00 00 40");
  EXPECT_EQ(esadecimale(b.substr(b.size() - 14)), "05 00 00 00 00 00 00 7B C5 40 00 00 00 00");
}

TEST(ImmagineTracciato, ValoriInteriNegativiEAssente) {
  tabella_tracciato t;
  EXPECT_EQ(t.immagine(), "");
  t.crea(1);
  t.metti_intero(0, 0, -1);
  t.metti_doppio(1, 1, -0.5);
  EXPECT_EQ(esadecimale(t.immagine()), "02 00 FF FF 00 00 00 00 05 00 00 00 00 00 00 00 E0 BF");
}

}  // namespace
