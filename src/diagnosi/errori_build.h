// The build's error numbers: the one table that says what each number means
// and whether the build records a position in metres with it. The build's
// diagnostics, the package program's message and the author tool's report
// all read it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

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

// The words of error `codice` as every report gives them: "Errore n. 15 a
// 15000 m: " and its meaning, and " (" `dettaglio` ")" when there is one.
std::string testo_errore_numerato(int32_t codice, std::optional<int32_t> posizione, std::string_view dettaglio);
