// One build of the watch as the page and the console show it. The page gets
// one JSON object: the exit status `scenario build` would give, the error
// with its number, meaning, metres and place, the source line quoted with
// its column, the report's lines, the warnings each with its place and line,
// what the drawing shown holds and which build drew it, and how long the
// build and the drawing took.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "costruzione.h"
#include "disegno/comando_disegno.h"

struct osservazione {
  uint64_t numero = 0;  // the build's, from 1
  rapporto_build rapporto;
  // The drawing's notes and errors, one line each.
  std::vector<std::string> righe_disegno;
  // This build's files were drawn: the page's drawing is new.
  bool disegnato = false;
  // The build whose drawing the page shows (this one or an earlier one), and
  // what that drawing holds; 0 and nothing before the first drawing.
  uint64_t numero_disegno = 0;
  std::optional<conteggi_scena> conteggi;
  double ms_costruzione = 0, ms_disegno = 0;
};

nlohmann::json json_osservazione(const osservazione& o);

// The line the console adds under the build's report: its number, its times
// and, when the files were drawn, what they hold.
std::string riga_console(const osservazione& o);
