// The scenario a package program carries, as one plain value: its two names
// and its five texts, line by line, as Windows-1252 bytes (the two source
// texts and the three documents for the person who drives it). The package
// run takes it whole and the writers take their lines from it; where it comes
// from (data compiled into the program, sources/scenario_incorporato.h) is
// not the run's concern.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct scenario {
  std::string nome_scenario;
  std::string numero_treno;
  // Each text's lines without their line ends; a writer puts each back with
  // CR LF.
  std::vector<std::string> linea;          // the line source text
  std::vector<std::string> treno;          // the train source text
  std::vector<std::string> note;           // the author's notes
  std::vector<std::string> rallentamenti;  // the blank slow-order form
  std::vector<std::string> scheda;         // the timetable sheet
};

// Why `s` cannot be run, or nothing: a name that driver/nomi_file.h refuses,
// or a text of more than 1000 lines or with a line equal to the end marker,
// neither of which a writer's list can hold (sources/elenco_righe.h). Names
// are Windows-1252 here, counted as such.
std::optional<std::string> problema_scenario(const scenario& s);
