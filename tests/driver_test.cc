// The driver: creating files afresh, file failures that end the run, the
// error message, and the start-up's order.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "driver/form1.h"
#include "sources/elenco_righe.h"
#include "sources/scenario_incorporato.h"
#include "support/file_system_fake.h"

namespace {

// Runs `passo` and returns the exit status it ends the program with, or -1
// when it returns normally.
template <typename F>
int stato_di_fine(F passo) {
  try {
    passo();
  } catch (const fine_programma& fine) {
    return fine.stato;
  }
  return -1;
}

TEST(file_nuovo, sostituisce_per_intero_un_file_piu_lungo) {
  sistema_finto sistema;
  Form1 form(sistema);
  sistema.file["a.dat"] = std::string(5000, 'x');
  form.scrivi_file_nuovo("a.dat", "nuovo");
  EXPECT_EQ(sistema.file["a.dat"], "nuovo");
  EXPECT_EQ(sistema.file.size(), 1u);
  // The old file is opened for writing first, then the new content goes
  // through a temporary file renamed over it.
  EXPECT_EQ(sistema.registro, (std::vector<std::string>{"apri a.dat", "crea a.dat.parziale", "scrivi a.dat.parziale",
                                                        "chiudi a.dat.parziale", "rinomina a.dat.parziale a.dat"}));
}

TEST(file_nuovo, ogni_operazione_che_fallisce_ferma_senza_lasciare_file_parziali) {
  // Operations of one write over an existing file: apri, crea, scrivi, chiudi, rinomina.
  const char* azioni[] = {"aprire", "creare", "scrivere", "chiudere", "sostituire"};
  for (int k = 1; k <= 5; ++k) {
    SCOPED_TRACE(k);
    sistema_finto sistema;
    Form1 form(sistema);
    sistema.file["prima.txt"] = "resta";
    sistema.file["a.dat"] = "vecchio";
    sistema.operazione_che_fallisce = k;
    EXPECT_EQ(stato_di_fine([&] { form.scrivi_file_nuovo("a.dat", "nuovo"); }), 1);
    ASSERT_EQ(sistema.messaggi.size(), 1u);
    EXPECT_NE(sistema.messaggi[0].find(azioni[k - 1]), std::string::npos) << sistema.messaggi[0];
    EXPECT_NE(sistema.messaggi[0].find("a.dat"), std::string::npos);
    EXPECT_NE(sistema.messaggi[0].find("errore simulato"), std::string::npos);
    EXPECT_EQ(sistema.file["prima.txt"], "resta");
    EXPECT_EQ(sistema.file["a.dat"], "vecchio");
    EXPECT_EQ(sistema.file.count("a.dat.parziale"), 0u);
  }
}

TEST(errore, mostra_il_numero_con_lo_spazio_iniziale_e_finisce) {
  for (auto [numero, testo] : {std::pair{"1250", " Errore n. 1250"}, {"1251", " Errore n. 1251"}, {"", " Errore n. "}}) {
    sistema_finto sistema;
    Form1 form(sistema);
    EXPECT_EQ(stato_di_fine([&] { form.errore(numero); }), 1);
    EXPECT_EQ(sistema.messaggi, std::vector<std::string>{testo});
  }
}

TEST(avvio, nomi_finestra_e_scrittori_nell_ordine) {
  sistema_finto sistema;
  esegui_pacchetto(sistema, scenario_incorporato());
  EXPECT_EQ(sistema.attese, 1);
  std::vector<std::string> creati;
  for (const std::string& r : sistema.registro)
    if (r.rfind("rinomina ", 0) == 0) creati.push_back(r.substr(r.find(".parziale ") + 10));
  ASSERT_GE(creati.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(creati.begin(), creati.begin() + 5),
            (std::vector<std::string>{"Borvale PF_Borvale PR_linea.txt", "Borvale PF_Borvale PR_31758-.txt",
                                      "Borvale PF_Borvale PR_31758_note.txt",
                                      "Borvale PF_Borvale PR_31758_rallentamenti.txt",
                                      "Borvale PF_Borvale PR_31758_scheda_treno.txt"}));
}

TEST(avvio, scrive_e_costruisce_lo_scenario_che_riceve) {
  scenario s;
  s.nome_scenario = "Pr\xF2va";
  s.numero_treno = "7";
  s.linea = {"[generale]", "lunghezza percorso, 4000", "[fine]"};
  s.treno = {"[generale]", "[fine]"};
  s.note = {"una nota", ""};
  s.rallentamenti = {};
  s.scheda = {"  scheda  "};
  sistema_finto sistema;
  EXPECT_EQ(esegui_pacchetto(sistema, s), 0);
  EXPECT_TRUE(sistema.messaggi.empty());
  std::map<std::string, std::string> documenti;
  for (const auto& [nome, contenuto] : sistema.file)
    if (nome.ends_with(".txt")) documenti[nome] = contenuto;
  // Names of the fake's folder are the Windows-1252 names in UTF-8.
  EXPECT_EQ(documenti, (std::map<std::string, std::string>{{"Pr\xC3\xB2va_7_note.txt", "una nota\r\n\r\n"},
                                                           {"Pr\xC3\xB2va_7_rallentamenti.txt", ""},
                                                           {"Pr\xC3\xB2va_7_scheda_treno.txt", "  scheda  \r\n"}}));
  EXPECT_EQ(sistema.file.count("Pr\xC3\xB2va_7.sim"), 1u);
  EXPECT_EQ(sistema.file.count("Pr\xC3\xB2va_7.dat"), 1u);
  EXPECT_EQ(sistema.file.count("Pr\xC3\xB2va_linea.dat"), 1u);
}

TEST(avvio, uno_scenario_che_gli_scrittori_non_tengono_non_scrive_nulla) {
  struct caso {
    const char* descrizione;
    std::function<void(scenario&)> guasta;
    const char* parola;  // in the message
  };
  const caso casi[] = {
      {"1001 righe", [](scenario& s) { s.note.assign(1001, "x"); }, "1001 righe"},
      {"la riga di fine", [](scenario& s) { s.treno.insert(s.treno.begin() + 2, "riferimento fine del file"); },
       "riga 3"},
      {"un nome con una cartella", [](scenario& s) { s.nome_scenario = "..\\fuori"; }, "separatore"},
      {"un numero vuoto", [](scenario& s) { s.numero_treno.clear(); }, "vuoto"},
      {"nomi troppo lunghi", [](scenario& s) { s.nome_scenario.assign(240, 'x'); }, "troppo lunghi"},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.descrizione);
    scenario s = scenario_incorporato();
    c.guasta(s);
    sistema_finto sistema;
    EXPECT_EQ(esegui_pacchetto(sistema, s), 1);
    ASSERT_EQ(sistema.messaggi.size(), 1u);
    EXPECT_EQ(sistema.messaggi[0].rfind("Scenario non valido: ", 0), 0u) << sistema.messaggi[0];
    EXPECT_NE(sistema.messaggi[0].find(c.parola), std::string::npos) << sistema.messaggi[0];
    EXPECT_EQ(sistema.attese, 0);
    EXPECT_TRUE(sistema.registro.empty());
  }
  // A text of exactly 1000 lines is one a list holds.
  scenario s = scenario_incorporato();
  s.note.assign(1000, "x");
  sistema_finto sistema;
  EXPECT_EQ(esegui_pacchetto(sistema, s), 0);
}

TEST(avvio, un_file_che_non_si_puo_scrivere_lascia_quelli_scritti_prima) {
  sistema_finto sistema;
  // The notes are the third file: fail its creation (operations: crea, scrivi,
  // chiudi, rinomina per file).
  sistema.operazione_che_fallisce = 9;
  EXPECT_EQ(esegui_pacchetto(sistema, scenario_incorporato()), 1);
  EXPECT_EQ(sistema.registro.back(), "crea Borvale PF_Borvale PR_31758_note.txt.parziale");
  EXPECT_EQ(sistema.file.size(), 2u);
  EXPECT_EQ(sistema.file.count("Borvale PF_Borvale PR_linea.txt"), 1u);
  EXPECT_EQ(sistema.file.count("Borvale PF_Borvale PR_31758-.txt"), 1u);
  ASSERT_EQ(sistema.messaggi.size(), 1u);
  EXPECT_NE(sistema.messaggi[0].find("Borvale PF_Borvale PR_31758_note.txt"), std::string::npos);
}

// A folder that already holds a file under a source's name: an author's text
// is never overwritten or deleted (nothing written, a message, status 1); a
// leftover of a run cut short, the very text, is taken over.
TEST(avvio, un_testo_dell_autore_col_nome_di_un_sorgente_resta_intatto) {
  const scenario borvale = scenario_incorporato();
  const std::string linea = "Borvale PF_Borvale PR_linea.txt", treno = "Borvale PF_Borvale PR_31758-.txt";
  const std::string testo_linea = testo_da_elenco(riempi_elenco(borvale.linea));
  const std::string testo_treno = testo_da_elenco(riempi_elenco(borvale.treno));
  struct caso {
    const char* descrizione;
    std::function<void(sistema_finto&)> prepara;
    const char* parola;  // in the message; nullptr: the run goes through
  };
  const caso casi[] = {
      {"un sorgente della linea dell'autore", [&](sistema_finto& s) { s.file[linea] = "[generale]\r\nmio\r\n"; },
       "con un testo diverso"},
      {"un sorgente del treno dell'autore", [&](sistema_finto& s) { s.file[treno] = ""; }, "con un testo diverso"},
      {"il testo del programma con una riga in più", [&](sistema_finto& s) { s.file[linea] = testo_linea + "x\r\n"; },
       "con un testo diverso"},
      {"un collegamento a un testo diverso",
       [&](sistema_finto& s) {
         s.file["mio.txt"] = "mio";
         s.collegamenti[treno] = "mio.txt";
       },
       "con un testo diverso"},
      {"una cartella", [&](sistema_finto& s) { s.cartelle.insert(linea); }, "Impossibile leggere"},
      {"gli avanzi di una corsa interrotta",
       [&](sistema_finto& s) {
         s.file[linea] = testo_linea;
         s.file[treno] = testo_treno;
       },
       nullptr},
      {"un collegamento a un file che non c'è", [&](sistema_finto& s) { s.collegamenti[linea] = "manca.txt"; },
       nullptr},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.descrizione);
    sistema_finto sistema;
    c.prepara(sistema);
    const auto file_prima = sistema.file;
    const auto collegamenti_prima = sistema.collegamenti;
    const int stato = esegui_pacchetto(sistema, borvale);
    if (!c.parola) {
      EXPECT_EQ(stato, 0);
      EXPECT_TRUE(sistema.messaggi.empty());
      // The run's own sources go at its end, as always.
      EXPECT_EQ(sistema.file.count(linea) + sistema.file.count(treno) + sistema.collegamenti.count(linea), 0u);
      EXPECT_EQ(sistema.file.size(), 6u);
      continue;
    }
    EXPECT_EQ(stato, 1);
    ASSERT_EQ(sistema.messaggi.size(), 1u);
    EXPECT_NE(sistema.messaggi[0].find(c.parola), std::string::npos) << sistema.messaggi[0];
    EXPECT_NE(sistema.messaggi[0].find("Nulla è stato scritto"), std::string::npos) << sistema.messaggi[0];
    EXPECT_EQ(sistema.attese, 0);
    EXPECT_EQ(sistema.file, file_prima);
    EXPECT_EQ(sistema.collegamenti, collegamenti_prima);
    // Looked at, nothing else.
    for (const std::string& r : sistema.registro) EXPECT_TRUE(r.starts_with("leggi ") || r.starts_with("stato ")) << r;
  }
}

// A name with control characters, from a payload: the message shows them
// escaped, never as bytes a terminal would act on.
TEST(avvio, un_nome_con_caratteri_di_controllo_si_vede_escapato) {
  scenario s = scenario_incorporato();
  s.nome_scenario = "\x1b]0;preso\x07";
  sistema_finto sistema;
  EXPECT_EQ(esegui_pacchetto(sistema, s), 1);
  ASSERT_EQ(sistema.messaggi.size(), 1u);
  EXPECT_EQ(sistema.messaggi[0],
            "Scenario non valido: il nome dello scenario \"\\x1b]0;preso\\x07\" contiene un carattere di controllo");
}

}  // namespace
