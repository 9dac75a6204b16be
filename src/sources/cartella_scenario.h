// A scenario folder, as `scenarios/NAME/` holds one: seven files, the five
// texts of testi_scenario (linea.txt, treno.txt, note.txt,
// rallentamenti.txt, scheda_treno.txt) and the two names (nome_scenario.txt,
// numero_treno.txt). Each file is Windows-1252 or UTF-8, by the rule of
// model/testo_autore.h, and is converted to the Windows-1252 bytes the
// scenario holds. A text's lines end in CR LF, LF or CR, as the build reads
// them; a last line without a line end is still a line, and an empty file has
// none. A name is one line, with or without one line end after it. Then the
// scenario is held to the rules of difetto_dello_scenario
// (sources/scenario.h).
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

#include "diagnosi/diagnostica.h"
#include "model/testo_autore.h"
#include "sources/scenario.h"

inline constexpr std::string_view file_nome_scenario = "nome_scenario.txt";
inline constexpr std::string_view file_numero_treno = "numero_treno.txt";

// The seven files in the order of difetto_scenario's parts: the two names,
// then the five texts.
inline constexpr std::array<std::string_view, 7> file_cartella_scenario = {
    file_nome_scenario,    file_numero_treno,   testi_scenario[0].file, testi_scenario[1].file,
    testi_scenario[2].file, testi_scenario[3].file, testi_scenario[4].file};

struct cartella_letta {
  std::optional<scenario> s;
  // What reading the folder found, in the order of its files: at most one
  // error, which refuses the folder (then no `s`), and warnings (a file that
  // mixes the two encodings, a name with a blank at its end). Each is at its
  // file: the two sources as sorgente_build::linea and ::treno, the other
  // files as sorgente_build::cartella; `dove.file` names the file
  // (file_cartella_scenario) in every case, and a line it is about is quoted.
  std::vector<diagnostica> diagnostiche;
  // Each file as converted to Windows-1252, in the order of
  // file_cartella_scenario, once every file converts.
  std::array<std::string, 7> convertiti;
  // What each file was read as.
  std::array<codifica_testo, 7> codifiche{};

  // The error that refuses the folder; null with `s`.
  const diagnostica* errore() const;
};

// The folder of the files' bytes as read, in the order of
// file_cartella_scenario, each file converted as `richiesta` says. Its lines
// end at CR LF, LF or CR, as the build reads its sources.
cartella_letta leggi_cartella_scenario(const std::array<std::string, 7>& byte, codifica_testo richiesta);

// The warning of a name with a blank at its start or end: `quale` "il nome
// dello scenario" or "il numero del treno", `nome` as written (UTF-8).
std::string testo_nome_con_spazi(std::string_view quale, std::string_view nome);

// The place of a file of the folder (file_cartella_scenario[i]) as a
// diagnostic names it.
luogo_testo luogo_in_cartella(size_t i, int32_t riga = 0, int32_t colonna = 0);

// The bytes of each file of a folder that holds `s`, in the order of
// file_cartella_scenario: each text's lines with CR LF, each name alone.
// Read back, they give `s` again.
std::array<std::string, 7> file_cartella(const scenario& s);
