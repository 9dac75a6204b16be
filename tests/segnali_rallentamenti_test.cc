// memo_segnale and memo_rallentamento on a grid of 221 cells (N = 220): the
// cells each one writes, the values packed into them, and the errors that
// leave the grid as it was.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "driver/form1.h"
#include "model/cella.h"
#include "model/file_binari.h"
#include "support/file_system_fake.h"

namespace {

struct griglia : testing::Test {
  sistema_finto sistema;
  Form1 f{sistema};
  griglia() { f.percorso.assign(221, cella{}); }

  cella& c(int i) { return f.percorso.at(static_cast<size_t>(i)); }
  std::string immagine() const { return immagine_percorso(f.percorso); }

  void metti_segnale(int32_t posizione, int32_t sx, int32_t s1, int32_t s2, int32_t s3, int32_t rapp, int32_t dx,
                     int32_t d1, int32_t d2, int32_t d3, int32_t tempo) {
    f.memo_segnale(posizione, sx, s1, s2, s3, rapp, dx, d1, d2, d3, tempo);
  }
  void metti_rallentamento(int32_t x, int32_t v, int32_t l, int32_t f_tt, int32_t f_ta, int32_t d_v) {
    f.memo_rallentamento(x, v, l, f_tt, f_ta, d_v);
  }
};

// --- memo_segnale -------------------------------------------------------------

using MemoSegnale = griglia;

TEST_F(MemoSegnale, LineaIncorporata) {
  metti_segnale(900, 2, 3, 1, 0, 0, 0, 0, 0, 0, 230);
  EXPECT_EQ(f.codice_errore, 0);
  const cella& s = c(19);
  EXPECT_EQ(s.tipo, segnale);
  EXPECT_EQ(s.dato1, 30);
  EXPECT_EQ(s.dato2, 10);
  EXPECT_EQ(s.dato3, 0);
  EXPECT_EQ(s.dato4, 6);
  EXPECT_EQ(s.tempo, 230);
  for (int i = 0; i < 221; ++i) {
    int atteso = i == 17 ? 61 : i == 15 ? 62 : i == 13 ? 63 : i == 11 ? 64 : 0;
    EXPECT_EQ(c(i).avvicinamento, atteso) << "cella " << i;
    if (i != 19) {
      EXPECT_EQ(c(i).tipo, libero) << "cella " << i;
    }
  }
}

TEST_F(MemoSegnale, ValoriImpacchettatiSuiBassi16Bit) {
  metti_segnale(1000, 1, 3300, 2, 1, 10000, 1, 0, 7, 9, 0);
  EXPECT_EQ(c(21).dato1, static_cast<int16_t>(-32536));  // 33000
  EXPECT_EQ(c(21).dato2, 27);
  EXPECT_EQ(c(21).dato3, 19);
  EXPECT_EQ(c(21).dato4, -31068);      // 100004 kept to 16 bits
  EXPECT_EQ(c(19).avvicinamento, 41);  // sx x 3 + dx = 4 in the tens, board 1
}

TEST_F(MemoSegnale, Tempo) {
  struct caso {
    int32_t sx, tempo;
    uint8_t atteso;
  };
  for (caso k : {caso{2, 50, 101}, caso{2, 1, 101}, caso{2, 100, 101}, caso{2, 101, 101}, caso{2, 0, 0},
                 caso{2, -5, 251}, caso{2, 300, 44}, caso{1, 230, 0}, caso{0, 50, 0}, caso{3, 230, 0}}) {
    f.percorso.assign(221, cella{});
    metti_segnale(900, k.sx, 0, 0, 0, 0, 0, 0, 0, 0, k.tempo);
    EXPECT_EQ(c(19).tempo, k.atteso) << "sx " << k.sx << ", tempo " << k.tempo;
  }
}

TEST_F(MemoSegnale, SostituisceUnSegnoDiMontagna) {
  c(19).tipo = segno_montagna;
  c(19).montagna = 2;
  metti_segnale(900, 2, 3, 1, 0, 0, 0, 0, 0, 0, 230);
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(c(19).tipo, segnale);
  EXPECT_EQ(c(19).montagna, 2);
}

TEST_F(MemoSegnale, CellaOccupataDaErrore16ENonScriveNulla) {
  for (uint8_t tipo : {inizio_rallentamento, stazione, cartello, abbattimento_nullo}) {
    f.percorso.assign(221, cella{});
    f.codice_errore = 0;
    c(19).tipo = tipo;
    const std::string prima = immagine();
    metti_segnale(900, 2, 3, 1, 0, 0, 0, 0, 0, 0, 230);
    EXPECT_EQ(f.codice_errore, 16) << "tipo " << int{tipo};
    EXPECT_EQ(immagine(), prima) << "tipo " << int{tipo};
  }
}

TEST_F(MemoSegnale, TabelleDelSegnalePiuVicinoSovrascrivono) {
  metti_segnale(900, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0);   // cell 19: boards in 17, 15, 13, 11
  metti_segnale(1000, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0);  // cell 21: boards in 19, 17, 15, 13
  EXPECT_EQ(c(19).avvicinamento, 41);                 // the signal cell itself takes a board
  EXPECT_EQ(c(17).avvicinamento, 42);
  EXPECT_EQ(c(15).avvicinamento, 43);
  EXPECT_EQ(c(13).avvicinamento, 44);
  EXPECT_EQ(c(11).avvicinamento, 64);
}

TEST_F(MemoSegnale, TabellePrimaDellaCellaZeroSaltate) {
  struct caso {
    int32_t posizione;
    int cella_segnale;
    std::vector<int> tabelle;  // cells with boards 1, 2, ...
  };
  for (const caso& k :
       {caso{0, 1, {}}, caso{100, 3, {1}}, caso{250, 6, {4, 2, 0}}, caso{300, 7, {5, 3, 1}}, caso{-50, 0, {}}}) {
    f.percorso.assign(221, cella{});
    metti_segnale(k.posizione, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(c(k.cella_segnale).tipo, segnale) << k.posizione;
    for (int i = 0; i < 221; ++i) {
      int atteso = 0;
      for (size_t b = 0; b < k.tabelle.size(); ++b)
        if (k.tabelle[b] == i) atteso = 61 + static_cast<int>(b);
      EXPECT_EQ(c(i).avvicinamento, atteso) << "segnale a " << k.posizione << ", cella " << i;
    }
  }
}

// --- memo_rallentamento -------------------------------------------------------

using MemoRallentamento = griglia;

TEST_F(MemoRallentamento, ConAvvisoEPreavvisi) {
  metti_rallentamento(2000, 60, 500, 7, 1, 0);
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(c(41).tipo, inizio_rallentamento);
  EXPECT_EQ(c(51).tipo, fine_rallentamento);
  EXPECT_EQ(c(17).tipo, avviso_rallentamento);
  for (int i : {41, 51, 17}) EXPECT_EQ(c(i).dato1, 60) << i;
  EXPECT_EQ(c(41).dato3, 7);
  EXPECT_EQ(c(51).dato3, 7);
  EXPECT_EQ(c(17).dato3, 0);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(c(16 - k).tipo, preavviso_rallentamento) << 16 - k;
    EXPECT_EQ(c(16 - k).dato1, k + 1) << 16 - k;
  }
  // d_v = 0 leaves dato2 alone everywhere.
  for (int i = 0; i < 221; ++i) EXPECT_EQ(c(i).dato2, 0) << i;
  int segnate = 0;
  for (int i = 0; i < 221; ++i) segnate += c(i).tipo != libero;
  EXPECT_EQ(segnate, 7);
}

TEST_F(MemoRallentamento, DvScrittoInTuttiIPunti) {
  metti_rallentamento(2000, 60, 500, 7, 1, 9);
  for (int i : {41, 51, 17}) EXPECT_EQ(c(i).dato2, 9) << i;
  for (int k = 0; k < 4; ++k) EXPECT_EQ(c(16 - k).dato2, k + 1) << 16 - k;
}

TEST_F(MemoRallentamento, PuntiDiAvvisoSecondoLaPosizione) {
  struct caso {
    int32_t x;
    int inizio, fine, avviso;    // avviso -1: none
    std::vector<int> preavvisi;  // cells with dato1 1, 2, 3, 4
  };
  for (const caso& k :
       {caso{1500, 31, 33, -1, {}}, caso{1501, 31, 33, 7, {6, 5, 4, 3}}, caso{1525, 32, 34, 8, {6, 5, 4, 3}},
        caso{1550, 32, 34, 8, {7, 6, 5, 4}}, caso{100, 3, 5, -1, {}}}) {
    f.percorso.assign(221, cella{});
    metti_rallentamento(k.x, 30, 100, 0, 1, 0);
    EXPECT_EQ(f.codice_errore, 0) << k.x;
    for (int i = 0; i < 221; ++i) {
      uint8_t tipo = libero;
      int16_t dato1 = 0;
      if (i == k.inizio) tipo = inizio_rallentamento, dato1 = 30;
      if (i == k.fine) tipo = fine_rallentamento, dato1 = 30;
      if (i == k.avviso) tipo = avviso_rallentamento, dato1 = 30;
      for (size_t p = 0; p < k.preavvisi.size(); ++p)
        if (k.preavvisi[p] == i) tipo = preavviso_rallentamento, dato1 = static_cast<int16_t>(p + 1);
      EXPECT_EQ(c(i).tipo, tipo) << "x " << k.x << ", cella " << i;
      EXPECT_EQ(c(i).dato1, dato1) << "x " << k.x << ", cella " << i;
    }
  }
}

TEST_F(MemoRallentamento, InizioEFineNellaStessaCella) {
  metti_rallentamento(2000, 60, 0, 7, 0, 0);
  EXPECT_EQ(c(41).tipo, inizio_rallentamento);
  EXPECT_EQ(c(41).dato1, 60);
  EXPECT_EQ(c(41).dato3, 7);
}

TEST_F(MemoRallentamento, SegnoDiMontagnaSostituito) {
  c(17).tipo = segno_montagna;
  metti_rallentamento(2000, 60, 500, 7, 0, 0);
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(c(17).tipo, avviso_rallentamento);
}

TEST_F(MemoRallentamento, CelleOccupateLascianoLaGrigliaComEra) {
  struct caso {
    int occupata;
    int32_t x;
    int codice;
  };
  for (caso k : {caso{17, 2000, 17}, caso{41, 2000, 18}, caso{51, 2000, 19}}) {
    f.percorso.assign(221, cella{});
    f.codice_errore = 0;
    c(k.occupata).tipo = segnale;
    const std::string prima = immagine();
    metti_rallentamento(k.x, 60, 500, 7, 1, 9);
    EXPECT_EQ(f.codice_errore, k.codice) << "cella " << k.occupata;
    EXPECT_EQ(immagine(), prima) << "cella " << k.occupata;
  }
}

TEST_F(MemoRallentamento, SenzaAvvisoLaCellaDiAvvisoNonConta) {
  c(7).tipo = segnale;  // the warning cell of x = 1500, were there one
  metti_rallentamento(1500, 60, 100, 0, 1, 0);
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(c(31).tipo, inizio_rallentamento);
}

TEST_F(MemoRallentamento, PreavvisoOccupatoDaErrore20DopoIPunti) {
  c(14).tipo = cartello;
  metti_rallentamento(2000, 60, 500, 7, 1, 0);
  EXPECT_EQ(f.codice_errore, 20);
  EXPECT_EQ(c(41).tipo, inizio_rallentamento);
  EXPECT_EQ(c(51).tipo, fine_rallentamento);
  EXPECT_EQ(c(17).tipo, avviso_rallentamento);
  for (int i : {16, 15, 13}) EXPECT_EQ(c(i).tipo, libero) << i;
}

TEST_F(MemoRallentamento, AvvisoNellaPrimaCellaDiPreavviso) {
  // x = 1575: the warning point (8.5 -> 8) lands where the first pre-warning
  // cell goes (7.5 -> 8), and the check sees it.
  metti_rallentamento(1575, 60, 100, 0, 1, 0);
  EXPECT_EQ(f.codice_errore, 20);
  EXPECT_EQ(c(8).tipo, avviso_rallentamento);
  for (int i : {7, 6, 5}) EXPECT_EQ(c(i).tipo, libero) << i;
}

TEST_F(MemoRallentamento, ValoriSuiBassi16Bit) {
  metti_rallentamento(2000, 70000, 500, -70000, 0, 65537);
  EXPECT_EQ(c(41).dato1, 4464);
  EXPECT_EQ(c(41).dato3, static_cast<int16_t>(-4464));
  EXPECT_EQ(c(41).dato2, 1);
}

}  // namespace
