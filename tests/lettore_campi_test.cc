// The field reader of the source texts, on texts in memory: which fields a
// text gives, which tokens and values it refuses, and the line numbers it
// reports.
#include "reader/lettore_campi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/errore_lettura.h"

namespace {

// One read: 't' text, 'l' 32-bit, 'i' 16-bit, 'b' byte; the value it gives,
// numbers in decimal.
struct campo {
  char tipo;
  std::string valore;
};

struct caso {
  const char* nome;
  std::string testo;
  std::vector<campo> campi;
  bool finito_dopo;  // whether no data remains after the reads
};

std::string leggi(lettore_campi& l, char tipo) {
  switch (tipo) {
    case 't':
      return l.testo();
    case 'l':
      return std::to_string(l.numero_long());
    case 'i':
      return std::to_string(l.numero_integer());
    default:
      return std::to_string(l.numero_byte());
  }
}

class LettoreCampi : public testing::TestWithParam<caso> {};

TEST_P(LettoreCampi, DaICampiAttesi) {
  const caso& c = GetParam();
  lettore_campi l(c.testo);
  for (size_t i = 0; i < c.campi.size(); ++i) {
    ASSERT_FALSE(l.finito()) << "campo " << i;
    EXPECT_EQ(leggi(l, c.campi[i].tipo), c.campi[i].valore) << "campo " << i;
  }
  EXPECT_EQ(l.finito(), c.finito_dopo);
}

INSTANTIATE_TEST_SUITE_P(
    Testi, LettoreCampi,
    testing::Values(
        // Line ends and text fields.
        caso{"crlf", "a,b\r\nc\r\n", {{'t', "a"}, {'t', "b"}, {'t', "c"}}, true},
        caso{"lf", "a\nb\n", {{'t', "a"}, {'t', "b"}}, true},  //
        caso{"cr", "a\rb\r", {{'t', "a"}, {'t', "b"}}, true},
        caso{"lf_cr_due_righe", "a\n\rb", {{'t', "a"}, {'t', ""}, {'t', "b"}}, true},
        caso{"riga_vuota", "\r\nx", {{'t', ""}, {'t', "x"}}, true},
        caso{"spazi_tolti", " \t pendenza \t ,  x y  \r\n", {{'t', "pendenza"}, {'t', "x y"}}, true},
        caso{"solo_spazi_testo", "   ", {{'t', ""}}, true},
        caso{"virgola_a_fine_riga", "a,\r\nb", {{'t', "a"}, {'t', ""}, {'t', "b"}}, true},
        caso{"virgolette", "\"a, b \"  resto, c", {{'t', "a, b "}, {'t', "c"}}, true},
        caso{"virgolette_spazi_interni", "  \"  a\"\r\nb", {{'t', "  a"}, {'t', "b"}}, true},
        caso{"virgolette_non_chiuse", "\"abc, d\r\ne", {{'t', "abc, d"}, {'t', "e"}}, true},
        caso{"virgolette_in_mezzo", "a\"b,c", {{'t', "a\"b"}, {'t', "c"}}, true},
        // Numeric fields: separators.
        caso{"chiave_e_valori",
             "lunghezza percorso,    4000\r\nx",
             {{'t', "lunghezza percorso"}, {'l', "4000"}, {'t', "x"}},
             true},
        caso{"spazi_prima_della_virgola", "0    ,0\r\n", {{'l', "0"}, {'l', "0"}}, true},
        caso{"solo_spazi_separano",
             "orologio,    13              27            42 \r\n[aderenze]",
             {{'t', "orologio"}, {'l', "13"}, {'l', "27"}, {'l', "42"}, {'t', "[aderenze]"}},
             true},
        caso{"spazio_e_fine_riga", "1 \r\n2", {{'l', "1"}, {'l', "2"}}, true},
        caso{"una_sola_fine_riga", "5\r\n\r\n", {{'l', "5"}, {'t', ""}}, true},
        caso{"token_vuoto", "1,,3", {{'l', "1"}, {'l', "0"}, {'l', "3"}}, true},
        caso{"solo_spazi_numero", "   ", {{'l', "0"}}, true},
        caso{"numero_tra_virgolette", "\"12\" , \" -3 \",4", {{'l', "12"}, {'l', "-3"}, {'l', "4"}}, true},
        caso{"segni", "-4,+7,-0", {{'l', "-4"}, {'l', "7"}, {'l', "0"}}, true},
        // Fractions: the nearest whole number, ties to even.
        caso{"frazioni",
             "2.5,3.5,-0.5,-1.5,1.49,0.5000001,7.,1.0",
             {{'l', "2"}, {'l', "4"}, {'l', "0"}, {'l', "-2"}, {'l', "1"}, {'l', "1"}, {'l', "7"}, {'l', "1"}},
             true},
        caso{"frazione_al_limite", "2147483646.5", {{'l', "2147483646"}}, true},
        // The limits of each type are accepted.
        caso{"limiti",
             "2147483647,-2147483648,32767,-32768,255,0",
             {{'l', "2147483647"}, {'l', "-2147483648"}, {'i', "32767"}, {'i', "-32768"}, {'b', "255"}, {'b', "0"}},
             true},
        caso{"resta_dato", "1,2", {{'l', "1"}}, false}),
    [](const testing::TestParamInfo<caso>& i) { return std::string(i.param.nome); });

// A token that is not a number, or a value outside its field's type, is a
// read failure.
struct rifiuto {
  std::string testo;
  char tipo;
};

class LettoreCampiRifiuta : public testing::TestWithParam<rifiuto> {};

TEST_P(LettoreCampiRifiuta, Lancia) {
  lettore_campi l(GetParam().testo);
  EXPECT_THROW(leggi(l, GetParam().tipo), errore_lettura);
}

INSTANTIATE_TEST_SUITE_P(
    Token, LettoreCampiRifiuta,
    testing::Values(rifiuto{"abc", 'l'}, rifiuto{"12x", 'l'}, rifiuto{"1e5", 'l'}, rifiuto{"0x10", 'l'},
                    rifiuto{"--1", 'l'}, rifiuto{"+", 'l'}, rifiuto{"-", 'l'}, rifiuto{".5", 'l'},
                    rifiuto{"1.2.3", 'l'}, rifiuto{"\"1 2\"", 'l'}, rifiuto{"2147483648", 'l'},
                    rifiuto{"-2147483649", 'l'}, rifiuto{"2147483647.5", 'l'}, rifiuto{"99999999999999999999999", 'l'},
                    rifiuto{"1" + std::string(400, '0') + ".5", 'l'}, rifiuto{"32768", 'i'}, rifiuto{"-32769", 'i'},
                    rifiuto{"256", 'b'}, rifiuto{"-1", 'b'}, rifiuto{"255.5", 'b'}));

TEST(LettoreCampi, IlSecondoCampoCattivoLanciaDopoIlPrimo) {
  lettore_campi l("1,5x");
  EXPECT_EQ(l.numero_long(), 1);
  EXPECT_THROW(l.numero_long(), errore_lettura);
}

TEST(LettoreCampi, LeggereAllaFineLancia) {
  lettore_campi vuoto("");
  EXPECT_TRUE(vuoto.finito());
  EXPECT_THROW(vuoto.testo(), errore_lettura);
  EXPECT_THROW(vuoto.numero_long(), errore_lettura);

  lettore_campi l("[fine]\r\n");
  EXPECT_EQ(l.testo(), "[fine]");
  EXPECT_TRUE(l.finito());
  EXPECT_THROW(l.testo(), errore_lettura);
  EXPECT_THROW(l.numero_byte(), errore_lettura);
}

TEST(LettoreCampi, NumeraLeRighe) {
  lettore_campi l("a\r\nb\nc\rd, 1 2\r\n\"e\" x\r\nf");
  std::vector<int32_t> righe;
  righe.push_back(l.riga());
  l.testo();  // a
  righe.push_back(l.riga());
  l.testo();  // b
  righe.push_back(l.riga());
  l.testo();  // c
  righe.push_back(l.riga());
  l.testo();  // d
  l.numero_long();
  righe.push_back(l.riga());
  l.numero_long();  // 2 and its line end
  righe.push_back(l.riga());
  l.testo();  // "e"
  righe.push_back(l.riga());
  EXPECT_EQ(righe, (std::vector<int32_t>{1, 2, 3, 4, 4, 5, 6}));
}

// Where each field starts: the line, and the column of its first character
// after the blanks (a quote for a quoted field), for warnings and errors to
// point at.
TEST(LettoreCampi, DoveIniziaOgniCampo) {
  lettore_campi l("  chiave, 12 ,\"q\" x\r\n\tvalore,,  -5\n7 8\r9\r\n");
  EXPECT_EQ(l.inizio_campo(), (luogo{0, 0}));
  struct lettura_attesa {
    char tipo;
    luogo inizio;
  };
  const lettura_attesa attese[] = {
      {'t', {1, 3}},  // chiave
      {'l', {1, 11}},  // 12
      {'t', {1, 15}},  // "q"
      {'t', {2, 2}},   // valore, after a tab
      {'l', {2, 9}},   // the empty field between the two commas
      {'l', {2, 12}},  // -5
      {'l', {3, 1}},   // 7, after LF alone
      {'l', {3, 3}},   // 8
      {'l', {4, 1}},   // 9, after CR alone
  };
  for (const lettura_attesa& a : attese) {
    leggi(l, a.tipo);
    EXPECT_EQ(l.inizio_campo(), a.inizio) << a.tipo << " " << a.inizio.riga << ":" << a.inizio.colonna;
    EXPECT_FALSE(l.campo_rifiutato());
  }
  EXPECT_TRUE(l.finito());
}

// A refused token is left as the last field started, so the error can point
// at it; reading past the end refuses no token.
TEST(LettoreCampi, IlCampoRifiutatoRestaQuelloIniziato) {
  struct caso {
    std::string testo;
    char tipo;
    luogo inizio;
  };
  const caso casi[] = {
      {"1, 5x", 'l', {1, 4}},
      {"1\r\n   300", 'b', {2, 4}},  // a number that does not fit its type
      {"1, \"abc\"", 'i', {1, 4}},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.testo);
    lettore_campi l(c.testo);
    l.numero_long();
    EXPECT_THROW(leggi(l, c.tipo), errore_lettura);
    EXPECT_TRUE(l.campo_rifiutato());
    EXPECT_EQ(l.inizio_campo(), c.inizio);
  }
  lettore_campi l("a, 1");
  l.testo();
  l.numero_long();
  EXPECT_THROW(l.numero_long(), errore_lettura);
  EXPECT_FALSE(l.campo_rifiutato());
  EXPECT_EQ(l.inizio_campo(), (luogo{1, 4}));
}

// A fraction rounded away is a warning at its field, with the text and the
// value taken; a whole number written with a point is none. Without a list
// the reader reads the same values and says nothing.
TEST(LettoreCampi, UnNumeroArrotondatoEUnAvviso) {
  const std::string testo = "8.5, 8.0, \"2.5\", -7.25, 9\r\n  10.5\r\n";
  const std::vector<int64_t> valori = {8, 8, 2, -7, 9, 10};
  std::vector<diagnostica> avvisi;
  lettore_campi con(testo);
  con.raccogli_avvisi(&avvisi, sorgente_build::treno);
  lettore_campi senza(testo);
  for (int64_t v : valori) {
    EXPECT_EQ(con.numero_long(), v);
    EXPECT_EQ(senza.numero_long(), v);
  }
  ASSERT_EQ(avvisi.size(), 4u);
  const struct {
    int32_t riga, colonna;
    const char* testo;
  } attesi[] = {
      {1, 1, "il numero \"8.5\" ha una parte decimale: è arrotondato a 8"},
      {1, 11, "il numero \"2.5\" ha una parte decimale: è arrotondato a 2"},
      {1, 18, "il numero \"-7.25\" ha una parte decimale: è arrotondato a -7"},
      {2, 3, "il numero \"10.5\" ha una parte decimale: è arrotondato a 10"},
  };
  for (size_t i = 0; i < avvisi.size(); ++i) {
    EXPECT_EQ(avvisi[i].dove.sorgente, sorgente_build::treno);
    EXPECT_EQ(avvisi[i].codice, codice_avviso::numero_arrotondato);
    EXPECT_EQ(avvisi[i].dove.riga, attesi[i].riga) << i;
    EXPECT_EQ(avvisi[i].dove.colonna, attesi[i].colonna) << i;
    EXPECT_EQ(avvisi[i].testo, attesi[i].testo);
  }
}

}  // namespace
