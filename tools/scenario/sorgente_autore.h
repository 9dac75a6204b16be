// An author's source text as `scenario build` hands it to the build: read
// from the author's file and converted to Windows-1252 by the rule of
// model/testo_autore.h, or refused with where and why.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "luogo_sorgente.h"
#include "model/testo_autore.h"
#include "platform/piattaforma.h"

struct sorgente_autore {
  std::string testo;  // Windows-1252 bytes, as the build reads them
  codifica_testo codifica = codifica_testo::windows1252;  // what the file was read as
  // Where a file read as Windows-1252 has a UTF-8 letter (testo_convertito).
  std::optional<errore_codifica> misto;
};

struct lettura_sorgente {
  std::optional<sorgente_autore> sorgente;
  // When there is no source: why, one line for standard error; for a text
  // that would not convert, "FILE:LINE:COLUMN: ..." and, in `citata`, the
  // line and the column of the character.
  std::string messaggio;
  std::optional<citazione> citata;
};

// Reads the file `p` (named in messages as given) through `sistema` and
// converts it as `richiesta` says; `quale` names the source in a message
// ("della linea", "del treno").
lettura_sorgente leggi_sorgente_autore(piattaforma& sistema, const std::filesystem::path& p, const std::string& quale,
                                       codifica_testo richiesta);
