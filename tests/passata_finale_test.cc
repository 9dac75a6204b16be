// The finishing pass on hand-made grids: where its code points go, which codes
// it lowers, the errors it records, and that it stays inside cells 0..N.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "driver/form1.h"
#include "support/file_system_fake.h"

namespace {

class passata_finale : public testing::Test {
 protected:
  // A grid with cells 0..n, all free.
  void griglia(int32_t n) { f.percorso.assign(static_cast<size_t>(n) + 1, cella{}); }
  void metti(int32_t c, uint8_t tipo, int16_t dato1 = 0) {
    f.percorso.at(c).tipo = tipo;
    f.percorso.at(c).dato1 = dato1;
  }
  void rallentamento(int32_t inizio, int32_t fine, int16_t velocita) {
    metti(inizio, inizio_rallentamento, velocita);
    metti(fine, fine_rallentamento, velocita);
  }
  // Every code point of the grid, cell -> code.
  std::map<int32_t, int16_t> abbattimenti() const {
    std::map<int32_t, int16_t> m;
    for (size_t c = 0; c < f.percorso.size(); ++c)
      if (f.percorso[c].tipo == abbattimento) m[static_cast<int32_t>(c)] = f.percorso[c].dato1;
    return m;
  }
  // The code points the pass added: those of the grid minus `prima`.
  std::map<int32_t, int16_t> nuovi(const std::map<int32_t, int16_t>& prima) const {
    std::map<int32_t, int16_t> m = abbattimenti();
    for (const auto& [c, v] : prima)
      if (m.count(c) && m[c] == v) m.erase(c);
    return m;
  }
  std::map<int32_t, int16_t> passa() {
    std::map<int32_t, int16_t> prima = abbattimenti();
    f.passata_finale();
    return nuovi(prima);
  }
  static std::map<int32_t, int16_t> a_180(std::initializer_list<int32_t> celle) {
    std::map<int32_t, int16_t> m;
    for (int32_t c : celle) m[c] = 180;
    return m;
  }

  sistema_finto sistema;
  Form1 f{sistema};
};

TEST_F(passata_finale, esempio_della_griglia) {
  griglia(220);
  metti(16, avviso_rallentamento, 60);
  rallentamento(40, 60, 60);
  metti(11, segnale);
  metti(65, segnale);
  std::vector<cella> prima = f.percorso;

  EXPECT_EQ(passa(), a_180({10, 35, 29, 22, 48, 56, 64}));
  EXPECT_EQ(f.codice_errore, 0);
  // Nothing else in the grid changed.
  for (int32_t c : {10, 35, 29, 22, 48, 56, 64}) prima[c] = f.percorso[c];
  for (size_t c = 0; c < prima.size(); ++c) {
    EXPECT_EQ(f.percorso[c].tipo, prima[c].tipo) << "cella " << c;
    EXPECT_EQ(f.percorso[c].dato1, prima[c].dato1) << "cella " << c;
  }
}

TEST_F(passata_finale, senza_rallentamenti_nulla_cambia) {
  griglia(220);
  metti(11, segnale);
  metti(30, abbattimento, 270);
  metti(50, stazione, 1);
  metti(70, fine_rallentamento, 60);
  EXPECT_TRUE(passa().empty());
  EXPECT_EQ(f.codice_errore, 0);
}

TEST_F(passata_finale, gruppi_prima_dell_inizio_secondo_l_indice) {
  struct caso {
    int32_t inizio;
    std::initializer_list<int32_t> attese;
  };
  const caso casi[] = {
      {7, {}},  {8, {3}},          {13, {8}},          {14, {9, 3}},
      {20, {15, 9}}, {21, {16, 10, 3}}, {40, {35, 29, 22}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE("inizio " + std::to_string(c.inizio));
    griglia(220);
    // 110: no walk, so only the groups place code points.
    metti(c.inizio, inizio_rallentamento, 110);
    EXPECT_EQ(passa(), a_180(c.attese));
    EXPECT_EQ(f.codice_errore, 0);
  }
}

TEST_F(passata_finale, gruppo_prende_la_prima_cella_libera) {
  griglia(220);
  metti(40, inizio_rallentamento, 120);
  // Group 5-7: the two nearest cells are taken, the third holds a mountain mark.
  metti(35, stazione, 1);
  metti(34, cartello, 80);
  metti(33, segno_montagna);
  // Group 11-13: only the nearest cell is taken.
  metti(29, segnale);
  // Group 18-20: all three are taken.
  metti(22, segnale);
  metti(21, abbattimento, 200);
  metti(20, indicatore_v_max, 5);

  EXPECT_EQ(passa(), a_180({33, 28}));
  EXPECT_EQ(f.codice_errore, 12);
  EXPECT_EQ(f.posizione_errore, 40 * 50);
  EXPECT_EQ(f.percorso[21].dato1, 200);
}

TEST_F(passata_finale, soglia_di_velocita_della_passeggiata) {
  struct caso {
    int16_t velocita;
    bool passeggiata;
  };
  const caso casi[] = {{110, false}, {111, false}, {109, true}, {0, true}, {-5, true}};
  for (const caso& c : casi) {
    SCOPED_TRACE("velocita " + std::to_string(c.velocita));
    griglia(220);
    rallentamento(30, 50, c.velocita);
    metti(55, segnale);
    // Groups at 25, 19, 12 always; the walk at 38 and 46, the look-ahead at 54.
    std::map<int32_t, int16_t> attese = a_180({25, 19, 12});
    if (c.passeggiata) attese = a_180({25, 19, 12, 38, 46, 54});
    EXPECT_EQ(passa(), attese);
  }
}

TEST_F(passata_finale, nessuno_sguardo_avanti_senza_passeggiata) {
  griglia(220);
  // A warning-point scan leaves its cursor 21 cells back; a slowdown of 110
  // or more that looked ahead from there would put a code point before the
  // signal in cell 28.
  metti(25, avviso_rallentamento, 120);
  metti(30, inizio_rallentamento, 120);
  metti(28, segnale);
  EXPECT_EQ(passa(), a_180({24, 19, 12}));
  EXPECT_EQ(f.percorso[27].tipo, libero);
}

TEST_F(passata_finale, prima_dei_segnali_vicini_all_avviso) {
  struct caso {
    const char* descrizione;
    uint8_t tipo_a, tipo_b;      // cells s - 1 and s - 2 before the pass
    int16_t codice_a, codice_b;  // their codes, when code points
    int16_t atteso_a, atteso_b;  // their codes after the pass (0: not a code point)
    int32_t errore;
  };
  const caso casi[] = {
      {"a libera", libero, libero, 0, 0, 180, 0, 0},
      {"a segno di montagna", segno_montagna, libero, 0, 0, 180, 0, 0},
      {"a occupata, b libera", stazione, libero, 0, 0, 0, 180, 0},
      {"a codice 270, b libera: nuovo in b", abbattimento, libero, 270, 0, 270, 180, 0},
      {"a e b codici: solo a abbassata", abbattimento, abbattimento, 270, 300, 180, 300, 0},
      {"a codice basso resta", abbattimento, abbattimento, 150, 300, 150, 300, 0},
      {"a codice 180 resta", abbattimento, stazione, 180, 0, 180, 0, 0},
      {"a occupata, b codice abbassata", cartello, abbattimento, 0, 250, 0, 180, 0},
      {"a e b occupate", cartello, stazione, 0, 0, 0, 0, 11},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.descrizione);
    griglia(220);
    f.codice_errore = 0;
    f.posizione_errore = 0;
    metti(60, avviso_rallentamento, 60);
    metti(50, segnale);
    metti(49, c.tipo_a, c.codice_a);
    metti(48, c.tipo_b, c.codice_b);
    f.passata_finale();
    EXPECT_EQ(f.percorso[49].tipo == abbattimento ? f.percorso[49].dato1 : 0, c.atteso_a);
    EXPECT_EQ(f.percorso[48].tipo == abbattimento ? f.percorso[48].dato1 : 0, c.atteso_b);
    EXPECT_EQ(f.codice_errore, c.errore);
    EXPECT_EQ(f.posizione_errore, c.errore ? 50 * 50 : 0);
  }
}

TEST_F(passata_finale, finestra_dell_avviso) {
  griglia(220);
  metti(60, avviso_rallentamento, 60);
  // Every signal of cells 40..59 is handled; 39 is outside the window.
  metti(59, segnale);
  metti(45, segnale);
  metti(40, segnale);
  metti(39, segnale);
  EXPECT_EQ(passa(), a_180({58, 44, 38}));
}

TEST_F(passata_finale, segnali_in_fondo_alla_linea_e_cella_uno) {
  griglia(220);
  metti(10, avviso_rallentamento, 60);
  // Cell 2 is below the lowest signal cell; the signal in 3 finds cell 2
  // taken and puts its code point in cell 1, where the stamps go.
  metti(2, segnale);
  metti(3, segnale);
  EXPECT_EQ(passa(), a_180({1}));
  EXPECT_EQ(f.percorso[1].dato1, 180);
}

TEST_F(passata_finale, passeggiata_attorno_alla_fine) {
  struct caso {
    const char* descrizione;
    int32_t fine;
    std::initializer_list<int32_t> occupate;
    std::initializer_list<int32_t> attese;  // walk and look-ahead only
    int32_t errore, posizione;
  };
  const caso casi[] = {
      {"piu corto di 8 celle", 35, {}, {}, 0, 0},
      {"ottava cella e la fine: prima di essa", 38, {}, {37}, 0, 0},
      {"ottava cella e la fine, prima occupata: dopo di essa", 38, {37}, {39}, 0, 0},
      {"ottava occupata: indietro, poi 8 da li", 60, {38}, {37, 45, 53}, 0, 0},
      {"ottava e precedente occupate: avanti, poi 8 da li", 60, {38, 37}, {39, 47, 55}, 0, 0},
      {"tre occupate: errore 13 e nessun altro", 60, {37, 38, 39}, {}, 13, 38 * 50},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.descrizione);
    griglia(220);
    f.codice_errore = 0;
    f.posizione_errore = 0;
    rallentamento(30, c.fine, 60);
    for (int32_t o : c.occupate) metti(o, stazione, 1);
    std::map<int32_t, int16_t> attese = a_180({25, 19, 12});
    for (int32_t a : c.attese) attese[a] = 180;
    EXPECT_EQ(passa(), attese);
    EXPECT_EQ(f.codice_errore, c.errore);
    EXPECT_EQ(f.posizione_errore, c.posizione);
  }
}

TEST_F(passata_finale, passeggiata_finisce_alla_prima_fine) {
  griglia(220);
  rallentamento(30, 70, 60);
  // The end of an overlapping slowdown ends the walk; the look-ahead starts
  // there and finds the signal 12 cells on.
  metti(42, fine_rallentamento, 40);
  metti(54, segnale);
  EXPECT_EQ(passa(), a_180({25, 19, 12, 38, 53}));
}

TEST_F(passata_finale, sguardo_avanti) {
  struct caso {
    const char* descrizione;
    int32_t segnale;
    std::initializer_list<int32_t> occupate;
    std::initializer_list<int32_t> attese;
    int32_t errore, posizione;
  };
  const caso casi[] = {
      {"segnale a 12 celle", 62, {}, {61}, 0, 0},
      {"segnale a 13 celle: ignorato", 63, {}, {}, 0, 0},
      {"cella prima occupata: quella ancora prima", 62, {61}, {60}, 0, 0},
      // The error's position is the slowdown end, not the signal.
      {"entrambe occupate: errore alla fine", 62, {61, 60}, {}, 13, 50 * 50},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.descrizione);
    griglia(220);
    f.codice_errore = 0;
    f.posizione_errore = 0;
    rallentamento(30, 50, 60);
    metti(c.segnale, segnale);
    for (int32_t o : c.occupate) metti(o, stazione, 1);
    std::map<int32_t, int16_t> attese = a_180({25, 19, 12, 38, 46});
    for (int32_t a : c.attese) attese[a] = 180;
    EXPECT_EQ(passa(), attese);
    EXPECT_EQ(f.codice_errore, c.errore);
    EXPECT_EQ(f.posizione_errore, c.posizione);
  }
}

TEST_F(passata_finale, passeggiata_che_raggiunge_n) {
  // No end cell: the walk stops at N and nothing is placed beyond it.
  griglia(100);
  metti(90, inizio_rallentamento, 60);
  EXPECT_EQ(passa(), a_180({85, 79, 72, 98}));
  EXPECT_EQ(f.percorso.size(), 101u);

  // The 8th cell is N itself, taken, and so is N - 1: cell N + 1 counts as
  // taken, so error 13 at N.
  griglia(100);
  metti(92, inizio_rallentamento, 60);
  metti(99, stazione, 1);
  metti(100, stazione, 1);
  f.codice_errore = 0;
  EXPECT_EQ(passa(), a_180({87, 81, 74}));
  EXPECT_EQ(f.codice_errore, 13);
  EXPECT_EQ(f.posizione_errore, 100 * 50);

  // The look-ahead from an end near N reads no further than N.
  griglia(100);
  rallentamento(85, 97, 60);
  metti(100, segnale);
  f.codice_errore = 0;
  EXPECT_EQ(passa(), a_180({80, 74, 67, 93, 99}));
  EXPECT_EQ(f.codice_errore, 0);
}

TEST_F(passata_finale, ancore_fino_a_n_meno_2) {
  griglia(100);
  // A start in N - 1 is never an anchor.
  metti(99, inizio_rallentamento, 60);
  EXPECT_TRUE(passa().empty());
  metti(98, inizio_rallentamento, 60);
  EXPECT_EQ(passa(), a_180({93, 87, 80}));
}

TEST_F(passata_finale, errore_successivo_sovrascrive) {
  griglia(220);
  // Error 11 at the signal in cell 30, then error 12 at the start in cell 60.
  metti(40, avviso_rallentamento, 60);
  metti(30, segnale);
  metti(29, stazione, 1);
  metti(28, stazione, 1);
  metti(60, inizio_rallentamento, 120);
  for (int32_t c : {55, 54, 53}) metti(c, stazione, 1);
  f.passata_finale();
  EXPECT_EQ(f.codice_errore, 12);
  EXPECT_EQ(f.posizione_errore, 60 * 50);
}

TEST(minimo, il_minore_dei_due) {
  EXPECT_EQ(Form1::minimo(180, 270), 180);
  EXPECT_EQ(Form1::minimo(180, 150), 150);
  EXPECT_EQ(Form1::minimo(180, -5), -5);
  EXPECT_EQ(Form1::minimo(180, 180), 180);
}

}  // namespace
