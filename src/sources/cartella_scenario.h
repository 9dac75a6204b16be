// A scenario folder, as `scenarios/NAME/` holds one: seven files, the five
// texts of testi_scenario (linea.txt, treno.txt, note.txt,
// rallentamenti.txt, scheda_treno.txt) and the two names (nome_scenario.txt,
// numero_treno.txt). Each file is Windows-1252 or UTF-8, by the rule of
// model/testo_autore.h, and is converted to the Windows-1252 bytes the
// scenario holds. A text's lines end in CR LF or LF; a last line without a
// line end is still a line, and an empty file has none. A name is one line,
// with or without one line end after it. Then the scenario is held to the
// rules of difetto_dello_scenario (sources/scenario.h).
//
// The embedding of a folder into a package program at build time
// (cmake/incorpora_scenario) and `scenario pack` both read folders through
// here, so a folder means the same to both; `scenario unpack` and `scenario
// new` write them back (file_cartella), so that reading gives back the
// scenario written.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/testo_autore.h"
#include "sources/scenario.h"

inline constexpr std::string_view file_nome_scenario = "nome_scenario.txt";
inline constexpr std::string_view file_numero_treno = "numero_treno.txt";

// The seven files in the order of difetto_scenario's parts: the two names,
// then the five texts.
inline constexpr std::array<std::string_view, 7> file_cartella_scenario = {
    file_nome_scenario,    file_numero_treno,   testi_scenario[0].file, testi_scenario[1].file,
    testi_scenario[2].file, testi_scenario[3].file, testi_scenario[4].file};

// What is wrong with a folder, and where.
struct problema_cartella {
  std::string_view file;  // one of file_cartella_scenario
  int32_t riga = 0;       // 1-based; 0 for the file as a whole
  int32_t colonna = 0;    // 1-based; 0 unknown
  std::string testo;      // in Italian (UTF-8)
};

struct cartella_letta {
  std::optional<scenario> s;
  std::optional<problema_cartella> problema;
  // Each file as converted to Windows-1252, in the order of
  // file_cartella_scenario, once every file converts.
  std::array<std::string, 7> convertiti;
  // What each file was read as.
  std::array<codifica_testo, 7> codifiche{};
  // Files read as Windows-1252 that hold UTF-8 letters too, most likely the
  // two encodings mixed: where the first letter is, and the warning.
  std::vector<problema_cartella> misti;
};

// "FILE:LINE:COLUMN: attenzione: text [codifica_mista]" for one of `misti`;
// `file` as for descrivi_problema.
std::string descrivi_misto(std::string_view file, const problema_cartella& p);

// The folder of the files' bytes as read, in the order of
// file_cartella_scenario, each file converted as `richiesta` says.
cartella_letta leggi_cartella_scenario(const std::array<std::string, 7>& byte, codifica_testo richiesta);

// "FILE:LINE:COLUMN: text", the place as far as it is known; `file` is the
// problem's file as it is to be shown (with its folder, in the platform's
// form).
std::string descrivi_problema(std::string_view file, const problema_cartella& p);

// The bytes of each file of a folder that holds `s`, in the order of
// file_cartella_scenario: each text's lines with CR LF, each name alone.
// Read back, they give `s` again.
std::array<std::string, 7> file_cartella(const scenario& s);
