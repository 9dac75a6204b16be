// The line source read through memorizza_dati on an in-memory folder: the
// embedded scenario's records, gradients, mountain layer and track points;
// the case rules of the keys; every error with what it deletes, what it
// leaves and its position; the limits of the grid and of the tables.
#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "driver/form1.h"
#include "model/errore_lettura.h"
#include "sources/scenario_incorporato.h"
#include "support/file_system_fake.h"

namespace {

const std::string sorgente_linea = "Borvale PF_Borvale PR_linea.txt";
const std::string sorgente_treno = "Borvale PF_Borvale PR_31758-.txt";
// A train source that adds nothing to what these tests look at.
const std::string treno_vuoto = "[generale]\r\n[fine]\r\n";
// posizione_errore before the read: an error without a position leaves it.
constexpr int32_t nessuna_posizione = -424242;

std::string righe(std::initializer_list<std::string_view> r) {
  std::string t;
  for (std::string_view s : r) t.append(s).append("\r\n");
  return t;
}

// A line source: "[generale]", the general lines, "[curve]", the profile
// lines, "[fine]".
std::string linea(std::string_view profilo, std::string_view generale = "lunghezza percorso, 4000\r\n") {
  return "[generale]\r\n" + std::string(generale) + "[curve]\r\n" + std::string(profilo) + "[fine]\r\n";
}

// `quanti` signs 50 m apart from position 0, in cells 1, 2, 3, ...
std::string cartelli(int quanti) {
  std::string t;
  for (int i = 0; i < quanti; ++i)
    t += "indicat cartello, " + std::to_string(50 * i) + ", c" + std::to_string(i) + "\r\n";
  return t;
}

class SorgenteLinea : public testing::Test {
 protected:
  sistema_finto sistema;
  Form1 f{sistema};

  void SetUp() override {
    // What the build does before it calls the reader.
    f.testi = scenario_incorporato();
    f.nome_scenario = "Borvale PF_Borvale PR";
    f.numero_treno = "31758";
    f.crea_linea = 1;
    f.codice_errore = 0;
    f.posizione_errore = nessuna_posizione;
    f.cancella_testata();
    // A fresh model, for tests that read more than once.
    f.percorso.clear();
    f.tracciato = tabella_tracciato{};
    f.numero_montagne = 0;
  }

  void leggi(const std::string& testo_linea, const std::string& testo_treno = treno_vuoto) {
    sistema.file[sorgente_linea] = testo_linea;
    sistema.file[sorgente_treno] = testo_treno;
    f.memorizza_dati();
  }

  bool esiste(const std::string& nome) const { return sistema.file.count(nome) != 0; }
  const cella& c(size_t i) const { return f.percorso.at(i); }

  // Cells a..b all hold `valore` in the layer `strato`.
  void strato_uguale(uint8_t cella::*strato, size_t a, size_t b, int valore) const {
    for (size_t i = a; i <= b; ++i) EXPECT_EQ(f.percorso.at(i).*strato, valore) << "cella " << i;
  }
};

// --- the embedded scenario ---------------------------------------------------

TEST_F(SorgenteLinea, ScenarioIncorporato) {
  f.dati_linea();
  f.dati_treno();
  f.memorizza_dati();

  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_FALSE(esiste(sorgente_linea));

  // Records 81-86: "uno" ordered first, its flag adding 100 m.
  auto terna = [&](int r) { return std::array{f.testata[r].primo, f.testata[r].secondo, f.testata[r].terzo}; };
  EXPECT_EQ(terna(81), (std::array{0, 87850, 1}));
  EXPECT_EQ(terna(82), (std::array{0, 0, 0}));
  EXPECT_EQ(terna(83), (std::array{0, 0, 0}));
  EXPECT_EQ(f.testata[84].secondo, 4000);
  EXPECT_EQ(terna(85), (std::array{0, 0, 1}));  // sfondo uno, tre, due
  EXPECT_EQ(f.testata[85].nome, "Borvale PF_Borvale PR");
  EXPECT_EQ(terna(86), (std::array{0, 0, 0}));  // value two is 0, so no code count
  EXPECT_EQ(f.testata[86].nome, "31758");
  EXPECT_EQ(f.testata[80].nome, "");  // no signs

  // Gradients.
  ASSERT_EQ(f.percorso.size(), 221u);
  strato_uguale(&cella::pendenza, 0, 11, 100);
  strato_uguale(&cella::pendenza, 12, 15, 104);
  strato_uguale(&cella::pendenza, 16, 25, 108);
  strato_uguale(&cella::pendenza, 26, 217, 100);
  strato_uguale(&cella::pendenza, 218, 220, 0);

  // The mountain section 1050-1400, type 2 with marks.
  strato_uguale(&cella::montagna, 0, 20, 0);
  strato_uguale(&cella::montagna, 21, 27, 2);
  strato_uguale(&cella::montagna, 28, 220, 0);
  EXPECT_EQ(c(24).tipo, segno_montagna);
  EXPECT_EQ(c(23).tipo, libero);
  EXPECT_EQ(f.numero_montagne, 1);
  EXPECT_EQ(f.inizio_montagne[1], 1050);
  EXPECT_EQ(f.fine_montagne[1], 1400);

  // The track: integers at metres 0 and 1, doubles up to T - 2, the last two
  // Empty; the points bit for bit.
  const tabella_tracciato& t = f.tracciato;
  ASSERT_EQ(t.ultimo_metro(), 11000);
  EXPECT_EQ(t.tipo(0, 0), tipo_elemento::intero);
  EXPECT_EQ(t.tipo(1, 1), tipo_elemento::intero);
  EXPECT_EQ(t.valore(1, 1), 1.0);
  EXPECT_EQ(t.tipo(2, 0), tipo_elemento::doppio);
  EXPECT_EQ(t.tipo(10998, 1), tipo_elemento::doppio);
  EXPECT_EQ(t.tipo(10999, 0), tipo_elemento::vuoto);
  EXPECT_EQ(t.tipo(11000, 1), tipo_elemento::vuoto);
  for (int m = 2; m <= 300; ++m) {
    ASSERT_EQ(t.valore(m, 0), 0.0) << m;
    ASSERT_EQ(t.valore(m, 1), m) << m;
  }
  struct punto {
    int m;
    double x, y;
  };
  for (const punto& p : {punto{301, -0.001, 301.0}, punto{302, -0.003, 301.999999},
                         punto{450, -0x1.69bc08936d28fp+3, 0x1.c17029b791e73p+8},
                         punto{800, -0x1.6d552d62dc1c9p+5, 0x1.8ec259c95fc46p+9},
                         punto{1350, -0x1.25cbe249da912p+6, 0x1.509b2ba15b031p+10},
                         punto{10998, -0x1.c241abd7dabe3p+10, 0x1.52c19a75edb9cp+13}}) {
    EXPECT_EQ(t.valore(p.m, 0), p.x) << "metro " << p.m;
    EXPECT_EQ(t.valore(p.m, 1), p.y) << "metro " << p.m;
  }
}

TEST_F(SorgenteLinea, SenzaCreaLineaNienteTracciato) {
  f.crea_linea = 0;
  leggi(linea(righe({"curvas4,  300,  150", "pendenza, 600, 4"})));
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_FALSE(f.tracciato.esiste());
  // The curve's numbers were read as keys and dropped; the gradient after it
  // is read as usual.
  strato_uguale(&cella::pendenza, 0, 11, 100);
  strato_uguale(&cella::pendenza, 12, 217, 104);
}

// --- keys ----------------------------------------------------------------------

TEST_F(SorgenteLinea, ChiaviGeneraliEsatteTranneLaLunghezza) {
  leggi(linea("", righe({"Lunghezza PERCORSO, 4000", "progressiva chilometrica due, 100, 5000, 0",
                         "Progressiva Chilometrica uno, 50, 87750, 0", "SFONDO uno, 7", "sfondo due, 3",
                         "sfondo tre, 5", "Ripetizione Segnali 4 codici, 100, 50"})));
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(f.percorso.size(), 221u);
  // "due" alone, at 100, is first; "uno" in capitals was not taken.
  EXPECT_EQ(f.testata[81].secondo, 5000);
  EXPECT_EQ(f.testata[82].primo, 0);
  EXPECT_EQ(f.testata[82].secondo, 0);
  EXPECT_EQ(f.testata[85].primo, 0);
  EXPECT_EQ(f.testata[85].terzo, 3);
  EXPECT_EQ(f.testata[85].secondo, 5);
  EXPECT_EQ(f.testata[86].primo, 0);
  EXPECT_EQ(f.testata[86].terzo, 0);
}

TEST_F(SorgenteLinea, ChiaviDelProfiloInQualsiasiCaso) {
  leggi(linea(righe({"PENDENZA, 0, 4", "Pendenza, 600, 0", "CurvaS4, 10, 1", "MONTAGNA, 1050, 1400, 2",
                     "Indicatori_V, 2000, 1, 0, 0, 0, 60, 0, 0, 0", "INDICAT CARTELLO, 3000, Testo"})));
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(c(0).pendenza, 104);
  EXPECT_EQ(f.tracciato.valore(11, 0), -0.001);
  EXPECT_EQ(c(21).montagna, 2);
  EXPECT_EQ(c(41).tipo, indicatore_v_max);
  EXPECT_EQ(c(61).tipo, cartello);
  EXPECT_EQ(f.testata[80].nome, "Testo");
}

// A curve of 1 m at metre 10 turns the straight line by k: point 11 is (k, 11).
struct curvatura {
  const char* chiave;
  double k;
};

class Curvatura : public SorgenteLinea, public testing::WithParamInterface<curvatura> {};

TEST_P(Curvatura, PrimaCifraESegno) {
  leggi(linea(std::string(GetParam().chiave) + ", 10, 1\r\n"));
  ASSERT_EQ(f.codice_errore, 0);
  EXPECT_EQ(f.tracciato.valore(10, 0), 0.0);
  EXPECT_EQ(f.tracciato.valore(11, 0), GetParam().k);
  EXPECT_EQ(f.tracciato.valore(11, 1), 11.0);
}

INSTANTIATE_TEST_SUITE_P(Chiavi, Curvatura,
                         testing::Values(curvatura{"curva1", 0.0001}, curvatura{"curva2", 0.0002},
                                         curvatura{"curvad3", 0.0004}, curvatura{"curva4", 0.001},
                                         curvatura{"curva5", 0.002}, curvatura{"curva6", 0.003},
                                         curvatura{"curvad31", 0.0001}, curvatura{"curva 2 1", 0.0001},
                                         curvatura{"curva 6 5", 0.002}, curvatura{"curvas2", -0.0002},
                                         curvatura{"CURVAS4", -0.001}));

TEST_F(SorgenteLinea, RegolaDelTrattino) {
  // In the general section up to ten fields with "-" are skipped: the
  // eleventh is the key, even with a "-" of its own.
  leggi(linea("", "-,-,-,-,-,-,-,-,-,-,-lunghezza percorso, 4000\r\n"));
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(f.testata[84].secondo, 4000);
}

TEST_F(SorgenteLinea, UnaTestataConTrattinoNonChiudeLaSezioneGenerale) {
  // The eleventh field "  -[x]" is a key; it holds brackets but starts with
  // "-" after its blanks, so the length line after it is still in the
  // general section.
  leggi(linea("", "-,-,-,-,-,-,-,-,-,-,\"  -[x]\"\r\nlunghezza percorso, 4000\r\n"));
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(f.percorso.size(), 221u);
}

TEST_F(SorgenteLinea, RegolaDelTrattinoNelProfilo) {
  // Two fields skipped: the third is the key.
  leggi(linea(righe({"pendenza, 0, 4", "-a, -b, -pendenza, 600, 0"})));
  EXPECT_EQ(c(0).pendenza, 104);
  EXPECT_EQ(c(12).pendenza, 100);
}

TEST_F(SorgenteLinea, LaSezioneGeneraleFinisceConIDati) {
  leggi("[generale]\r\nlunghezza percorso,    4000");
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(f.percorso.size(), 221u);
  strato_uguale(&cella::pendenza, 0, 217, 100);
  EXPECT_FALSE(esiste(sorgente_linea));
}

// --- general section -------------------------------------------------------

struct dimensione {
  const char* lunghezza;
  size_t ultima;
};

class Dimensione : public SorgenteLinea, public testing::WithParamInterface<dimensione> {};

TEST_P(Dimensione, UltimaCellaArrotondataAlPari) {
  leggi(linea("", "lunghezza percorso, " + std::string(GetParam().lunghezza) + "\r\n"));
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(f.percorso.size(), GetParam().ultima + 1);
}

INSTANTIATE_TEST_SUITE_P(Lunghezze, Dimensione,
                         testing::Values(dimensione{"0", 140}, dimensione{"25", 140}, dimensione{"75", 142},
                                         dimensione{"4000", 220}, dimensione{"4000.5", 220},
                                         dimensione{"1000000", 20140}));

TEST_F(SorgenteLinea, LunghezzaMassimaAccettata) {
  leggi(linea("", "lunghezza percorso, 1000000\r\n"));
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(f.tracciato.ultimo_metro(), 1007000);
  EXPECT_EQ(f.tracciato.tipo(1006998, 0), tipo_elemento::doppio);
  EXPECT_EQ(f.tracciato.valore(1006998, 1), 1006998.0);
  EXPECT_EQ(f.tracciato.tipo(1006999, 0), tipo_elemento::vuoto);
}

TEST_F(SorgenteLinea, UnaSecondaLunghezzaRicreaLaGriglia) {
  leggi(linea("", righe({"lunghezza percorso, 4000", "lunghezza percorso, 0"})));
  EXPECT_EQ(f.percorso.size(), 141u);
  EXPECT_EQ(f.tracciato.ultimo_metro(), 7000);
  EXPECT_EQ(f.testata[84].secondo, 0);
}

TEST_F(SorgenteLinea, LunghezzaNonValidaRestaNelRecord) {
  leggi(linea("", "lunghezza percorso, 1000001\r\n"));
  EXPECT_EQ(f.codice_errore, 1);
  EXPECT_EQ(f.testata[84].secondo, 1000001);
  EXPECT_FALSE(f.griglia_dimensionata());

  SetUp();
  leggi(linea("", "lunghezza percorso, -1\r\n"));
  EXPECT_EQ(f.codice_errore, 25);
  EXPECT_EQ(f.testata[84].secondo, -1);
  EXPECT_FALSE(f.griglia_dimensionata());
}

struct ripetizione {
  const char* riga;
  int32_t codice;
  int32_t terzo;
};

class Ripetizione : public SorgenteLinea, public testing::WithParamInterface<ripetizione> {};

TEST_P(Ripetizione, NumeroDiCodici) {
  leggi(linea("", "lunghezza percorso, 4000\r\n" + std::string(GetParam().riga) + "\r\n"));
  EXPECT_EQ(f.codice_errore, GetParam().codice);
  EXPECT_EQ(f.testata[86].terzo, GetParam().terzo);
}

INSTANTIATE_TEST_SUITE_P(Righe, Ripetizione,
                         testing::Values(ripetizione{"ripetizione segnali 9 codici, 100, 0", 0, 0},
                                         ripetizione{"ripetizione segnali 9 codici, 100, 50", 0, 9},
                                         ripetizione{"ripetizione segnali 4 o 9 codici, 100, 50", 0, 4},
                                         ripetizione{"ripetizione segnali 4 codici, -50, -100", 0, 4},
                                         ripetizione{"ripetizione segnali codici, 100, 50", 5, 0},
                                         ripetizione{"ripetizione segnali 4 codici, 120, 0", 3, 0},
                                         ripetizione{"ripetizione segnali 4 codici, -30, 0", 3, 0},
                                         ripetizione{"ripetizione segnali 4 codici, 100, 75", 4, 0}));

// --- progressive_ordina ------------------------------------------------------

struct terna {
  int32_t p, k, f;
  bool operator==(const terna&) const = default;
};

struct ordine {
  const char* nome;
  terna tre, due, uno;  // records 81, 82, 83 as read
  terna r81, r82, r83;  // after the ordering
};

class Ordina : public testing::TestWithParam<ordine> {};

TEST_P(Ordina, Records81a83) {
  sistema_finto sistema;
  Form1 f(sistema);
  const ordine& o = GetParam();
  auto metti = [&](int r, terna t) {
    f.testata[r].primo = t.p;
    f.testata[r].secondo = t.k;
    f.testata[r].terzo = t.f;
  };
  auto prendi = [&](int r) { return terna{f.testata[r].primo, f.testata[r].secondo, f.testata[r].terzo}; };
  metti(81, o.tre);
  metti(82, o.due);
  metti(83, o.uno);
  f.progressive_ordina();
  EXPECT_EQ(prendi(81), o.r81);
  EXPECT_EQ(prendi(82), o.r82);
  EXPECT_EQ(prendi(83), o.r83);
}

constexpr terna zero{0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Casi, Ordina,
    testing::Values(
        ordine{"incorporato", zero, zero, {0, 87750, 1}, {0, 87850, 1}, zero, zero},
        ordine{"catene_vince_l_ultima", zero, {0, 5000, 0}, {0, 87750, 0}, {0, 87750, 0}, {0, 5000, 0}, zero},
        ordine{"catena_della_prima", {0, 100, 0}, zero, zero, {0, 100, 0}, zero, zero},
        ordine{"catena_della_seconda", zero, {0, 5000, 1}, zero, {0, 5100, 1}, zero, zero},
        ordine{"nessuna_catena", zero, zero, zero, zero, zero, zero},
        ordine{"pari_in_testa", zero, {1550, 1, 0}, {1550, 2, 0}, zero, zero, zero},
        ordine{"tre_due_uno", {300, 3, 0}, {200, 2, 0}, {100, 1, 1}, {300, 3, 0}, {200, 2, 0}, {100, 101, 1}},
        ordine{"tre_uno_due", {300, 3, 0}, {100, 2, 0}, {200, 1, 0}, {300, 3, 0}, {200, 1, 0}, {100, 2, 0}},
        ordine{"due_tre_uno", {200, 3, 0}, {300, 2, 0}, {100, 1, 0}, {300, 2, 0}, {200, 3, 0}, {100, 1, 0}},
        ordine{"due_uno_tre", {100, 3, 0}, {300, 2, 0}, {200, 1, 0}, {300, 2, 0}, {200, 1, 0}, {100, 3, 0}},
        ordine{"uno_tre_due", {200, 3, 0}, {100, 2, 0}, {300, 1, 0}, {300, 1, 0}, {200, 3, 0}, {100, 2, 0}},
        ordine{"uno_due_tre", {100, 3, 1}, {200, 2, 0}, {300, 1, 0}, {300, 1, 0}, {200, 2, 0}, {100, 103, 1}},
        ordine{"pari_in_coda", {300, 3, 0}, {100, 2, 0}, {100, 1, 0}, {300, 3, 0}, {100, 1, 0}, {100, 2, 0}},
        // Positions that sum to 0 choose by chainage.
        ordine{"somma_zero", {-100, 500, 0}, {100, 0, 0}, zero, {-100, 500, 0}, {100, 0, 0}, zero},
        ordine{"solo_bandiera_uno", zero, zero, {0, 50, 2}, {0, 50, 2}, zero, zero}),
    [](const testing::TestParamInfo<ordine>& i) { return std::string(i.param.nome); });

TEST(OrdinaLimiti, SommaOCatenaOltreI32BitLancia) {
  sistema_finto sistema;
  Form1 f(sistema);
  f.testata[81].primo = 2147483647;
  f.testata[82].primo = 1;
  EXPECT_THROW(f.progressive_ordina(), errore_lettura);

  f.cancella_testata();
  f.testata[83].secondo = 2147483600;
  f.testata[83].terzo = 1;
  EXPECT_THROW(f.progressive_ordina(), errore_lettura);
}

// --- errors: number, position, what is deleted -------------------------------

struct caso_errore {
  const char* nome;
  std::function<std::optional<std::string>()> linea;  // nullopt: no line source
  int32_t codice;
  int32_t posizione;
  // Whether the train source is still there; nullopt where the reader goes
  // on to the train source, which it then reads and deletes.
  std::optional<bool> treno_resta;
};

class Errore : public SorgenteLinea, public testing::WithParamInterface<caso_errore> {};

TEST_P(Errore, CodicePosizioneECancellazioni) {
  const caso_errore& e = GetParam();
  std::optional<std::string> testo = e.linea();
  sistema.file[sorgente_treno] = treno_vuoto;
  if (testo) sistema.file[sorgente_linea] = *testo;
  f.memorizza_dati();

  EXPECT_EQ(f.codice_errore, e.codice);
  EXPECT_EQ(f.posizione_errore, e.posizione);
  EXPECT_FALSE(esiste(sorgente_linea));
  if (e.treno_resta) {
    EXPECT_EQ(esiste(sorgente_treno), *e.treno_resta);
  }
}

auto testo(std::string t) {
  return [t]() -> std::optional<std::string> { return t; };
}
auto profilo(std::string p) { return testo(linea(p)); }
auto generale(std::string g) { return testo(linea("", g)); }

INSTANTIATE_TEST_SUITE_P(
    Codici, Errore,
    testing::Values(
        caso_errore{"101_nessuna_sorgente", [] { return std::optional<std::string>(); }, 101, nessuna_posizione, true},
        caso_errore{"102_vuota", testo(""), 102, nessuna_posizione, true},
        caso_errore{"102_senza_generale", testo("lunghezza percorso, 4000\r\n[fine]\r\n"), 102, nessuna_posizione,
                    true},
        caso_errore{"102_generale_ultimo", testo("x\r\n[Generale]\r\n"), 102, nessuna_posizione, true},
        caso_errore{"102_generale_senza_fine_riga", testo("[generale]"), 102, nessuna_posizione, true},
        caso_errore{"1_lunghezza", generale("lunghezza percorso, 1000001\r\n"), 1, nessuna_posizione, true},
        caso_errore{"3_primo_valore", generale("ripetizione segnali 4 codici, 120, 0\r\n"), 3, nessuna_posizione, true},
        caso_errore{"4_secondo_valore", generale("ripetizione segnali 4 codici, 100, 30\r\n"), 4, nessuna_posizione,
                    true},
        caso_errore{"5_nessuna_cifra", generale("ripetizione segnali codici, 100, 50\r\n"), 5, nessuna_posizione, true},
        caso_errore{"6_cella_occupata", profilo("indicat cartello, 1000, a\r\nindicat cartello, 1010, b\r\n"), 6, 1010,
                    true},
        caso_errore{"10_ottantunesimo_cartello", profilo(cartelli(81)), 10, nessuna_posizione, true},
        caso_errore{"15_oltre_la_griglia", profilo("pendenza, 10901, 0\r\n"), 15, 10901, std::nullopt},
        caso_errore{"15_sotto_la_griglia", profilo("indicat cartello, -100, a\r\n"), 15, -100, std::nullopt},
        caso_errore{"15_montagna_sotto", profilo("montagna, -100, 500, 2\r\n"), 15, -100, std::nullopt},
        caso_errore{"15_curva", profilo("curva4, 10901, 0\r\n"), 15, 10901, std::nullopt},
        caso_errore{"21_indicatore_su_cartello",
                    profilo("indicat cartello, 1000, a\r\nindicatori_v, 1000, 1, 0, 0, 0, 60, 0, 0, 0\r\n"), 21, 1000,
                    true},
        caso_errore{"25_numero", profilo("pendenza, 6OO, 4\r\n"), 25, nessuna_posizione, false},
        caso_errore{"25_fuori_dai_32_bit", profilo("pendenza, 2147483648, 4\r\n"), 25, nessuna_posizione, false},
        caso_errore{"25_lunghezza_negativa", generale("lunghezza percorso, -1\r\n"), 25, nessuna_posizione, false},
        caso_errore{"25_senza_lunghezza", generale("sfondo uno, 0\r\n"), 25, nessuna_posizione, false},
        caso_errore{"25_trattino_alla_fine", testo("[generale]\r\n-a"), 25, nessuna_posizione, false},
        caso_errore{"25_valori_mancanti", testo("[generale]\r\nlunghezza percorso, 4000\r\n[curve]\r\npendenza, 600"),
                    25, nessuna_posizione, false},
        caso_errore{"25_pendenza_oltre", profilo("pendenza, 0, 2147483647\r\npendenza, 600, 0\r\n"), 25,
                    nessuna_posizione, false},
        caso_errore{"25_curva_oltre", profilo("curva4, 100, 2147483647\r\n"), 25, nessuna_posizione, false},
        caso_errore{"25_ottantunesima_montagna",
                    [] {
                      std::string p;
                      for (int i = 0; i < 81; ++i) p += "montagna, 0, 0, 1\r\n";
                      return std::optional<std::string>(linea(p));
                    },
                    25, nessuna_posizione, false},
        caso_errore{"25_testo_troppo_lungo", profilo("indicat cartello, 1000, " + std::string(65536, 'x') + "\r\n"), 25,
                    nessuna_posizione, false},
        caso_errore{"103_senza_cifra", profilo("curvas, 300, 150\r\n"), 103, nessuna_posizione, true},
        caso_errore{"103_oltre_il_tracciato", profilo("curva4, 100, 10901\r\n"), 103, nessuna_posizione, true}),
    [](const testing::TestParamInfo<caso_errore>& i) { return std::string(i.param.nome); });

TEST_F(SorgenteLinea, Errore101NonCancellaNulla) {
  sistema.file[sorgente_treno] = treno_vuoto;
  f.memorizza_dati();
  EXPECT_EQ(f.codice_errore, 101);
  for (const std::string& voce : sistema.registro) EXPECT_EQ(voce.rfind("rimuovi", 0), std::string::npos) << voce;
  // The name copies come first all the same.
  EXPECT_EQ(f.testata[85].nome, "Borvale PF_Borvale PR");
  EXPECT_EQ(f.testata[86].nome, "31758");
}

TEST_F(SorgenteLinea, UnoStopLasciaCioCheEraGiaScritto) {
  // Code 6 stops at once: what came before stays, the tails are not run.
  leggi(linea(righe({"pendenza, 0, 4", "pendenza, 600, 0", "montagna, 1050, 1400, 2", "indicat cartello, 100, a",
                     "indicat cartello, 90, b", "pendenza, 1000, 0"})));
  ASSERT_EQ(f.codice_errore, 6);
  strato_uguale(&cella::pendenza, 0, 11, 104);
  strato_uguale(&cella::pendenza, 12, 220, 0);
  EXPECT_EQ(c(21).montagna, 2);
  EXPECT_EQ(c(3).tipo, cartello);
  EXPECT_EQ(f.testata[80].nome, "a");
  EXPECT_EQ(f.testata[79].nome, "");
  EXPECT_EQ(f.tracciato.tipo(2, 0), tipo_elemento::vuoto);
}

TEST_F(SorgenteLinea, Codice15EseguePoiIPassiFinali) {
  leggi(
      linea(righe({"pendenza, 0, 4", "curva4, 10, 5", "indicat cartello, 10901, oltre", "indicat cartello, 100, a"})));
  ASSERT_EQ(f.codice_errore, 15);
  EXPECT_EQ(f.posizione_errore, 10901);
  EXPECT_EQ(f.riga_sorgente_errore, 6);  // the line of the refused key
  // The lines after the refused one are not read; the tails are run.
  EXPECT_EQ(c(3).tipo, libero);
  EXPECT_EQ(f.testata[80].nome, "");
  strato_uguale(&cella::pendenza, 0, 217, 104);
  EXPECT_EQ(f.tracciato.tipo(10998, 0), tipo_elemento::doppio);
  EXPECT_EQ(f.tracciato.tipo(10999, 0), tipo_elemento::vuoto);
  EXPECT_FALSE(esiste(sorgente_linea));
}

TEST_F(SorgenteLinea, UnaLettura25CancellaEntrambeLeSorgenti) {
  leggi(linea("indicatori_v, 1000, 1, 1700, 0, 0, 60, 0, 0, 0\r\n"));
  EXPECT_EQ(f.codice_errore, 25);
  EXPECT_FALSE(esiste(sorgente_linea));
  EXPECT_FALSE(esiste(sorgente_treno));
  // The indicator keeps the kind and the pair written before the one that
  // did not fit.
  EXPECT_EQ(c(21).tipo, indicatore_v_max);
  EXPECT_EQ(c(21).dato1, 32);
  EXPECT_EQ(c(21).dato2, 0);
}

TEST_F(SorgenteLinea, FileCheNonSiLeggeONonSiCancella) {
  // Operation 1 reads the line source, operation 2 deletes it at the end.
  for (int operazione : {1, 2}) {
    SetUp();
    sistema.registro.clear();
    sistema.operazioni = 0;
    sistema.operazione_che_fallisce = operazione;
    leggi(linea("pendenza, 600, 4\r\n"));
    EXPECT_EQ(f.codice_errore, 25) << operazione;
    EXPECT_FALSE(esiste(sorgente_linea)) << operazione;
    EXPECT_FALSE(esiste(sorgente_treno)) << operazione;
  }
}

TEST_F(SorgenteLinea, SenzaLunghezzaLaGrigliaNonNasce) {
  for (int32_t crea : {1, 0}) {
    SetUp();
    f.crea_linea = crea;
    leggi(linea("", "sfondo uno, 1\r\n"));
    EXPECT_EQ(f.codice_errore, 25) << crea;
    EXPECT_FALSE(f.griglia_dimensionata()) << crea;
    EXPECT_FALSE(f.tracciato.esiste()) << crea;
    EXPECT_EQ(f.testata[85].primo, 1) << crea;
  }
}

// --- gradients ---------------------------------------------------------------

struct tratto {
  size_t da, a;
  int valore;
};

struct caso_pendenza {
  const char* nome;
  const char* righe;
  std::vector<tratto> attesi;  // with N = 220
};

class Pendenze : public SorgenteLinea, public testing::WithParamInterface<caso_pendenza> {};

TEST_P(Pendenze, Celle) {
  leggi(linea(GetParam().righe));
  ASSERT_EQ(f.codice_errore, 0);
  for (const tratto& t : GetParam().attesi) strato_uguale(&cella::pendenza, t.da, t.a, t.valore);
}

INSTANTIATE_TEST_SUITE_P(
    Liste, Pendenze,
    testing::Values(
        caso_pendenza{"nessuna", "", {{0, 217, 100}, {218, 220, 0}}},
        caso_pendenza{"pari_per_difetto",
                      "pendenza, 0, -4\r\npendenza, 1025, 7\r\n",
                      {{0, 19, 96}, {20, 217, 107}, {218, 220, 0}}},
        caso_pendenza{"pari_per_eccesso", "pendenza, 0, -101\r\npendenza, 1075, 0\r\n", {{0, 21, 255}, {22, 217, 100}}},
        caso_pendenza{"stessa_posizione_due_volte",
                      "pendenza, 0, 4\r\npendenza, 600, 8\r\npendenza, 600, 2\r\n",
                      {{0, 11, 104}, {12, 12, 108}, {13, 217, 102}}},
        caso_pendenza{"posizione_negativa", "pendenza, -500, 9\r\npendenza, 100, 1\r\n", {{0, 1, 109}, {2, 217, 101}}},
        // (10900 + 100) / 50 = 220 passes; the cursor then stands at 218 and
        // the tail's one cell goes there.
        caso_pendenza{"al_limite_della_griglia",
                      "pendenza, 0, 3\r\npendenza, 10900, 5\r\n",
                      {{0, 217, 103}, {218, 218, 105}, {219, 220, 0}}}),
    [](const testing::TestParamInfo<caso_pendenza>& i) { return std::string(i.param.nome); });

// --- curves ------------------------------------------------------------------

TEST_F(SorgenteLinea, UnaCurvaGiaPassataNonAggiungePunti) {
  leggi(linea("curva4, 0, 10\r\n"));
  const std::string sola(f.tracciato.immagine());
  SetUp();
  leggi(linea("curva4, 0, 10\r\ncurvas6, 2, 8\r\n"));
  ASSERT_EQ(f.codice_errore, 0);
  EXPECT_EQ(f.tracciato.immagine(), sola);
}

TEST_F(SorgenteLinea, LaTabellaPrendeIByteDallaPiattaforma) {
  leggi(linea("curva4, 0, 10\r\n"));
  ASSERT_EQ(f.codice_errore, 0);
  EXPECT_EQ(sistema.memoria.allocazioni, 1);
  EXPECT_GE(sistema.memoria.byte_in_uso, f.tracciato.immagine().size());
  f.tracciato = tabella_tracciato{};
  EXPECT_EQ(sistema.memoria.byte_in_uso, 0u);
}

TEST_F(SorgenteLinea, UnaCurvaFinoAllUltimoMetro) {
  leggi(linea("curva4, 100, 10900\r\n"));
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(f.tracciato.tipo(11000, 0), tipo_elemento::doppio);
}

TEST_F(SorgenteLinea, UnaCurvaOltreIlTracciatoNonScriveNulla) {
  leggi(linea("curva4, 100, 10901\r\n"));
  EXPECT_EQ(f.codice_errore, 103);
  EXPECT_EQ(f.tracciato.tipo(2, 0), tipo_elemento::vuoto);
}

TEST_F(SorgenteLinea, IlContatoreNonPassaIlMilione) {
  const std::string lunga = "lunghezza percorso, 1000000\r\n";
  leggi(linea("curva4, 0, 999999\r\n", lunga));
  EXPECT_EQ(f.codice_errore, 0);

  // The last point, metre 1000000, is stored; then the reader stops.
  for (const char* riga : {"curva4, 0, 1000000\r\n", "curva4, 1000000, 5\r\n"}) {
    SetUp();
    leggi(linea(riga, lunga));
    EXPECT_EQ(f.codice_errore, 103) << riga;
    EXPECT_EQ(f.tracciato.tipo(1000000, 1), tipo_elemento::doppio) << riga;
    EXPECT_EQ(f.tracciato.tipo(1000001, 1), tipo_elemento::vuoto) << riga;
    EXPECT_TRUE(esiste(sorgente_treno)) << riga;
  }
}

// --- signs and speed indicators ----------------------------------------------

TEST_F(SorgenteLinea, CartelliDa80InGiu) {
  leggi(linea(righe({"indicat cartello, 1000, \"Km 87, 850\"", "indicat cartello, 75, due",
                     "indicat cartello, 125, tre", "indicat cartello, -75, quattro"})));
  ASSERT_EQ(f.codice_errore, 0);
  EXPECT_EQ(c(21).tipo, cartello);
  EXPECT_EQ(c(21).dato1, 80);
  EXPECT_EQ(f.testata[80].nome, "Km 87, 850");
  EXPECT_EQ(c(2).dato1, 79);  // 2.5 rounds to 2
  EXPECT_EQ(c(4).dato1, 78);  // 3.5 rounds to 4
  EXPECT_EQ(c(0).dato1, 77);  // -0.5 rounds to 0
  EXPECT_EQ(f.testata[77].nome, "quattro");
}

TEST_F(SorgenteLinea, OttantaCartelliEntranoIlSuccessivoNo) {
  leggi(linea(cartelli(80)));
  EXPECT_EQ(f.codice_errore, 0);
  EXPECT_EQ(f.testata[1].nome, "c79");
  EXPECT_EQ(c(80).dato1, 1);

  SetUp();
  leggi(linea(cartelli(81)));
  EXPECT_EQ(f.codice_errore, 10);
  EXPECT_EQ(c(81).tipo, libero);
  EXPECT_EQ(f.testata[0].nome, "");
}

TEST_F(SorgenteLinea, UnSegnoDiMontagnaCedeIlPosto) {
  // Cell 24 holds a weak mark; a sign and then an indicator may take the
  // marks of two sections.
  leggi(linea(righe({"montagna, 1050, 1400, 12", "indicat cartello, 1150, a", "montagna, 2050, 2400, 12",
                     "indicatori_v, 2150, 0, 0, 0, 0, 60, 0, 0, 0"})));
  ASSERT_EQ(f.codice_errore, 0);
  EXPECT_EQ(c(24).tipo, cartello);
  EXPECT_EQ(c(44).tipo, indicatore_v_max);
}

TEST_F(SorgenteLinea, MontagnaTagliataAllaFineDellaGriglia) {
  leggi(linea("montagna, 10800, 20000, 2\r\n"));
  ASSERT_EQ(f.codice_errore, 0);
  strato_uguale(&cella::montagna, 0, 215, 0);
  strato_uguale(&cella::montagna, 216, 220, 2);
}

}  // namespace
