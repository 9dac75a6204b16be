// The five fixed texts as the writers put them on disk: exact bytes, CR LF
// line ends, the end marker never written, each one the file of the scenario
// folder it comes from.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "driver/form1.h"
#include "sources/elenco_righe.h"
#include "sources/scenario_incorporato.h"
#include "support/file_system_fake.h"

namespace {

struct testi : testing::Test {
  sistema_finto sistema;
  Form1 form{sistema};
  void SetUp() override {
    form.testi = scenario_incorporato();
    form.nome_scenario = "Borvale PF_Borvale PR";
    form.numero_treno = "31758";
  }
  const std::string& file(const std::string& nome) { return sistema.file.at(nome); }
};

// The n-th line (1-based) of a CR LF text.
std::string riga(const std::string& testo, int n) {
  size_t inizio = 0;
  for (int i = 1; i < n; ++i) inizio = testo.find("\r\n", inizio) + 2;
  return testo.substr(inizio, testo.find("\r\n", inizio) - inizio);
}

int righe(const std::string& testo) {
  int n = 0;
  for (size_t p = testo.find("\r\n"); p != std::string::npos; p = testo.find("\r\n", p + 2)) ++n;
  return n;
}

TEST_F(testi, ognuno_ha_il_suo_nome_la_sua_lunghezza_e_finisce_con_cr_lf) {
  struct caso {
    void (Form1::*scrittore)();
    const char* nome;
    size_t byte;
    int righe;
    const char* ultima;
  };
  const caso casi[] = {
      {&Form1::dati_linea, "Borvale PF_Borvale PR_linea.txt", 532, 23, "[fine]"},
      {&Form1::dati_treno, "Borvale PF_Borvale PR_31758-.txt", 601, 19, "[fine]"},
      {&Form1::dati_scheda, "Borvale PF_Borvale PR_31758_scheda_treno.txt", 3320, 43, ""},
      {&Form1::dati_rallentamenti, "Borvale PF_Borvale PR_31758_rallentamenti.txt", 3283, 46,
       "     i giorni esclusi i seguenti:........."},
      {&Form1::dati_note, "Borvale PF_Borvale PR_31758_note.txt", 0, 9, nullptr},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    (form.*c.scrittore)();
    const std::string& t = file(c.nome);
    if (c.byte) {
      EXPECT_EQ(t.size(), c.byte);
    }
    EXPECT_EQ(righe(t), c.righe);
    ASSERT_GE(t.size(), 2u);
    EXPECT_EQ(t.substr(t.size() - 2), "\r\n");
    EXPECT_EQ(t.find("riferimento fine del file"), std::string::npos);
    // No stray line end: every CR is followed by LF and every LF preceded by CR.
    for (size_t i = 0; i < t.size(); ++i) {
      if (t[i] == '\r') {
        EXPECT_EQ(t[i + 1], '\n');
      }
      if (t[i] == '\n') {
        EXPECT_EQ(t[i - 1], '\r');
      }
    }
    if (c.ultima) {
      EXPECT_EQ(riga(t, c.righe), c.ultima);
    }
  }
  EXPECT_EQ(sistema.file.size(), 5u);
}

// A file of the scenario folder the tests link (scenarios/borvale).
std::string file_della_cartella(const std::string& nome) {
  std::ifstream f(std::string(SCENARIO_CARTELLA) + "/" + nome, std::ios::binary);
  EXPECT_TRUE(f) << SCENARIO_CARTELLA << "/" << nome;
  return std::string(std::istreambuf_iterator<char>(f), {});
}

TEST_F(testi, ognuno_e_byte_per_byte_il_file_della_cartella_dello_scenario) {
  struct caso {
    void (Form1::*scrittore)();
    const char* scritto;
    const char* cartella;
  };
  const caso casi[] = {
      {&Form1::dati_linea, "Borvale PF_Borvale PR_linea.txt", "linea.txt"},
      {&Form1::dati_treno, "Borvale PF_Borvale PR_31758-.txt", "treno.txt"},
      {&Form1::dati_note, "Borvale PF_Borvale PR_31758_note.txt", "note.txt"},
      {&Form1::dati_rallentamenti, "Borvale PF_Borvale PR_31758_rallentamenti.txt", "rallentamenti.txt"},
      {&Form1::dati_scheda, "Borvale PF_Borvale PR_31758_scheda_treno.txt", "scheda_treno.txt"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.cartella);
    (form.*c.scrittore)();
    EXPECT_EQ(file(c.scritto), file_della_cartella(c.cartella));
  }
  EXPECT_EQ(form.testi.nome_scenario, file_della_cartella("nome_scenario.txt"));
  EXPECT_EQ(form.testi.numero_treno, file_della_cartella("numero_treno.txt"));
}

TEST_F(testi, le_righe_tengono_i_loro_spazi) {
  form.dati_linea();
  form.dati_treno();
  form.dati_scheda();
  form.dati_rallentamenti();
  EXPECT_EQ(riga(file("Borvale PF_Borvale PR_linea.txt"), 9), "ripetizione segnali 4 codici,    0    ,0");
  EXPECT_EQ(riga(file("Borvale PF_Borvale PR_31758-.txt"), 5), "orologio,    13              27            42 ");
  EXPECT_EQ(riga(file("Borvale PF_Borvale PR_31758-.txt"), 14),
            "stazione,    4000, 12,  500,  0, 0, 0,  1,1,0,  2,1,1,  0,   12, 0, 0, Ultima stazione");
  const std::string& scheda = file("Borvale PF_Borvale PR_31758_scheda_treno.txt");
  EXPECT_EQ(scheda.substr(0, 4), "\r\n\r\n");
  EXPECT_EQ(riga(scheda, 18), " |     |     |  86.150  |     |BORVALE PORTA ROMANA        |          13.31 |   1 |");
  EXPECT_EQ(riga(scheda, 42), riga(scheda, 16));
  for (int n = 19; n <= 41; ++n)
    EXPECT_EQ(riga(scheda, n), " |     |     |          |     |                            |                |     |");
  EXPECT_EQ(scheda.substr(scheda.size() - 4), "\r\n\r\n");
  const std::string& modulo = file("Borvale PF_Borvale PR_31758_rallentamenti.txt");
  EXPECT_EQ(riga(modulo, 2), "                               Modulo M. 3");
  EXPECT_EQ(riga(modulo, 39), riga(modulo, 12));
}

TEST_F(testi, le_note_sono_prosa_riga_vuota_e_due_indirizzi) {
  form.dati_note();
  const std::string& note = file("Borvale PF_Borvale PR_31758_note.txt");
  bool accentate = false;
  for (int n = 1; n <= 6; ++n) {
    std::string r = riga(note, n);
    EXPECT_FALSE(r.empty());
    EXPECT_LE(r.size(), 110u);
    for (char c : r) {
      auto b = static_cast<unsigned char>(c);
      // Accented letters are single Windows-1252 bytes, never UTF-8 sequences.
      if (b >= 0x80) {
        accentate = true;
        EXPECT_TRUE(b >= 0xC0) << "byte " << int(b);
      }
    }
  }
  EXPECT_TRUE(accentate);
  EXPECT_EQ(riga(note, 7), "");
  for (int n = 8; n <= 9; ++n) {
    std::string r = riga(note, n);
    EXPECT_EQ(std::count(r.begin(), r.end(), '@'), 1) << r;
    EXPECT_EQ(r.find(' '), std::string::npos) << r;
    EXPECT_NE(r.find("@example."), std::string::npos) << r;
  }
}

TEST(elenco_righe, si_ferma_al_primo_segnale_di_fine) {
  elenco_righe elenco = riempi_elenco({"a", "", "b"});
  EXPECT_EQ(testo_da_elenco(elenco), "a\r\n\r\nb\r\n");
  elenco[1] = "riferimento fine del file";
  EXPECT_EQ(testo_da_elenco(elenco), "a\r\n");
  // The comparison is exact: case and blanks count.
  elenco[1] = "Riferimento fine del file ";
  EXPECT_EQ(testo_da_elenco(elenco), "a\r\nRiferimento fine del file \r\nb\r\n");
  // A list may hold 1000 lines, the marker in its last place.
  std::vector<std::string> mille(1000, "x");
  EXPECT_EQ(testo_da_elenco(riempi_elenco(mille)).size(), 3000u);
}

}  // namespace
