// memo_montagna and memo_indicatori_v_max on a grid of 221 cells (N = 220):
// the cells a mountain section covers and marks, the join of sections close
// together, and the indicator's packed speeds and its errors.
#include <gtest/gtest.h>

#include <optional>
#include <utility>

#include "driver/form1.h"
#include "model/errore_lettura.h"
#include "support/file_system_fake.h"

namespace {

class Timbri : public testing::Test {
 protected:
  sistema_finto sistema;
  Form1 f{sistema};
  void SetUp() override { f.percorso.assign(221, cella{}); }

  void montagna(int32_t inizio, int32_t fine, int32_t tipo) { f.memo_montagna(inizio, fine, tipo); }
  // The covered cells as [first, last], or nullopt when none.
  std::optional<std::pair<size_t, size_t>> coperte() const {
    std::optional<std::pair<size_t, size_t>> r;
    for (size_t i = 0; i < f.percorso.size(); ++i) {
      if (f.percorso[i].montagna == 0) continue;
      if (!r) r = {i, i};
      r->second = i;
    }
    return r;
  }
};

TEST_F(Timbri, CelleCoperteArrotondateAlPari) {
  using coppia = std::pair<size_t, size_t>;
  struct caso {
    int32_t inizio, fine;
    std::optional<coppia> attese;
  };
  for (const caso& k : {caso{1025, 1475, coppia{20, 28}}, caso{1075, 1525, coppia{22, 30}},
                        caso{1000, 1050, coppia{20, 20}}, caso{1000, 1020, std::nullopt}}) {
    SetUp();
    f.numero_montagne = 0;
    montagna(k.inizio, k.fine, 1);
    EXPECT_EQ(coperte(), k.attese) << k.inizio << "-" << k.fine;
    EXPECT_EQ(f.numero_montagne, 1);
  }
}

TEST_F(Timbri, RegolaDiUnione) {
  montagna(1000, 1400, 2);
  montagna(1550, 1800, 5);  // 150 m after: joins, type 3
  EXPECT_EQ(f.percorso[31].montagna, 3);
  montagna(1951, 2200, 5);  // 151 m after: keeps its type
  EXPECT_EQ(f.percorso[39].montagna, 5);
  // A section that covers no cell still counts, and the next one joins it.
  montagna(3000, 3020, 1);
  montagna(3100, 3500, 14);
  EXPECT_EQ(f.numero_montagne, 5);
  EXPECT_EQ(f.percorso[62].montagna, 3);
  // Marks stay on under the join: every fourth covered cell from 62.
  EXPECT_EQ(f.percorso[65].tipo, segno_montagna);
  EXPECT_EQ(f.percorso[69].tipo, segno_montagna);
  EXPECT_EQ(f.percorso[64].tipo, libero);
}

TEST_F(Timbri, SegniSoloInCelleVuote) {
  f.percorso[24].tipo = segnale;
  montagna(1050, 1800, 12);  // cells 21..35, marks at 24, 28, 32
  EXPECT_EQ(f.percorso[24].tipo, segnale);
  EXPECT_EQ(f.percorso[28].tipo, segno_montagna);
  EXPECT_EQ(f.percorso[32].tipo, segno_montagna);
  montagna(1050, 1800, 2);  // no marks: nothing removed either
  EXPECT_EQ(f.percorso[28].tipo, segno_montagna);
  EXPECT_EQ(f.percorso[28].montagna, 3);  // joined with the first (overlap)
}

TEST_F(Timbri, OttantaMontagneNonDiPiu) {
  for (int i = 0; i < 80; ++i) montagna(0, 0, 1);
  EXPECT_EQ(f.numero_montagne, 80);
  EXPECT_THROW(montagna(0, 0, 1), errore_lettura);
  EXPECT_EQ(f.numero_montagne, 80);
}

TEST_F(Timbri, IndicatoreImpacchettaLeCoppie) {
  struct caso {
    int32_t vas, vad;
    int16_t dato1;
  };
  for (const caso& k : {caso{1, 60, 32}, caso{0, 7, 1}, caso{0, 8, 2}, caso{-1, 0, -20}, caso{1638, 35, 32767}}) {
    SetUp();
    int32_t vas = k.vas, vbs = 0, vcs = 2, strisces = 2, vad = k.vad, vbd = 5, vcd = 0, strisced = 1;
    f.memo_indicatori_v_max(1000, vas, vbs, vcs, strisces, vad, vbd, vcd, strisced);
    const cella& c = f.percorso[21];
    EXPECT_EQ(c.tipo, indicatore_v_max);
    EXPECT_EQ(c.dato1, k.dato1) << k.vas << " " << k.vad;
    EXPECT_EQ(c.dato2, 1);
    EXPECT_EQ(c.dato3, 40);
    EXPECT_EQ(c.dato4, 21);
  }
}

TEST_F(Timbri, IndicatoreSuCellaOccupata) {
  f.percorso[21].tipo = segnale;
  f.percorso[21].dato1 = 7;
  int32_t v = 1;
  f.memo_indicatori_v_max(1000, v, v, v, v, v, v, v, v);
  EXPECT_EQ(f.codice_errore, 21);
  EXPECT_EQ(f.percorso[21].tipo, segnale);
  EXPECT_EQ(f.percorso[21].dato1, 7);
}

TEST_F(Timbri, IndicatoreFuoriDagliInteri) {
  int32_t zero = 0, grande = 107374183, uno = 1;
  // vas x 20 does not fit 32 bits.
  EXPECT_THROW(f.memo_indicatori_v_max(1000, grande, zero, zero, zero, zero, zero, zero, zero), errore_lettura);
  // strisces x 10 + strisced does not fit 32 bits.
  int32_t massimo = 2147483647;
  EXPECT_THROW(f.memo_indicatori_v_max(2000, zero, zero, zero, massimo, zero, zero, zero, uno), errore_lettura);
}

}  // namespace
