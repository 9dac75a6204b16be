// The build's error numbers: the one table that says what each number means
// and whether the build records a position in metres with it. The build, the
// package program's message and the author tool's report all read it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "finish/esito_build.h"

struct descrizione_errore {
  int32_t codice;
  bool ha_posizione;
  std::string_view significato;  // UTF-8
};

// Every number the build can report, ascending.
std::span<const descrizione_errore> errori_build();
// The entry of `codice`; nullptr for a number the build never reports.
const descrizione_errore* cerca_errore(int32_t codice);
// Whether the build records a position with error `codice`.
bool ha_posizione(int32_t codice);

// The package program's report of a recorded build error: " Errore n. " and
// the number, " a <metres> m" for an error that carries a position, and for a
// read failure (25) what failed, so that a file that could not be read or
// deleted is named.
std::string testo_errore_build(const esito_build& e);
