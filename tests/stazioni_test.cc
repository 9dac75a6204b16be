// Station lines of the train source, read through the train-source phase on a
// grid sized by hand (N = 220 unless said otherwise): the records, the stretch
// each stop occupies by kind, the grid marks, and the station errors with
// their positions and what they leave on disk.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "model/cella.h"
#include "support/banco_treno.h"

namespace {

// A station line with the given position, kind, length, value 6 (opzione3)
// and value 5 (opzione4); the other values fixed.
std::string linea(int64_t posizione, int tipo, int64_t ls, int opzione3 = 0, int opzione4 = 0,
                  std::string nome = "Fermata") {
  return "stazione, " + std::to_string(posizione) + ", " + std::to_string(tipo) + ", " + std::to_string(ls) + ", 3, " +
         std::to_string(opzione4) + ", " + std::to_string(opzione3) + ", 1,2,4, 5,6,7, 8, 13,0,0, " + nome;
}

// A first stop that marks nothing and ends at 0.
const std::string prima = linea(0, 25, 0);

// Only the cells given hold a stop (with its station number) or an approach mark.
void solo_segni(banco_treno& b, const std::map<int, int>& fermate, const std::map<int, int>& avvicinamento,
                const std::string& caso) {
  for (int i = 0; i < static_cast<int>(b.f.percorso.size()); ++i) {
    auto s = fermate.find(i);
    EXPECT_EQ(b.c(i).tipo, s == fermate.end() ? libero : stazione) << caso << ", cella " << i;
    if (s != fermate.end()) {
      EXPECT_EQ(b.c(i).dato1, s->second) << caso << ", cella " << i;
    }
    auto a = avvicinamento.find(i);
    EXPECT_EQ(b.c(i).avvicinamento, a == avvicinamento.end() ? 0 : a->second) << caso << ", cella " << i;
  }
}

struct Stazioni : testing::Test, banco_treno {
  Stazioni() { f.posizione_errore = -1; }
};

TEST_F(Stazioni, EsempioIncorporato) {
  sorgente({"[generale]",
            "stazione,       0, 12,  400,  0, 0, 0,  1,1,0,  4,1,1,    1,  13,28, 0, BORVALE P.F.",
            "stazione,    1550, 12,  300,  0, 0, 0,  1,1,0,  2,1,1,    0,  13,31, 0, BORVALE P.R.",
            "stazione,    4000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,  0,   12, 0, 0, Ultima stazione", "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(contatore_stazioni, 4);

  const voce& a = r(1);
  EXPECT_EQ(a.tipo, 12);
  EXPECT_EQ(a.primo, -200);
  EXPECT_EQ(a.secondo, 200);
  EXPECT_EQ(a.terzo, 0);
  EXPECT_EQ(a.marca, 0);
  EXPECT_EQ(a.intero1, 1);
  EXPECT_EQ(a.intero2, 1);
  EXPECT_EQ(a.opzione1, 0);
  EXPECT_EQ(a.intero3, 4);
  EXPECT_EQ(a.intero4, 1);
  EXPECT_EQ(a.intero5, 1);
  EXPECT_EQ(a.opzione2, 1);
  EXPECT_EQ(a.orario, 48480);
  EXPECT_EQ(a.nome, "BORVALE P.F.");

  EXPECT_EQ(r(2).primo, 1400);
  EXPECT_EQ(r(2).secondo, 1700);
  EXPECT_EQ(r(2).terzo, 1550);
  EXPECT_EQ(r(2).intero3, 2);
  EXPECT_EQ(r(2).opzione2, 0);
  EXPECT_EQ(r(2).orario, 48660);
  EXPECT_EQ(r(3).primo, 3750);
  EXPECT_EQ(r(3).secondo, 4250);
  EXPECT_EQ(r(3).orario, 43200);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(r(i).opzione3, 0) << i;
    EXPECT_EQ(r(i).opzione4, 0) << i;
  }
  solo_segni(*this, {{3, 1}, {33, 2}, {84, 3}},
             {{2, 81}, {32, 81}, {31, 82}, {30, 83}, {29, 84}, {83, 81}, {82, 82}, {81, 83}, {80, 84}}, "incorporata");
}

TEST_F(Stazioni, TratteESegniPerTipo) {
  struct caso {
    int tipo;
    int32_t posizione, ls;
    int opzione3;
    int32_t inizio, fine;
    int fermata;              // -1: none
    std::vector<int> avvisi;  // cells with 81, 82, 83, 84
    int opzione3_dopo;
  };
  for (const caso& k : {
           caso{5, 1000, 300, 1, 700, 1150, 22, {}, 0},
           caso{6, 1000, 300, 0, 700, 1150, 22, {}, 0},
           caso{7, 1000, 300, 1, 700, 1300, 25, {24, 23, 22, 21}, 0},
           caso{8, 1000, 300, 0, 700, 1300, 25, {24, 23, 22, 21}, 0},
           caso{12, 2000, 400, 1, 1800, 2250, 44, {43, 42, 41, 40}, 1},
           caso{4, 2000, 400, 0, 1800, 2200, 43, {42, 41, 40, 39}, 0},
           caso{24, 2000, 0, 0, 2000, 2000, 39, {38, 37, 36, 35}, 0},
           caso{25, 2000, 400, 1, 1800, 2250, -1, {}, 1},
           caso{255, 2000, 400, 0, 1800, 2200, -1, {}, 0},
       }) {
    banco_treno b;
    b.sorgente({"[generale]", prima, linea(k.posizione, k.tipo, k.ls, k.opzione3), "[fine]"});
    b.leggi();
    const std::string nome = "tipo " + std::to_string(k.tipo);
    EXPECT_EQ(b.f.codice_errore, 0) << nome;
    EXPECT_EQ(b.contatore_stazioni, 3) << nome;
    EXPECT_EQ(b.r(2).primo, k.inizio) << nome;
    EXPECT_EQ(b.r(2).secondo, k.fine) << nome;
    EXPECT_EQ(b.r(2).opzione3, k.opzione3_dopo) << nome;
    std::map<int, int> avvicinamento;
    for (size_t i = 0; i < k.avvisi.size(); ++i) avvicinamento[k.avvisi[i]] = 81 + static_cast<int>(i);
    std::map<int, int> fermate;
    if (k.fermata >= 0) fermate[k.fermata] = 2;
    solo_segni(b, fermate, avvicinamento, nome);
  }
}

TEST_F(Stazioni, Opzione4ELaPrimaStazione) {
  struct caso {
    bool prima_stazione;
    int32_t ls;
    int opzione3_dopo, opzione4_dopo;
  };
  for (caso k : {caso{false, 600, 1, 1}, caso{false, 500, 1, 0}, caso{true, 600, 0, 0}, caso{true, 400, 0, 0}}) {
    banco_treno b;
    std::string riga = linea(2000, 12, k.ls, 1, 1);
    if (k.prima_stazione)
      b.sorgente({"[generale]", riga, "[fine]"});
    else
      b.sorgente({"[generale]", prima, riga, "[fine]"});
    b.leggi();
    const voce& v = b.r(k.prima_stazione ? 1 : 2);
    const std::string nome = (k.prima_stazione ? "prima, Ls " : "seconda, Ls ") + std::to_string(k.ls);
    EXPECT_EQ(b.f.codice_errore, 0) << nome;
    // Value 6 still adds its 50 m to the first station's end before it is cleared.
    EXPECT_EQ(v.secondo, 2000 + k.ls / 2 + 50) << nome;
    EXPECT_EQ(v.opzione3, k.opzione3_dopo) << nome;
    EXPECT_EQ(v.opzione4, k.opzione4_dopo) << nome;
  }
}

TEST_F(Stazioni, Distanza350) {
  // The first stop ends at 1200; the second starts 300 or 350 m after it.
  for (int32_t posizione : {1700, 1750}) {
    banco_treno b;
    b.f.posizione_errore = -1;
    b.sorgente({"[generale]", linea(1000, 12, 400), linea(posizione, 12, 400), "numero vetture, 4", "[fine]"});
    b.leggi();
    if (posizione == 1750) {
      EXPECT_EQ(b.f.codice_errore, 0);
      EXPECT_EQ(b.contatore_stazioni, 3);
      EXPECT_EQ(b.r(84).terzo, 4);
    } else {
      EXPECT_EQ(b.f.codice_errore, 22);
      EXPECT_EQ(b.f.posizione_errore, 1700);
      EXPECT_EQ(b.contatore_stazioni, 2);
      EXPECT_EQ(b.r(2).secondo, 1900);  // the record and its marks are written before the check
      EXPECT_EQ(b.c(37).tipo, stazione);
      EXPECT_EQ(b.r(84).terzo, 0);
      EXPECT_FALSE(b.treno_su_disco());
      EXPECT_TRUE(b.linea_su_disco());
    }
  }
}

TEST_F(Stazioni, ErroriFermanoLaLettura) {
  struct caso {
    std::string riga;
    int codice;
    int32_t posizione;  // -1: none recorded
  };
  for (const caso& k : {
           caso{linea(1025, 12, 400), 8, 1025},
           caso{linea(1000, 12, 350), 9, 1000},
           caso{linea(0, 12, 200), 24, -1},   // ends at 100
           caso{linea(-1000, 7, 400), 24, -1},
       }) {
    banco_treno b;
    b.f.posizione_errore = -1;
    b.sorgente({"[generale]", "velocita, 0, 50", k.riga, "numero vetture, 4", "[fine]"});
    b.leggi();
    EXPECT_EQ(b.f.codice_errore, k.codice) << k.riga;
    EXPECT_EQ(b.f.posizione_errore, k.posizione) << k.riga;
    EXPECT_FALSE(b.treno_su_disco()) << k.riga;
    EXPECT_TRUE(b.linea_su_disco()) << k.riga;
    EXPECT_EQ(b.r(84).terzo, 0) << k.riga;
    EXPECT_EQ(b.c(0).velocita, 0) << k.riga;  // no tails after a stop
    EXPECT_EQ(b.contatore_stazioni, 1) << k.riga;
  }
}

TEST_F(Stazioni, CampiLettiPrimaDelFermoRestano) {
  sorgente({"[generale]", linea(1000, 12, 350), "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 9);
  EXPECT_EQ(r(1).terzo, 1000);
  EXPECT_EQ(r(1).tipo, 12);
  EXPECT_EQ(r(1).marca, 0);
}

TEST_F(Stazioni, FinePrimaDei100MetriSoloPerITipiSegnati) {
  for (int tipo : {12, 25}) {
    banco_treno b;
    b.sorgente({"[generale]", linea(0, tipo, 200), "[fine]"});
    b.leggi();
    EXPECT_EQ(b.f.codice_errore, tipo == 25 ? 0 : 24) << tipo;
  }
  // A kind 5 stop at 0 ends at 150, past the first 100 m: stop cell 2.
  sorgente({"[generale]", linea(0, 5, 0), "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(c(2).tipo, stazione);
}

TEST_F(Stazioni, LimiteDellaGriglia) {
  struct caso {
    std::string riga;
    bool accettata;
  };
  for (const caso& k : {
           caso{linea(10200, 12, 400), true},    // (10200 + 800) / 50 = 220
           caso{linea(10250, 12, 400), false},
           caso{linea(10200, 12, 2000, 1, 1), false},  // stop cell 224
           caso{linea(10200, 25, 2000, 1, 1), true},   // no stop cell
           caso{linea(10200, 7, 400), true},            // stop cell 211
       }) {
    banco_treno b;
    b.f.posizione_errore = -1;
    b.sorgente({"[generale]", "velocita, 0, 50", k.riga, "numero vetture, 4", "[fine]"});
    b.leggi();
    EXPECT_FALSE(b.treno_su_disco()) << k.riga;
    EXPECT_EQ(b.c(217).velocita, 10) << k.riga;  // the tails run either way
    if (k.accettata) {
      EXPECT_EQ(b.f.codice_errore, 0) << k.riga;
      EXPECT_EQ(b.contatore_stazioni, 2) << k.riga;
      EXPECT_EQ(b.r(84).terzo, 4) << k.riga;
    } else {
      EXPECT_EQ(b.f.codice_errore, 15) << k.riga;
      EXPECT_EQ(b.f.posizione_errore, k.riga.find("10250") != std::string::npos ? 10250 : 10200) << k.riga;
      EXPECT_EQ(b.contatore_stazioni, 1) << k.riga;
      EXPECT_EQ(b.r(84).terzo, 0) << k.riga;
      solo_segni(b, {}, {}, k.riga);
    }
  }
}

TEST_F(Stazioni, FermataOltreLaGrigliaLasciaIlRecordComeLetto) {
  sorgente({"[generale]", linea(10200, 12, 2000, 1, 1), "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 15);
  EXPECT_EQ(r(1).terzo, 10200);
  EXPECT_EQ(r(1).primo, 9200);
  EXPECT_EQ(r(1).secondo, 11250);
  EXPECT_EQ(r(1).opzione3, 1);
  EXPECT_EQ(r(1).opzione4, 1);
  EXPECT_EQ(r(1).nome, "Fermata");
}

TEST_F(Stazioni, ContatoreEContatoreDeiCartelli) {
  struct caso {
    int32_t cartelli;
    int stazioni;
    int codice;
  };
  for (caso k : {caso{80, 78, 0}, caso{80, 79, 10}, caso{3, 1, 0}, caso{3, 2, 10}, caso{1, 1, 10}}) {
    banco_treno b(30000);
    b.contatore_cartelli = k.cartelli;
    b.f.posizione_errore = -1;
    std::string testo = "[generale]\r\n";
    for (int i = 0; i < k.stazioni; ++i) testo += linea(i * 350, 25, 0, 0, 0, "S" + std::to_string(i + 1)) + "\r\n";
    b.sorgente_testo(testo + "[fine]\r\n");
    b.leggi();
    const std::string nome = std::to_string(k.stazioni) + " stazioni, cartelli a " + std::to_string(k.cartelli);
    EXPECT_EQ(b.f.codice_errore, k.codice) << nome;
    EXPECT_EQ(b.f.posizione_errore, -1) << nome;
    // The station that meets the sign counter is stored before the stop.
    EXPECT_EQ(b.r(k.stazioni).nome, "S" + std::to_string(k.stazioni)) << nome;
    EXPECT_EQ(b.contatore_stazioni, k.stazioni + 1) << nome;
    EXPECT_EQ(b.treno_su_disco(), false) << nome;
  }
}

TEST_F(Stazioni, DopoOttantaCartelliNessunRecordToccato) {
  contatore_cartelli = 0;
  r(1).nome = "testo del cartello";
  sorgente({"[generale]", linea(1000, 12, 400), "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 10);
  EXPECT_EQ(f.posizione_errore, -1);
  EXPECT_EQ(r(1).nome, "testo del cartello");
  EXPECT_EQ(r(1).terzo, 0);
  EXPECT_FALSE(treno_su_disco());
  EXPECT_TRUE(linea_su_disco());
}

TEST_F(Stazioni, FallimentiDiLettura) {
  for (const std::string& riga : {
           linea(1000, 7, 2147483600),   // end past 32 bits
           linea(-2147483600, 25, 0),    // start - 350 past 32 bits
           linea(1000, 256, 400),        // kind above a byte
           linea(1000, 12, 400, 0, 300),  // opzione4 above a byte
           std::string("stazione, 1000, 12, 400, 0, 0, 0, 40000,1,0, 2,1,1, 0, 13,0,0, X"),
           std::string("stazione, 1000, 12, 400, 0, 0, 0, 1,1,0, 2,1,1, 0, 1000000,0,0, X"),  // orario
           std::string("stazione, 1000, 12, 400, 0, 0, 0, 1,1,0, 2,1,1, 0, 13,0,0, ") + std::string(65536, 'n'),
       }) {
    banco_treno b;
    b.f.posizione_errore = -1;
    b.sorgente({"[generale]", prima, riga, "[fine]"});
    b.leggi();
    EXPECT_EQ(b.f.codice_errore, 25) << riga.substr(0, 80);
    EXPECT_EQ(b.f.posizione_errore, -1) << riga.substr(0, 80);
    EXPECT_FALSE(b.treno_su_disco()) << riga.substr(0, 80);
    EXPECT_FALSE(b.linea_su_disco()) << riga.substr(0, 80);
  }
}

TEST_F(Stazioni, NomeLungoFinoA65535Byte) {
  sorgente({"[generale]", linea(1000, 12, 400, 0, 0, std::string(65535, 'n')), "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(r(1).nome.size(), 65535u);
}

TEST_F(Stazioni, VirgolaNelNome) {
  sorgente({"[generale]", linea(1000, 12, 400, 0, 0, "\"Borvale, bivio\""),
            linea(2000, 12, 400, 0, 0, "Borvale, bivio"), "numero vetture, 4", "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(r(1).nome, "Borvale, bivio");
  EXPECT_EQ(r(2).nome, "Borvale");  // "bivio" is then read as a key and dropped
  EXPECT_EQ(r(84).terzo, 4);
}

}  // namespace
