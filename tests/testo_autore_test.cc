// An author's text into Windows-1252: which encoding each text is taken as,
// the bytes it gives, and what is refused and where.
#include "model/testo_autore.h"

#include <gtest/gtest.h>

#include <string>

#include "model/windows1252.h"

namespace {

using enum codifica_testo;

struct caso {
  const char* nome;
  std::string testo;
  codifica_testo richiesta;
  codifica_testo letta;
  std::string atteso;  // Windows-1252 bytes
};

class ConvertiTesto : public testing::TestWithParam<caso> {};

TEST_P(ConvertiTesto, DaIByteAttesi) {
  const caso& c = GetParam();
  testo_convertito r = converti_testo_autore(c.testo, c.richiesta);
  ASSERT_FALSE(r.errore) << r.errore->riga << ":" << r.errore->colonna;
  EXPECT_EQ(r.codifica, c.letta);
  EXPECT_EQ(r.testo, c.atteso);
}

INSTANTIATE_TEST_SUITE_P(
    Testi, ConvertiTesto,
    testing::Values(
        caso{"ascii", "stazione, 0, x\r\n", automatica, windows1252, "stazione, 0, x\r\n"},
        caso{"vuoto", "", automatica, windows1252, ""},
        caso{"windows_1252", "CITT\xC0 NUOVA\r\n", automatica, windows1252, "CITT\xC0 NUOVA\r\n"},
        // Every character of the page that UTF-8 spells with two or three
        // bytes, the euro sign and the quotes of the 0x80-0x9F row included.
        caso{"utf8", "CITT\xC3\x80 NUOVA, sull\xE2\x80\x99\xC3\x80" "dige, 5 \xE2\x82\xAC\r\n", automatica, utf8,
             "CITT\xC0 NUOVA, sull\x92\xC0" "dige, 5 \x80\r\n"},
        caso{"utf8_con_bom", "\xEF\xBB\xBF" "CITT\xC3\x80", automatica, utf8, "CITT\xC0"},
        // The mark alone makes a text UTF-8, and is dropped.
        caso{"bom_e_ascii", "\xEF\xBB\xBF[generale]\r\n", automatica, utf8, "[generale]\r\n"},
        // Not valid UTF-8 somewhere: Windows-1252, every byte kept.
        caso{"quasi_utf8", "\xC3\x80 e poi \xE8", automatica, windows1252, "\xC3\x80 e poi \xE8"},
        caso{"forma_lunga", "\xC0\x80", automatica, windows1252, "\xC0\x80"},
        caso{"surrogato", "\xED\xA0\x80", automatica, windows1252, "\xED\xA0\x80"},
        caso{"oltre_10ffff", "\xF4\x90\x80\x80", automatica, windows1252, "\xF4\x90\x80\x80"},
        caso{"troncato", "abc\xC3", automatica, windows1252, "abc\xC3"},
        // The five bytes the page leaves undefined stand for C1 controls.
        caso{"controllo_c1", "\xC2\x81\xC2\x9D", automatica, utf8, "\x81\x9D"},
        caso{"nul", std::string("a\0\xC3\xA8", 4), automatica, utf8, std::string("a\0\xE8", 3)},
        // Asked for: taken as said, the mark included under windows-1252.
        caso{"chiesto_windows_1252", "\xEF\xBB\xBF\xC3\x80", windows1252, windows1252, "\xEF\xBB\xBF\xC3\x80"},
        caso{"chiesto_utf8_ascii", "abc", utf8, utf8, "abc"}),
    [](const testing::TestParamInfo<caso>& i) { return std::string(i.param.nome); });

// A text read as Windows-1252 that holds UTF-8 letters too: where the first
// is, and which; the text is taken all the same.
TEST(ConvertiTesto, UnTestoCheMescolaLeDueCodificheLoDice) {
  const struct {
    const char* nome;
    std::string testo;
    codifica_testo richiesta;
    int32_t riga, colonna;  // 0: none
    char32_t carattere;
  } casi[] = {
      {"utf8_in_testa", "\xC3\x80 e poi \xE8", automatica, 1, 1, 0xC0},
      {"riga_utf8_aggiunta", "CITT\xC0\r\nnote: pi\xC3\xB9", automatica, 2, 9, 0xF9},
      {"solo_windows_1252", "CITT\xC0 NUOVA \xE8\xE0", automatica, 0, 0, 0},
      {"ascii", "stazione, 0, x", automatica, 0, 0, 0},
      {"troncato", "abc\xC3", automatica, 0, 0, 0},
      {"tutto_utf8", "CITT\xC3\x80", automatica, 0, 0, 0},
      // Asked for Windows-1252: the author has said what the text is.
      {"chiesto_windows_1252", "\xC3\x80 e poi \xE8", windows1252, 0, 0, 0},
  };
  for (const auto& c : casi) {
    SCOPED_TRACE(c.nome);
    const testo_convertito r = converti_testo_autore(c.testo, c.richiesta);
    ASSERT_FALSE(r.errore);
    if (c.riga == 0) {
      EXPECT_FALSE(r.misto);
      continue;
    }
    ASSERT_TRUE(r.misto);
    EXPECT_EQ(r.misto->riga, c.riga);
    EXPECT_EQ(r.misto->colonna, c.colonna);
    EXPECT_EQ(r.misto->carattere, c.carattere);
    EXPECT_EQ(r.codifica, windows1252);
    EXPECT_EQ(r.testo, c.testo);
  }
  EXPECT_EQ(testo_codifica_mista(0xF9),
            "il testo non è tutto UTF-8 ed è letto come Windows-1252, ma qui c'è una lettera in UTF-8 (\"\xC3\xB9\", "
            "che così diventa \"\xC3\x83\xC2\xB9\"): il file mescola le due codifiche; va salvato tutto in UTF-8 o "
            "tutto in Windows-1252");
}

// What is refused: the place (line and column in characters) and the
// character or byte.
struct rifiuto {
  const char* nome;
  std::string testo;
  codifica_testo richiesta;
  int32_t riga, colonna;
  char32_t carattere;
  unsigned char byte;
};

class ConvertiTestoRifiuta : public testing::TestWithParam<rifiuto> {};

TEST_P(ConvertiTestoRifiuta, DiceDoveECosa) {
  const rifiuto& c = GetParam();
  testo_convertito r = converti_testo_autore(c.testo, c.richiesta);
  ASSERT_TRUE(r.errore);
  EXPECT_EQ(r.errore->riga, c.riga);
  EXPECT_EQ(r.errore->colonna, c.colonna);
  EXPECT_EQ(r.errore->carattere, c.carattere);
  EXPECT_EQ(r.errore->byte, c.byte);
  EXPECT_EQ(r.codifica, utf8);
  EXPECT_EQ(r.testo, "");
}

INSTANTIATE_TEST_SUITE_P(
    Testi, ConvertiTestoRifiuta,
    testing::Values(
        rifiuto{"freccia", "a\r\nx \xE2\x86\x92 y", automatica, 2, 3, 0x2192, 0},
        // Accents before it are one column each; the mark is none.
        rifiuto{"dopo_accenti", "\xEF\xBB\xBF\xC3\x80\xC3\xA8\xE2\x82\xAC\xC5\x91", automatica, 1, 4, 0x0151, 0},
        rifiuto{"emoji", "x,\xF0\x9F\x9A\x82", automatica, 1, 3, 0x1F682, 0},
        rifiuto{"cjk", "\xE9\xA7\x85", automatica, 1, 1, 0x99C5, 0},
        rifiuto{"bom_in_mezzo", "\xC3\xA8\xEF\xBB\xBF", automatica, 1, 2, 0xFEFF, 0},
        rifiuto{"controllo_c1_senza_byte", "\xC2\x80", automatica, 1, 1, 0x80, 0},
        // Each kind of line end counts one line; CR LF counts one.
        rifiuto{"fine_righe", "a\r\nb\nc\rd\r\n\xE2\x86\x92", automatica, 5, 1, 0x2192, 0},
        // Not UTF-8 where UTF-8 was asked for or promised by the mark.
        rifiuto{"windows_1252_come_utf8", "CITT\xC0 NUOVA", utf8, 1, 5, 0, 0xC0},
        rifiuto{"bom_e_poi_1252", "\xEF\xBB\xBFpi\xF9", automatica, 1, 3, 0, 0xF9},
        rifiuto{"forma_lunga_come_utf8", "ab\xC0\x80", utf8, 1, 3, 0, 0xC0}),
    [](const testing::TestParamInfo<rifiuto>& i) { return std::string(i.param.nome); });

TEST(ConvertiTesto, UnTestoUtf8DiventaIlSuoGemello1252) {
  // Every character of the page, written out in UTF-8 and converted back.
  std::string pagina;
  for (int b = 0; b < 256; ++b) pagina += static_cast<char>(b);
  testo_convertito r = converti_testo_autore(da_cp1252_a_utf8(pagina), utf8);
  ASSERT_FALSE(r.errore);
  EXPECT_EQ(r.testo, pagina);
}

TEST(ConvertiTesto, NomiDelleCodificheECaratteri) {
  for (codifica_testo c : {automatica, utf8, windows1252}) EXPECT_EQ(codifica_di_nome(nome_codifica(c)), c);
  EXPECT_EQ(nome_codifica(utf8), "utf-8");
  EXPECT_FALSE(codifica_di_nome("latin1"));
  EXPECT_EQ(nome_unicode(0x2192), "U+2192");
  EXPECT_EQ(nome_unicode(0xE8), "U+00E8");
  EXPECT_EQ(nome_unicode(0x1F682), "U+1F682");
  EXPECT_EQ(carattere_utf8('a'), "a");
  EXPECT_EQ(carattere_utf8(0xE8), "\xC3\xA8");
  EXPECT_EQ(carattere_utf8(0x2192), "\xE2\x86\x92");
  EXPECT_EQ(carattere_utf8(0x1F682), "\xF0\x9F\x9A\x82");
}

}  // namespace
