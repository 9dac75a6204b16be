// A program file read for its payload: the program's end from its headers
// (carico/immagine_eseguibile.h), then, when the file goes on beyond it, the
// trailer, then the payload, checked in this order: the trailer's magic and
// version, the payload's length against the room before the trailer, the
// CRC-32, the layout, and the rules a scenario's texts must keep
// (problema_scenario, sources/scenario.h). Reads the headers, the trailer and
// the payload, nothing else. The package program reads its own file so, and
// `scenario unpack` and `scenario pack` any program given to them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "carico/file_a_intervalli.h"
#include "sources/scenario.h"

struct programma_letto {
  enum class stato {
    senza_carico,   // the program as linked, nothing after it
    con_carico,     // a sound payload: `s`
    danneggiato,    // something after the program that is not a sound payload
    non_programma,  // not a program this reader knows, or cut short inside it
    illeggibile,    // a read failed
  };
  stato st = stato::non_programma;
  // Where the program as linked ends: a payload written for it goes there.
  uint64_t fine_programma = 0;
  std::optional<scenario> s;
  // Unless senza_carico or con_carico: what is wrong, in Italian, to follow
  // "Pacchetto danneggiato: " or the name of the file.
  std::string problema;
};

programma_letto leggi_programma(file_a_intervalli& f);
