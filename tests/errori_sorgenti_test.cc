// One bad source per error number of the reader and the finishing pass, run
// through the whole build: the number recorded, its position, the line and
// column it is reported at, and which source texts are left on disk.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "diagnosi/errori_build.h"
#include "driver/messaggio_errore.h"
#include "driver/form1.h"
#include "support/file_system_fake.h"

namespace {

// Where the build error's diagnostic is; nowhere without one.
luogo_testo luogo_errore(const esito_build& e) { return e.errore() ? e.errore()->dove : luogo_testo{}; }

constexpr int32_t nessuna = -1;  // stands for an outcome without a position

std::string righe(std::initializer_list<std::string> testo) {
  std::string s;
  for (const std::string& r : testo) s += r + "\r\n";
  return s;
}

const std::string linea = righe({"[generale]", "lunghezza percorso, 4000", "[fine]"});

std::string linea_con(const std::string& profilo) {
  return righe({"[generale]", "lunghezza percorso, 4000", "[curve]", profilo, "[fine]"});
}

std::string treno_con(std::initializer_list<std::string> corpo) {
  std::string s = "[generale]\r\n";
  for (const std::string& r : corpo) s += r + "\r\n";
  return s + "[fine]\r\n";
}

std::string stazione(int posizione, int tipo, int lunghezza) {
  return "stazione, " + std::to_string(posizione) + ", " + std::to_string(tipo) + ", " + std::to_string(lunghezza) +
         ", 0, 0, 0, 1, 1, 0, 4, 1, 1, 1, 13, 28, 0, Fermata";
}

std::string segnale(int posizione) { return "segnale, " + std::to_string(posizione) + ", 2, 3, 1, 0, 0, 0, 0, 0, 0, 230"; }

// A slowdown from 3000 m to 3500 m at 60 km/h: start cell 61, end cell 71,
// warning cell 37, pre-warning cells 36 to 33 when asked for.
std::string rallentamento(int preavviso = 0) {
  return "rallentamento, 3000, 60, 500, 1, " + std::to_string(preavviso) + ", 0";
}

std::string molti_cartelli(int quanti) {
  std::string s = righe({"[generale]", "lunghezza percorso, 10000", "[cartelli]"});
  for (int k = 1; k <= quanti; ++k) s += "indicatore cartello, " + std::to_string(100 * k) + ", Cartello\r\n";
  return s + "[fine]\r\n";
}

struct caso {
  int32_t codice;
  std::optional<std::string> sorgente_linea;  // absent: no line source at all
  std::string sorgente_treno;
  int32_t posizione;
  bool resta_linea;
  bool resta_treno;
  // The line and column of the field the error is about (for 11-13 the
  // feature's position field); 0, 0 for an error that comes from no line of
  // a source.
  int32_t riga;
  int32_t colonna;
};

const caso casi[] = {
    {1, righe({"[generale]", "lunghezza percorso, 1000001", "[fine]"}), treno_con({}), nessuna, false, true, 2, 1},
    {2, righe({"[generale]", "lunghezza percorso, 4000", "progressiva chilometrica uno, 0, 87775, 0", "[fine]"}),
     treno_con({}), nessuna, false, false, 0, 0},
    {3, righe({"[generale]", "lunghezza percorso, 4000", "ripetizione segnali 4 codici, 120, 0", "[fine]"}),
     treno_con({}), nessuna, false, true, 3, 1},
    {4, righe({"[generale]", "lunghezza percorso, 4000", "ripetizione segnali 4 codici, 100, 30", "[fine]"}),
     treno_con({}), nessuna, false, true, 3, 1},
    {5, righe({"[generale]", "lunghezza percorso, 4000", "ripetizione segnali codici, 100, 50", "[fine]"}),
     treno_con({}), nessuna, false, true, 3, 1},
    {6, righe({"[generale]", "lunghezza percorso, 4000", "[cartelli]", "indicatore cartello, 1000, A",
               "indicatore cartello, 1000, B", "[fine]"}),
     treno_con({}), 1000, false, true, 5, 22},
    {7, linea, treno_con({"abbattimento, 1000, 100", "abbattimento, 1000, 100"}), 1000, false, false, 3, 15},
    {8, linea, treno_con({stazione(1010, 12, 400)}), 1010, false, false, 2, 11},
    {9, linea, treno_con({stazione(1000, 12, 350)}), 1000, false, false, 2, 11},
    {10, molti_cartelli(78), treno_con({stazione(1000, 12, 400)}), nessuna, false, false, 2, 1},
    // A signal at cell 30 in the window of the warning point, cells 29 and 28
    // held by signals: at the signal's line and position.
    {11, linea, treno_con({segnale(1350), segnale(1400), segnale(1450), rallentamento()}), 1450, false, false, 4, 10},
    // The group 5-7 cells before the start (56, 55, 54) all held by signals:
    // at the slowdown's line and position, as for 13.
    {12, linea, treno_con({segnale(2650), segnale(2700), segnale(2750), rallentamento()}), 3000, false, false, 5, 16},
    // The walk's 8th cell (69) and both neighbours held by signals.
    {13, linea, treno_con({segnale(3350), segnale(3400), segnale(3450), rallentamento()}), 3000, false, false, 5, 16},
    {15, linea_con("pendenza, 10901, 0"), treno_con({}), 10901, false, false, 4, 11},
    {16, linea, treno_con({segnale(900), segnale(900)}), 900, false, false, 3, 10},
    {17, linea, treno_con({segnale(1800), rallentamento()}), 3000, false, false, 3, 16},
    {18, linea, treno_con({segnale(3000), rallentamento()}), 3000, false, false, 3, 16},
    {19, linea, treno_con({segnale(3500), rallentamento()}), 3000, false, false, 3, 16},
    {20, linea, treno_con({segnale(1700), rallentamento(1)}), 3000, false, false, 3, 16},
    {21,
     righe({"[generale]", "lunghezza percorso, 4000", "[cartelli]", "indicatore cartello, 1000, A", "[indicazioni]",
            "indicatori_v, 1000, 1, 1, 1, 1, 60, 60, 60, 1", "[fine]"}),
     treno_con({}), 1000, false, true, 6, 15},
    {22, linea, treno_con({stazione(1000, 12, 400), stazione(1500, 12, 400)}), 1500, false, false, 3, 11},
    {24, linea, treno_con({stazione(0, 12, 200)}), nessuna, false, false, 2, 1},
    {25, righe({"[generale]", "lunghezza percorso, quattromila", "[fine]"}), treno_con({}), nessuna, false, false, 2, 21},
    {101, std::nullopt, treno_con({}), nessuna, false, true, 0, 0},
    {102, righe({"lunghezza percorso, 4000", "[fine]"}), treno_con({}), nessuna, false, true, 2, 1},
    {103, linea_con("curvax, 100, 100"), treno_con({}), nessuna, false, true, 4, 1},
};

// Errors 16-21 say what holds the cell, for the author to find it; the
// package program's message stays the number and the position.
TEST(errori_sorgenti, una_cella_occupata_dice_che_cosa_la_occupa) {
  const struct {
    int32_t codice;
    std::string dettaglio;
  } attesi[] = {
      {16, "nella cella c'è un segnale"},
      {17, "nella cella c'è un segnale"},
      {21, "nella cella c'è il cartello \"A\""},
  };
  for (const auto& a : attesi) {
    SCOPED_TRACE("errore " + std::to_string(a.codice));
    const caso& c =
        *std::find_if(std::begin(casi), std::end(casi), [&](const caso& k) { return k.codice == a.codice; });
    sistema_finto sistema;
    Form1 form(sistema);
    form.nome_scenario = "Prova";
    form.numero_treno = "1";
    sistema.file[form.nome_sorgente_linea()] = *c.sorgente_linea;
    sistema.file[form.nome_sorgente_treno()] = c.sorgente_treno;
    int32_t j = 1;
    const esito_build e = form.memorizza_percorso(j);
    EXPECT_EQ(e.codice_errore, a.codice);
    EXPECT_EQ(e.dettaglio, a.dettaglio);
    EXPECT_EQ(testo_errore_build(e), " Errore n. " + std::to_string(a.codice) + " a " +
                                         std::to_string(c.posizione) + " m");
  }
  // A slowdown whose start falls on a station's stop: the station by name.
  sistema_finto sistema;
  Form1 form(sistema);
  form.nome_scenario = "Prova";
  form.numero_treno = "1";
  sistema.file[form.nome_sorgente_linea()] = linea;
  sistema.file[form.nome_sorgente_treno()] = treno_con({stazione(2900, 12, 400), rallentamento()});
  int32_t j = 1;
  const esito_build e = form.memorizza_percorso(j);
  EXPECT_EQ(e.codice_errore, 18);
  EXPECT_EQ(e.dettaglio, "nella cella c'è la fermata della stazione \"Fermata\"");
}

TEST(errori_sorgenti, ogni_numero_con_la_sua_posizione_e_i_sorgenti_che_restano) {
  for (const caso& c : casi) {
    SCOPED_TRACE("errore " + std::to_string(c.codice));
    sistema_finto sistema;
    Form1 form(sistema);
    form.nome_scenario = "Prova";
    form.numero_treno = "1";
    if (c.sorgente_linea) sistema.file[form.nome_sorgente_linea()] = *c.sorgente_linea;
    sistema.file[form.nome_sorgente_treno()] = c.sorgente_treno;
    int32_t j = 1;
    const esito_build e = form.memorizza_percorso(j);
    try {
      form.riporta_build(e);
      ADD_FAILURE() << "the build reported no error";
    } catch (const fine_programma& fine) {
      EXPECT_EQ(fine.stato, 1);
    }
    EXPECT_EQ(e.codice_errore, c.codice);
    EXPECT_EQ(e.posizione.value_or(nessuna), c.posizione);
    EXPECT_EQ(luogo_errore(e).riga, c.riga);
    EXPECT_EQ(luogo_errore(e).colonna, c.colonna);
    EXPECT_EQ(sistema.file.count(form.nome_sorgente_linea()), c.resta_linea ? 1u : 0u);
    EXPECT_EQ(sistema.file.count(form.nome_sorgente_treno()), c.resta_treno ? 1u : 0u);
    ASSERT_EQ(sistema.messaggi.size(), 1u);
    EXPECT_EQ(sistema.messaggi[0].rfind(" Errore n. " + std::to_string(c.codice), 0), 0u) << sistema.messaggi[0];
  }
}

}  // namespace

namespace {

TEST(errori_sorgenti, un_errore_di_lettura_porta_il_file_e_la_riga) {
  sistema_finto sistema;
  Form1 form(sistema);
  form.nome_scenario = "Prova";
  form.numero_treno = "1";
  sistema.file[form.nome_sorgente_linea()] = linea;
  sistema.file[form.nome_sorgente_treno()] = treno_con({"numero vetture, 4", "sabbia, 70000"});
  int32_t j = 1;
  const esito_build e = form.memorizza_percorso(j);
  EXPECT_EQ(e.codice_errore, 25);
  ASSERT_NE(e.errore(), nullptr);
  EXPECT_EQ(e.errore()->dove.sorgente, sorgente_build::treno);
  EXPECT_EQ(e.errore()->dove.riga, 3);
  EXPECT_NE(e.dettaglio.find("70000"), std::string::npos) << e.dettaglio;
}

}  // namespace

namespace {

// A read failure points at the token that could not be read, on its own line
// when the values of a key run onto the next; a failure that is no token's
// points at the key of the line.
TEST(errori_sorgenti, un_errore_di_lettura_punta_al_campo) {
  struct caso {
    const char* nome;
    std::string sorgente_linea;
    std::string sorgente_treno;
    bool nel_treno;
    int32_t riga, colonna;
  };
  const caso casi[] = {
      {"fuori dal tipo", linea, treno_con({"sabbia, 70000"}), true, 2, 9},
      {"non un numero", linea_con("pendenza, 100, 4a"), treno_con({}), false, 4, 16},
      {"sulla riga dopo", linea, treno_con({"orologio, 7", " 15 99999"}), true, 3, 5},
      {"fine del file", righe({"[generale]", "lunghezza percorso, 4000", "-a"}), treno_con({}), false, 3, 1},
  };
  for (const caso& c : casi) {
    SCOPED_TRACE(c.nome);
    sistema_finto sistema;
    Form1 form(sistema);
    form.nome_scenario = "Prova";
    form.numero_treno = "1";
    sistema.file[form.nome_sorgente_linea()] = c.sorgente_linea;
    sistema.file[form.nome_sorgente_treno()] = c.sorgente_treno;
    int32_t j = 1;
    const esito_build e = form.memorizza_percorso(j);
    EXPECT_EQ(e.codice_errore, 25);
    EXPECT_EQ(luogo_errore(e).sorgente, c.nel_treno ? sorgente_build::treno : sorgente_build::linea);
    EXPECT_EQ(luogo_errore(e).riga, c.riga);
    EXPECT_EQ(luogo_errore(e).colonna, c.colonna);
  }
}

}  // namespace
