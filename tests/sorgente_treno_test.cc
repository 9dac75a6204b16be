// The train-source phase of the reader on a grid sized by hand (N = 220
// unless said otherwise): the embedded source, the general values, the speed
// and adhesion lists, signals, slowdowns and code points through the reader,
// the grid test, the stops with what they delete, and the chainage check.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "driver/form1.h"
#include "model/cella.h"
#include "support/banco_treno.h"
#include "support/file_system_fake.h"

namespace {

// A chainage reference: position, chainage, flag.
voce progressiva(int32_t p, int32_t k, int32_t f) {
  voce v;
  v.primo = p;
  v.secondo = k;
  v.terzo = f;
  return v;
}

struct SorgenteTreno : testing::Test, banco_treno {};

TEST_F(SorgenteTreno, SorgenteIncorporata) {
  f.dati_treno();
  r(81) = progressiva(0, 87850, 1);
  leggi();

  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_FALSE(treno_su_disco());
  EXPECT_TRUE(linea_su_disco());
  EXPECT_EQ(r(84).primo, 100);
  EXPECT_EQ(r(84).secondo, 4000);
  EXPECT_EQ(r(84).terzo, 4);
  EXPECT_EQ(r(86).intero1, 0);
  EXPECT_EQ(r(86).intero3, 13);
  EXPECT_EQ(r(86).intero4, 27);
  EXPECT_EQ(r(86).intero5, 42);

  // The three stations of the worked example.
  EXPECT_EQ(contatore_stazioni, 4);
  EXPECT_EQ(r(1).orario, 48480);
  EXPECT_EQ(r(2).orario, 48660);
  EXPECT_EQ(r(3).orario, 43200);
  EXPECT_EQ(r(1).nome, "BORVALE P.F.");
  EXPECT_EQ(r(2).nome, "BORVALE P.R.");
  EXPECT_EQ(r(3).nome, "Ultima stazione");
  EXPECT_EQ(r(4).nome, "");

  // Every feature cell of the grid.
  for (int i = 0; i <= 220; ++i) {
    const cella& k = c(i);
    switch (i) {
      case 3:
      case 33:
      case 84:
        EXPECT_EQ(k.tipo, stazione) << i;
        EXPECT_EQ(k.dato1, i == 3 ? 1 : i == 33 ? 2 : 3) << i;
        break;
      case 19:
        EXPECT_EQ(k.tipo, segnale);
        EXPECT_EQ(k.dato1, 30);
        EXPECT_EQ(k.dato2, 10);
        EXPECT_EQ(k.dato4, 6);
        EXPECT_EQ(k.tempo, 230);
        break;
      default:
        EXPECT_EQ(k.tipo, libero) << i;
    }
  }
  // Approach marks of the stations and boards of the signal.
  std::map<int, int> avvicinamento = {{2, 81},  {32, 81}, {31, 82}, {30, 83}, {29, 84}, {83, 81}, {82, 82},
                                      {81, 83}, {80, 84}, {17, 61}, {15, 62}, {13, 63}, {11, 64}};
  for (int i = 0; i <= 220; ++i) {
    auto a = avvicinamento.find(i);
    EXPECT_EQ(c(i).avvicinamento, a == avvicinamento.end() ? 0 : a->second) << i;
  }
  // Speed and adhesion layers, the last three cells untouched.
  EXPECT_EQ(c(0).velocita, 6);
  for (int i = 1; i <= 217; ++i) EXPECT_EQ(c(i).velocita, 16) << i;
  for (int i = 0; i <= 217; ++i) EXPECT_EQ(c(i).aderenza, 100) << i;
  for (int i = 218; i <= 220; ++i) {
    EXPECT_EQ(c(i).velocita, 0) << i;
    EXPECT_EQ(c(i).aderenza, 0) << i;
  }
}

TEST_F(SorgenteTreno, SenzaGeneraleNullaInterpretatoELeCodeScrivonoZero) {
  for (cella& k : f.percorso) k.velocita = k.aderenza = 7;
  sorgente({"numero vetture, 4", "velocita, 0, 30", "aderenza, 0, 100", "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_FALSE(treno_su_disco());
  EXPECT_EQ(r(84).terzo, 0);
  for (int i = 0; i <= 217; ++i) {
    EXPECT_EQ(c(i).velocita, 0) << i;
    EXPECT_EQ(c(i).aderenza, 0) << i;
  }
  EXPECT_EQ(c(218).velocita, 7);
  EXPECT_EQ(c(218).aderenza, 7);
}

TEST_F(SorgenteTreno, SorgenteVuota) {
  sorgente_testo("");
  leggi();
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_FALSE(treno_su_disco());
}

TEST_F(SorgenteTreno, PiuProveSullaStessaChiave) {
  // The key tests are independent: this field passes two, each reading its own.
  sorgente({"[generale]", "orologio e sabbia, 13, 27, 42, 2", "[fine]"});
  leggi();
  EXPECT_EQ(r(86).intero3, 13);
  EXPECT_EQ(r(86).intero4, 27);
  EXPECT_EQ(r(86).intero5, 42);
  EXPECT_EQ(r(86).intero1, 2);
}

TEST_F(SorgenteTreno, ChiaviInMaiuscolo) {
  sorgente({"[GENERALE]", "Percentuale MASSA Frenata, 85", "NUMERO VETTURE, 9", "[fine]"});
  leggi();
  EXPECT_EQ(r(84).primo, 85);
  EXPECT_EQ(r(84).terzo, 9);
}

// --- speed and adhesion lists -------------------------------------------------

TEST_F(SorgenteTreno, VelocitaDivisaPerCinque) {
  struct caso {
    int32_t velocita;
    int atteso;  // -1: read failure
  };
  for (caso k : {caso{32, 6}, caso{33, 7}, caso{30, 6}, caso{1277, 255}, caso{1278, -1}, caso{-2, 0}, caso{-3, -1}}) {
    banco_treno b;
    b.sorgente({"[generale]", "velocita, 0, " + std::to_string(k.velocita), "[fine]"});
    b.leggi();
    if (k.atteso < 0) {
      EXPECT_EQ(b.f.codice_errore, 25) << k.velocita;
      EXPECT_FALSE(b.treno_su_disco());
      EXPECT_FALSE(b.linea_su_disco());
    } else {
      EXPECT_EQ(b.f.codice_errore, 0) << k.velocita;
      EXPECT_EQ(b.c(0).velocita, k.atteso) << k.velocita;
      EXPECT_EQ(b.c(217).velocita, k.atteso) << k.velocita;
    }
  }
}

TEST_F(SorgenteTreno, ListeCheNonInizianoAZero) {
  sorgente({"[generale]", "velocita, 100, 40", "velocita, 1025, 60", "aderenza, 500, 300", "aderenza, 1075, -1",
            "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 0);
  // Before a list's first position the cells get 0; 1025 / 50 = 20.5 ends at cell 19.
  for (int i = 0; i <= 217; ++i) EXPECT_EQ(c(i).velocita, i < 2 ? 0 : i < 20 ? 8 : 12) << i;
  // 1075 / 50 = 21.5 ends at cell 21; adhesion is kept to 8 bits.
  for (int i = 0; i <= 217; ++i) EXPECT_EQ(c(i).aderenza, i < 10 ? 0 : i < 22 ? 44 : 255) << i;
}

TEST_F(SorgenteTreno, StessaPosizioneScriveAncoraUnaCella) {
  sorgente({"[generale]", "velocita, 600, 50", "velocita, 600, 100", "aderenza, 600, 50", "aderenza, 600, 90",
            "[fine]"});
  leggi();
  EXPECT_EQ(c(11).velocita, 0);
  EXPECT_EQ(c(12).velocita, 10);
  EXPECT_EQ(c(13).velocita, 20);
  EXPECT_EQ(c(12).aderenza, 50);
  EXPECT_EQ(c(13).aderenza, 90);
}

TEST_F(SorgenteTreno, CursoriFermiAllUltimaCella) {
  // Each line writes one more cell; the lists stop at N (140 here) and the
  // tails write cell N at most.
  banco_treno b(0);
  std::string testo = "[generale]\r\n";
  for (int i = 0; i < 200; ++i) testo += "velocita, 50, 100\r\naderenza, 50, 20\r\n";
  b.sorgente_testo(testo + "[fine]\r\n");
  b.leggi();
  ASSERT_EQ(b.f.percorso.size(), 141u);
  EXPECT_EQ(b.f.codice_errore, 0);
  EXPECT_EQ(b.c(0).velocita, 0);
  for (int i = 1; i <= 140; ++i) EXPECT_EQ(b.c(i).velocita, 20) << i;
  EXPECT_EQ(b.c(0).aderenza, 0);
  for (int i = 1; i <= 140; ++i) EXPECT_EQ(b.c(i).aderenza, 20) << i;
}

// --- grid test ----------------------------------------------------------------

TEST_F(SorgenteTreno, LimiteDellaGriglia) {
  struct caso {
    std::string riga;
    int32_t posizione;  // of the code 15; 0: accepted
  };
  for (const caso& k : {
           caso{"velocita, 10900, 50", 0},
           caso{"velocita, 10901, 50", 10901},
           caso{"aderenza, 10901, 50", 10901},
           caso{"segnale, 10900, 1, 0,0,0, 0, 0, 0,0,0, 0", 0},
           caso{"segnale, 10901, 1, 0,0,0, 0, 0, 0,0,0, 0", 10901},
           caso{"segnale, -100, 1, 0,0,0, 0, 0, 0,0,0, 0", -100},
           caso{"segnale, -75, 1, 0,0,0, 0, 0, 0,0,0, 0", 0},  // cell -0.5 -> 0
           caso{"abbattimento, 10901, 5", 10901},
           caso{"abbattimento, -50, 5", -50},
           caso{"abbattimento, -25, 5", 0},
           caso{"rallentamento, 10901, 30, 0, 0, 0, 0", 10901},
           caso{"rallentamento, -100, 30, 500, 0, 0, 0", -100},
           caso{"rallentamento, 10000, 30, 900, 0, 0, 0", 0},   // end cell 219
           caso{"rallentamento, 10000, 30, 1000, 0, 0, 0", 10000},  // end cell 221
           caso{"rallentamento, 100, 30, -300, 0, 0, 0", 100},    // end cell -3
       }) {
    banco_treno b;
    b.f.posizione_errore = -1;
    b.sorgente({"[generale]", k.riga, "numero vetture, 4", "[fine]"});
    b.leggi();
    EXPECT_FALSE(b.treno_su_disco()) << k.riga;
    EXPECT_TRUE(b.linea_su_disco()) << k.riga;
    if (k.posizione == 0) {
      EXPECT_EQ(b.f.codice_errore, 0) << k.riga;
      EXPECT_EQ(b.r(84).terzo, 4) << k.riga;
    } else {
      EXPECT_EQ(b.f.codice_errore, 15) << k.riga;
      EXPECT_EQ(b.f.posizione_errore, k.posizione) << k.riga;
      // The loop ends at once, and the tails still run.
      EXPECT_EQ(b.r(84).terzo, 0) << k.riga;
      EXPECT_EQ(b.c(217).aderenza, 0) << k.riga;
      for (const cella& z : b.f.percorso) EXPECT_EQ(z.tipo, libero) << k.riga;
    }
  }
}

TEST_F(SorgenteTreno, Codice15ELeCodeDopo) {
  sorgente({"[generale]", "velocita, 0, 50", "aderenza, 0, 90", "velocita, 20000, 100", "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 15);
  EXPECT_EQ(c(0).velocita, 10);
  EXPECT_EQ(c(217).velocita, 10);
  EXPECT_EQ(c(217).aderenza, 90);
}

TEST_F(SorgenteTreno, Codice15DallaLineaFermaAlPrimoTimbro) {
  f.codice_errore = 15;
  f.posizione_errore = 12345;
  sorgente({"[generale]", "velocita, 0, 50", "numero vetture, 4", "segnale, 900, 2, 3, 1, 0, 0, 0, 0,0,0, 230",
            "numero vetture, 8", "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 15);
  EXPECT_EQ(f.posizione_errore, 900);
  EXPECT_EQ(r(84).terzo, 4);
  EXPECT_EQ(c(19).tipo, segnale);  // the call was made; the stop follows it
  EXPECT_FALSE(treno_su_disco());
  EXPECT_TRUE(linea_su_disco());
  EXPECT_EQ(c(0).velocita, 0);  // a stop runs no tails
}

// --- signals, slowdowns and code points through the reader --------------------

TEST_F(SorgenteTreno, RallentamentoPassatoComeLetto) {
  sorgente({"[generale]", "rallentamento, 2000, 60, 500, 7, 1, 9", "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(c(41).tipo, inizio_rallentamento);
  EXPECT_EQ(c(41).dato1, 60);
  EXPECT_EQ(c(41).dato2, 9);
  EXPECT_EQ(c(41).dato3, 7);
  EXPECT_EQ(c(51).tipo, fine_rallentamento);
  EXPECT_EQ(c(17).tipo, avviso_rallentamento);
  EXPECT_EQ(c(13).tipo, preavviso_rallentamento);
  EXPECT_EQ(c(13).dato1, 4);
}

TEST_F(SorgenteTreno, ErroriDeiTimbriFermanoAllaPosizione) {
  struct caso {
    std::string riga;
    int codice;
    int32_t posizione;
  };
  // Cell 41 holds a feature; each line needs it for its signal, warning,
  // start, end or pre-warning point.
  for (const caso& k : {caso{"segnale, 2000, 2, 0,0,0, 0, 0, 0,0,0, 0", 16, 2000},
                        caso{"rallentamento, 3200, 30, 100, 0, 0, 0", 17, 3200},
                        caso{"rallentamento, 2000, 30, 100, 0, 0, 0", 18, 2000},
                        caso{"rallentamento, 1500, 30, 500, 0, 0, 0", 19, 1500},
                        caso{"rallentamento, 3300, 30, 100, 0, 1, 0", 20, 3300}}) {
    banco_treno b;
    b.c(41).tipo = cartello;
    b.sorgente({"[generale]", "velocita, 0, 50", k.riga, "numero vetture, 4", "[fine]"});
    b.leggi();
    EXPECT_EQ(b.f.codice_errore, k.codice) << k.riga;
    EXPECT_EQ(b.f.posizione_errore, k.posizione) << k.riga;
    EXPECT_FALSE(b.treno_su_disco()) << k.riga;
    EXPECT_TRUE(b.linea_su_disco()) << k.riga;
    EXPECT_EQ(b.r(84).terzo, 0) << k.riga;
    EXPECT_EQ(b.c(0).velocita, 0) << k.riga;
  }
}

TEST_F(SorgenteTreno, Abbattimenti) {
  c(22).tipo = segno_montagna;
  c(21).dato1 = 55;
  sorgente({"[generale]", "abbattimento, 1000, 0", "abbattimento, 1050, 70000", "abbattimento, 1100, 180",
            "abbattimento, 1150, -3", "abbattimento, 1175, 9", "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(c(20).tipo, abbattimento_nullo);  // cell 20, where a sign at 1000 would take 21
  EXPECT_EQ(c(20).dato1, 0);
  EXPECT_EQ(c(21).tipo, abbattimento);
  EXPECT_EQ(c(21).dato1, 4464);  // 70000 kept to 16 bits
  EXPECT_EQ(c(22).tipo, abbattimento);  // over a mountain mark
  EXPECT_EQ(c(22).dato1, 180);
  EXPECT_EQ(c(23).tipo, abbattimento_nullo);
  EXPECT_EQ(c(24).tipo, abbattimento);  // 23.5 -> 24
  EXPECT_EQ(c(24).dato1, 9);
}

TEST_F(SorgenteTreno, AbbattimentoNullSenzaCambiareDato1) {
  c(20).dato1 = 55;
  sorgente({"[generale]", "abbattimento, 1000, 0", "[fine]"});
  leggi();
  EXPECT_EQ(c(20).tipo, abbattimento_nullo);
  EXPECT_EQ(c(20).dato1, 55);
}

TEST_F(SorgenteTreno, AbbattimentoSuCellaOccupata) {
  c(20).tipo = segnale;
  sorgente({"[generale]", "velocita, 0, 50", "abbattimento, 1000, 5", "numero vetture, 4", "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 7);
  EXPECT_EQ(f.posizione_errore, 1000);
  EXPECT_EQ(c(20).tipo, segnale);
  EXPECT_EQ(r(84).terzo, 0);
  EXPECT_FALSE(treno_su_disco());
  EXPECT_TRUE(linea_su_disco());
  EXPECT_EQ(c(0).velocita, 0);
}

// --- read failures ------------------------------------------------------------

TEST_F(SorgenteTreno, FallimentiDiLettura) {
  for (std::string riga : {"sabbia, 40000", "orologio, 13, 27, 99999", "numero vetture, 2147483648",
                           "percentuale massa frenata, dieci", "segnale, 900, 2, 3",
                           "rallentamento, 100, 30, 2147483600, 0, 0, 0"}) {
    banco_treno b;
    b.f.posizione_errore = -1;
    b.sorgente({"[generale]", riga});
    b.leggi();
    EXPECT_EQ(b.f.codice_errore, 25) << riga;
    EXPECT_EQ(b.f.posizione_errore, -1) << riga;
    EXPECT_FALSE(b.treno_su_disco()) << riga;
    EXPECT_FALSE(b.linea_su_disco()) << riga;
  }
}

TEST_F(SorgenteTreno, SorgenteMancante) {
  leggi();
  EXPECT_EQ(f.codice_errore, 25);
  EXPECT_FALSE(linea_su_disco());
}

TEST_F(SorgenteTreno, CancellazioneCheFallisce) {
  sorgente({"[generale]", "numero vetture, 4", "[fine]"});
  sistema.operazione_che_fallisce = 2;  // read, then the deletion
  leggi();
  EXPECT_EQ(f.codice_errore, 25);
  EXPECT_EQ(sistema.registro.at(1), "rimuovi " + f.nome_sorgente_treno());
}

TEST_F(SorgenteTreno, SenzaGrigliaFallisce) {
  f.percorso.clear();
  sorgente({"[generale]", "numero vetture, 4", "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 25);
  EXPECT_TRUE(f.percorso.empty());
}

// --- chainage check -----------------------------------------------------------

TEST_F(SorgenteTreno, ControlloProgressive) {
  struct caso {
    voce r81, r82, r83;
    int codice;
  };
  const voce zero = progressiva(0, 0, 0);
  for (const caso& k : {caso{progressiva(0, 87850, 1), zero, zero, 0}, caso{progressiva(0, 87775, 1), zero, zero, 2},
                        caso{progressiva(1550, 100, 0), progressiva(-50, 0, 0), zero, 0},
                        caso{zero, zero, progressiva(25, 0, 0), 2}, caso{zero, progressiva(0, -10, 0), zero, 2}}) {
    banco_treno b;
    b.f.posizione_errore = -1;
    b.r(81) = k.r81;
    b.r(82) = k.r82;
    b.r(83) = k.r83;
    b.sorgente({"[generale]", "[fine]"});
    b.leggi();
    EXPECT_EQ(b.f.codice_errore, k.codice) << k.r81.secondo;
    EXPECT_EQ(b.f.posizione_errore, -1);
  }
}

TEST_F(SorgenteTreno, ControlloProgressiveSostituisceIl15) {
  r(82).secondo = 10;
  sorgente({"[generale]", "velocita, 20000, 100", "[fine]"});
  leggi();
  EXPECT_EQ(f.codice_errore, 2);
  EXPECT_EQ(f.posizione_errore, 20000);  // left by the 15; code 2 has none
}

// --- the whole reader: both sources through memorizza_dati ---------------------

struct MemorizzaDati : testing::Test {
  sistema_finto sistema;
  Form1 f{sistema};

  MemorizzaDati() {
    f.testi = scenario_incorporato();
    f.nome_scenario = "Borvale PF_Borvale PR";
    f.numero_treno = "31758";
    f.posizione_errore = -1;
  }
  // The line source: a general section with the route length, then `profilo`.
  void linea(const std::string& generale, const std::string& profilo) {
    sistema.file[f.nome_sorgente_linea()] =
        "[generale]\r\nlunghezza percorso, 4000\r\n" + generale + "[curve]\r\n" + profilo + "[fine]\r\n";
  }
  void treno(const std::string& testo) { sistema.file[f.nome_sorgente_treno()] = testo; }
  bool nessuna_sorgente() const {
    return sistema.file.count(f.nome_sorgente_linea()) == 0 && sistema.file.count(f.nome_sorgente_treno()) == 0;
  }
  cella& c(int i) { return f.percorso.at(static_cast<size_t>(i)); }
};

TEST_F(MemorizzaDati, SorgentiIncorporate) {
  f.dati_linea();
  f.dati_treno();
  f.memorizza_dati();
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_TRUE(nessuna_sorgente());
  EXPECT_EQ(f.testata[81].secondo, 87850);
  EXPECT_EQ(f.testata[84].primo, 100);
  EXPECT_EQ(f.testata[84].secondo, 4000);
  EXPECT_EQ(f.testata[84].terzo, 4);
  EXPECT_EQ(f.testata[86].intero3, 13);
  EXPECT_EQ(f.testata[3].orario, 43200);
  EXPECT_EQ(c(19).tipo, segnale);
  EXPECT_EQ(c(84).tipo, stazione);
  EXPECT_EQ(c(24).tipo, segno_montagna);  // the line's mark stays beside the train's features
  EXPECT_EQ(c(0).velocita, 6);
  EXPECT_EQ(c(217).velocita, 16);
  EXPECT_EQ(c(217).aderenza, 100);
  EXPECT_EQ(c(218).aderenza, 0);
}

TEST_F(MemorizzaDati, ICartelliAbbassanoIlLimiteDelleStazioni) {
  struct caso {
    int cartelli, stazioni, codice;
  };
  for (caso k : {caso{77, 1, 0}, caso{77, 2, 10}, caso{78, 1, 10}, caso{80, 1, 10}}) {
    sistema.file.clear();
    f.cancella_testata();
    f.codice_errore = 0;
    std::string segni;
    for (int i = 0; i < k.cartelli; ++i)
      segni += "indicat cartello, " + std::to_string(50 * i) + ", c" + std::to_string(i) + "\r\n";
    linea("", segni);
    std::string stazioni = "[generale]\r\n";
    for (int i = 0; i < k.stazioni; ++i)
      stazioni += "stazione, " + std::to_string(5000 + 350 * i) + ", 25, 0, 0,0,0, 0,0,0, 0,0,0, 0, 0,0,0, S\r\n";
    treno(stazioni + "[fine]\r\n");
    f.memorizza_dati();
    const std::string nome = std::to_string(k.cartelli) + " cartelli, " + std::to_string(k.stazioni) + " stazioni";
    EXPECT_EQ(f.codice_errore, k.codice) << nome;
    EXPECT_TRUE(nessuna_sorgente()) << nome;
    // After 80 signs record 1 holds the last sign's text, and keeps it.
    EXPECT_EQ(f.testata[1].nome, k.cartelli == 80 ? "c79" : "S") << nome;
  }
}

TEST_F(MemorizzaDati, Codice15DellaLineaFermaIlPrimoSegnale) {
  linea("", "pendenza, 20000, 0\r\n");
  f.dati_treno();
  f.memorizza_dati();
  EXPECT_EQ(f.codice_errore, 15);
  EXPECT_EQ(f.posizione_errore, 900);
  EXPECT_TRUE(nessuna_sorgente());
  EXPECT_EQ(f.testata[3].nome, "Ultima stazione");  // the stations come before the signal
  EXPECT_EQ(c(0).velocita, 6);
  EXPECT_EQ(c(1).velocita, 0);  // a stop runs no tails
}

TEST_F(MemorizzaDati, ProgressivaNonMultiplaDi50) {
  linea("progressiva chilometrica uno, 0, 87775, 1\r\n", "");
  f.dati_treno();
  f.memorizza_dati();
  EXPECT_EQ(f.codice_errore, 2);
  EXPECT_EQ(f.posizione_errore, -1);
  EXPECT_TRUE(nessuna_sorgente());
  EXPECT_EQ(c(217).aderenza, 100);
}

}  // namespace
