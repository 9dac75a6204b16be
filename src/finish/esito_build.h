// How one build ended, as a value. The build returns it instead of showing
// anything: the package run turns it into its message and exit status, and
// the author tools render its diagnostics. A build starts from a clean error
// state, so an outcome never carries anything of an earlier build.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "diagnosi/diagnostica.h"

struct esito_build {
  // The recorded build error (diagnosi/errori_build.h); 0 none.
  int32_t codice_errore = 0;
  // Metres along the line, for an error that carries a position.
  std::optional<int32_t> posizione;
  // For error 25, what failed, and for errors 16-21, what holds the cell the
  // feature found taken, in words (UTF-8); empty otherwise.
  std::string dettaglio;
  // 1250 or 1251 when a stamp check failed: then no binary file was written.
  int32_t timbro_fallito = 0;
  // The route length sized the grid, so the binary files were written unless
  // a stamp check failed.
  bool griglia_dimensionata = false;
  // Everything the build says about the texts: the warnings (what the reader
  // dropped or bent without an error) by source (the line's first) and place,
  // then the build error, then the failed stamp check.
  std::vector<diagnostica> diagnostiche;
  // Warnings past the most a report shows, left out of `diagnostiche` and
  // counted in a note there.
  size_t avvisi_omessi = 0;

  bool file_scritti() const { return griglia_dimensionata && timbro_fallito == 0; }
  bool riuscito() const { return file_scritti() && codice_errore == 0; }
  // The build error's diagnostic; nullptr without one.
  const diagnostica* errore() const;
  // The warnings among the diagnostics, and how many there are.
  std::vector<diagnostica> avvisi() const;
  size_t quanti_avvisi() const;
};
