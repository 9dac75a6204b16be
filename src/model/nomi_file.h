// How a scenario's files are named: by plain concatenation of its two names
// and a fixed ending, nothing trimmed or escaped. The same bytes go in and
// come out, so the rule serves names held as Windows-1252 (the build, which
// the platform turns into its own form of a file name) and names given in
// UTF-8 (the author tool) alike. Also the one check of what a name may be.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The endings behind nome_scenario, and behind nome_scenario "_" numero_treno.
inline constexpr std::string_view fine_sorgente_linea = "_linea.txt";
inline constexpr std::string_view fine_file_linea = "_linea.dat";
inline constexpr std::string_view fine_sorgente_treno = "-.txt";
inline constexpr std::string_view fine_note = "_note.txt";
inline constexpr std::string_view fine_rallentamenti = "_rallentamenti.txt";
inline constexpr std::string_view fine_scheda = "_scheda_treno.txt";
inline constexpr std::string_view fine_file_sim = ".sim";
inline constexpr std::string_view fine_file_dat = ".dat";

// The ending of the temporary file through which every file is written
// (driver/scrittura_intera.h): "a.dat" is written as "a.dat.parziale" (or,
// when that name is taken, under another name no longer).
inline constexpr std::string_view fine_temporanea = ".parziale";

// The longest file name most file systems take, in bytes (or, on Windows, in
// UTF-16 units, one for each Windows-1252 character).
inline constexpr size_t nome_file_massimo = 255;

struct nomi_file {
  std::string sorgente_linea;  // NAME_linea.txt
  std::string sorgente_treno;  // NAME_NUMBER-.txt
  std::string note;            // NAME_NUMBER_note.txt
  std::string rallentamenti;   // NAME_NUMBER_rallentamenti.txt
  std::string scheda;          // NAME_NUMBER_scheda_treno.txt
  std::string file_linea;      // NAME_linea.dat
  std::string file_sim;        // NAME_NUMBER.sim
  std::string file_dat;        // NAME_NUMBER.dat

  // The six files a package run leaves, in the order it writes them.
  std::vector<std::string> lasciati() const { return {note, rallentamenti, scheda, file_linea, file_sim, file_dat}; }
};

nomi_file nomi_dei_file(std::string_view nome_scenario, std::string_view numero_treno);

// Why `nome` cannot be one of a scenario's two names, as the end of a
// sentence about it ("è vuoto", "contiene ..."), or nothing. Refused: an
// empty name, and a name with a folder separator, "..", a control character
// (the five bytes Windows-1252 leaves undefined among them, which stand for
// C1 controls) or a character that Windows keeps out of file names
// (" : * ? < > |): any of them would put a file outside its folder, give a
// name that the simulator's platform cannot hold, or act on a terminal that
// shows it. Scenario folders and payloads are held to
// it through difetto_dello_scenario (sources/scenario.h).
std::optional<std::string> problema_nome(std::string_view nome);

// The same for a name given in UTF-8, as on a command line, which the files
// hold in Windows-1252: also refused, a name that is not valid UTF-8 or that
// holds a character Windows-1252 cannot hold (never replaced).
std::optional<std::string> problema_nome_utf8(std::string_view nome);

// Why the two names together make a file name longer than nome_file_massimo
// bytes, temporary ending included, or nothing. Bytes of the names as given:
// pass them in the form the files will be named in.
std::optional<std::string> problema_lunghezza(std::string_view nome_scenario, std::string_view numero_treno);
