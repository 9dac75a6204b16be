// One build of the watch as the page and the console show it. The page gets
// one JSON object: the one of `build --json` (its diagnostics, each with its
// place and quoted line, the report's lines, the exit status), and the
// watch's own keys: the build's number, which build drew the drawing shown
// and what it holds, and how long the build and the drawing took.
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
