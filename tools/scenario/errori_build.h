// The build's error numbers in words, for the author tool's report: what each
// number means and whether the build records a position in metres with it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

struct descrizione_errore {
  int32_t codice;
  bool ha_posizione;
  std::string_view significato;
};

// Every number the build can report, ascending.
std::span<const descrizione_errore> errori_build();
// The entry of `codice`; nullptr for a number the build never reports.
const descrizione_errore* cerca_errore(int32_t codice);
