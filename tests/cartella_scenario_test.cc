// A scenario folder read and written in memory: what a folder means (line
// ends, names, encodings), that writing a scenario and reading it back gives
// it again, and where a folder that breaks a rule is refused. The embedding's
// own test (tests/incorporazione/rifiuti.cmake) runs every refusal through
// the program that embeds folders at build time.
#include <gtest/gtest.h>

#include "diagnosi/riga_gnu.h"
#include "sources/cartella_scenario.h"
#include "sources/scenario_incorporato.h"

namespace {

// The files of a small valid folder, names first as file_cartella_scenario.
std::array<std::string, 7> cartella_piccola() {
  return {"Prova", "12", "[generale]\r\n[fine]\r\n", "[generale]\r\n[fine]\r\n", "nota\r\n", "", "scheda\r\n"};
}

TEST(cartella_scenario, scritta_e_riletta_da_lo_stesso_scenario) {
  for (const scenario& s : {scenario_incorporato(), scenario{"A", "1", {"", " x "}, {}, {"\xE8"}, {""}, {}}}) {
    const std::array<std::string, 7> file = file_cartella(s);
    const cartella_letta letta = leggi_cartella_scenario(file, codifica_testo::windows1252);
    ASSERT_TRUE(letta.s) << letta.errore()->testo;
    EXPECT_EQ(letta.s->nome_scenario, s.nome_scenario);
    EXPECT_EQ(letta.s->numero_treno, s.numero_treno);
    for (const testo_scenario& t : testi_scenario) EXPECT_EQ((*letta.s).*t.membro, s.*t.membro) << t.file;
    EXPECT_EQ(letta.convertiti, file);
  }
}

TEST(cartella_scenario, a_capo_nomi_e_codifiche) {
  std::array<std::string, 7> file = cartella_piccola();
  file[0] = "Citt\xC3\xA0\r\n";       // UTF-8, one line end after it
  file[1] = "12\n";
  file[2] = "a\nb\r\nc\rd";           // LF, CR LF, CR, and a last line without its end
  file[4] = "\xEF\xBB\xBFnota \xE2\x82\xAC\r\n";  // UTF-8 with the mark
  file[5] = "\xE8";                   // Windows-1252
  const cartella_letta letta = leggi_cartella_scenario(file, codifica_testo::automatica);
  ASSERT_TRUE(letta.s) << letta.errore()->testo;
  EXPECT_EQ(letta.s->nome_scenario, "Citt\xE0");
  EXPECT_EQ(letta.s->numero_treno, "12");
  EXPECT_EQ(letta.s->linea, (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(letta.s->note, std::vector<std::string>{"nota \x80"});
  EXPECT_EQ(letta.s->rallentamenti, std::vector<std::string>{"\xE8"});
  EXPECT_EQ(letta.codifiche[0], codifica_testo::utf8);
  EXPECT_EQ(letta.codifiche[5], codifica_testo::windows1252);
  EXPECT_EQ(letta.convertiti[4], "nota \x80\r\n");

  // Read as Windows-1252 throughout, the UTF-8 bytes stay as they are.
  const cartella_letta come_1252 = leggi_cartella_scenario(file, codifica_testo::windows1252);
  ASSERT_TRUE(come_1252.s);
  EXPECT_EQ(come_1252.s->nome_scenario, "Citt\xC3\xA0");
}

TEST(cartella_scenario, ogni_rifiuto_al_suo_posto) {
  struct caso {
    size_t file;
    std::string byte;
    const char* luogo;  // as its GNU line names it, before ": "
  };
  std::string mille_e_una;
  for (int i = 0; i < 1001; ++i) mille_e_una += "x\r\n";
  const caso casi[] = {
      {0, "", "cartella/nome_scenario.txt"},
      {1, "1\r\n2", "cartella/numero_treno.txt:2"},
      {1, "12\r\n\r\n", "cartella/numero_treno.txt:2"},
      {1, "../1", "cartella/numero_treno.txt"},
      {2, mille_e_una, "cartella/linea.txt:1001"},
      {3, "a\r\nriferimento fine del file\r\n", "cartella/treno.txt:2"},
      {4, "a\r\nb\xEF\xBF\xBD\r\n", "cartella/note.txt:2:2"},
      {6, "ok\r\nfreccia \xE2\x86\x92\r\n", "cartella/scheda_treno.txt:2:9"},
      {0, std::string(230, 'A'), "cartella/nome_scenario.txt"},
  };
  for (const caso& c : casi) {
    std::array<std::string, 7> file = cartella_piccola();
    file[c.file] = c.byte;
    const cartella_letta letta = leggi_cartella_scenario(file, codifica_testo::automatica);
    EXPECT_FALSE(letta.s) << c.luogo;
    ASSERT_TRUE(letta.errore()) << c.luogo;
    EXPECT_EQ(letta.errore()->livello, gravita::errore);
    const std::string detto = riga_gnu(*letta.errore(), "cartella/" + letta.errore()->dove.file);
    EXPECT_TRUE(detto.starts_with(std::string(c.luogo) + ": ")) << detto;
  }
}

// What the author reads for the mistakes whose cause is not plain: a line
// too many after the train's number, an editor's U+FFFD, a blank at a name's
// end (a warning: the folder is still read).
TEST(cartella_scenario, le_parole_dicono_la_causa) {
  std::array<std::string, 7> file = cartella_piccola();
  file[1] = "31758\r\n\r\n";
  cartella_letta letta = leggi_cartella_scenario(file, codifica_testo::automatica);
  ASSERT_TRUE(letta.errore());
  EXPECT_EQ(letta.errore()->codice, codice_avviso::cartella_non_valida);
  EXPECT_EQ(letta.errore()->dove.riga, 2);
  EXPECT_NE(letta.errore()->testo.find("il numero del treno sta su una riga sola"), std::string::npos)
      << letta.errore()->testo;
  EXPECT_NE(letta.errore()->testo.find("la riga 2 è una riga vuota"), std::string::npos) << letta.errore()->testo;

  file = cartella_piccola();
  file[6] = "Stazione di Citt\xEF\xBF\xBD\r\n";
  letta = leggi_cartella_scenario(file, codifica_testo::automatica);
  ASSERT_TRUE(letta.errore());
  EXPECT_EQ(letta.errore()->codice, codice_avviso::codifica_non_valida);
  EXPECT_NE(letta.errore()->testo.find("un editor ha sostituito una lettera che non sapeva leggere"),
            std::string::npos)
      << letta.errore()->testo;
  EXPECT_EQ(letta.errore()->citata, "Stazione di Citt\xEF\xBF\xBD");

  file = cartella_piccola();
  file[0] = "Prova \r\n";
  letta = leggi_cartella_scenario(file, codifica_testo::automatica);
  ASSERT_TRUE(letta.s);
  EXPECT_EQ(letta.s->nome_scenario, "Prova ");
  ASSERT_EQ(letta.diagnostiche.size(), 1u);
  const diagnostica& d = letta.diagnostiche[0];
  EXPECT_EQ(d.codice, codice_avviso::nome_con_spazi);
  EXPECT_EQ(d.livello, gravita::avviso);
  EXPECT_EQ(riga_gnu(d, d.dove.file), "nome_scenario.txt:1:6: attenzione: " +
                                          testo_nome_con_spazi("il nome dello scenario", "Prova ") +
                                          " [nome_con_spazi]");
}

}  // namespace
