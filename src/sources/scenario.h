// The scenario a package program carries, as one plain value: its two names
// and its five texts, line by line, as Windows-1252 bytes (the two source
// texts and the three documents for the person who drives it). The package
// run takes it whole and the writers take their lines from it; where it comes
// from (data compiled into the program, sources/scenario_incorporato.h) is
// not the run's concern.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
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

// The five texts in their one order (the writers', a payload's), each with
// the words a message names it by and its file in a scenario folder.
struct testo_scenario {
  std::vector<std::string> scenario::*membro;
  std::string_view nome;
  std::string_view file;
};
inline constexpr std::array<testo_scenario, 5> testi_scenario = {{
    {&scenario::linea, "il sorgente della linea", "linea.txt"},
    {&scenario::treno, "il sorgente del treno", "treno.txt"},
    {&scenario::note, "le note", "note.txt"},
    {&scenario::rallentamenti, "il modulo dei rallentamenti", "rallentamenti.txt"},
    {&scenario::scheda, "la scheda del treno", "scheda_treno.txt"},
}};

// What keeps `s` from being run: a name that model/nomi_file.h refuses, a
// text of more than 1000 lines or with a line equal to the end marker,
// neither of which a writer's list can hold (sources/elenco_righe.h), or a
// line that holds a CR or LF, which would come out as two lines. Names
// are Windows-1252 here, counted as such. The one check of these rules: the
// package run, a payload (carico/lettura_carico.h) and a scenario folder
// (sources/cartella_scenario.h) are all held to it.
struct difetto_scenario {
  // Which part: 0 nome_scenario, 1 numero_treno, 2 + i the text
  // testi_scenario[i].
  size_t parte = 0;
  // The 1-based line of a text it is about; 0 for the part as a whole.
  int32_t riga = 0;
  std::string testo;  // the whole sentence, in Italian (UTF-8)
};
std::optional<difetto_scenario> difetto_dello_scenario(const scenario& s);

// The same as a sentence alone, or nothing.
std::optional<std::string> problema_scenario(const scenario& s);
