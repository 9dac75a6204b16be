// The largest scenario the source format allows, generated: a 1000000 m line
// with curves along its whole length, a gradient every 300 m, 80 mountain
// sections, speed indicators, 40 signs and 38 stations (between them all the
// header records there are), a signal every 1500 m, slowdowns with and without
// pre-warning cells, and code points. It is valid: its build records no error.
//
// Every point feature has its own cell, planned on a fixed pattern of 30-cell
// stretches between signals, so that no free-cell test fails and the finishing
// pass always finds room for its code points. The plan also says what the
// finished grid must hold, for the test that builds it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "driver/form1.h"

// What the finished grid of the generated scenario holds, counted from the plan.
struct attesi_scenario {
  int32_t segnali = 0;
  int32_t rallentamenti = 0;
  int32_t con_preavviso = 0;      // slowdowns stamped with their four pre-warning cells
  int32_t stazioni = 0;           // station records, 1 upward
  int32_t fermate = 0;            // stations with a stop cell on the grid
  int32_t cartelli = 0;
  int32_t indicatori = 0;
  int32_t montagne = 0;
  int32_t abbattimenti_nulli = 0;  // code points without value, from the train source
  // Code points (kind 12): from the train source and from the finishing pass.
  int32_t punti_codice = 0;
  // Code points of the train source whose code the finishing pass lowers to 180.
  int32_t codici_abbassati = 0;
};

struct scenario_generato {
  std::string nome_scenario;
  std::string numero_treno;
  int32_t lunghezza = 0;  // route length, metres
  std::vector<std::string> righe_linea;
  std::vector<std::string> righe_treno;
  attesi_scenario attesi;
};

scenario_generato genera_scenario_massimo();

// A source text's bytes: every line followed by CR LF.
std::string testo_sorgente(const std::vector<std::string>& righe);

// Sets the scenario's names on `form` and writes both source texts afresh
// into its program folder, as the package program's start-up writes its own.
void scrivi_sorgenti(Form1& form, const scenario_generato& scenario);

// The whole build of `scenario` in the program folder of `form`: both source
// texts, then the build with j = 1 (read, finish, stamp, write the three
// binary files). Returns the exit status the build ended the program with, or
// 0 when it returned; the error state and the model stay in `form`.
int costruisci(Form1& form, const scenario_generato& scenario);
