// How one build ended, as a value. The build returns it instead of showing
// anything: the package run turns it into its message and exit status, and
// the author tool reads its fields to report to the author. A build starts
// from a clean error state, so an outcome never carries anything of an
// earlier build.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "reader/avvisi.h"

struct esito_build {
  // The recorded build error (driver/errori_build.h); 0 none.
  int32_t codice_errore = 0;
  // Metres along the line, for an error that carries a position.
  std::optional<int32_t> posizione;
  // Where the error was met: which source, its file name (Windows-1252) and
  // the 1-based line and column of the field (0 unknown). No source for the
  // finishing pass's errors.
  sorgente_build sorgente = sorgente_build::nessuna;
  std::string nome_sorgente;
  int32_t riga = 0;
  int32_t colonna = 0;
  // For error 25, what failed, and for errors 16-21, what holds the cell the
  // feature found taken, in words (UTF-8); empty otherwise.
  std::string dettaglio;
  // 1250 or 1251 when a stamp check failed: then no binary file was written;
  // and what holds the stamp's place, in words (UTF-8).
  int32_t timbro_fallito = 0;
  std::string dettaglio_timbro;
  // The route length sized the grid, so the binary files were written unless
  // a stamp check failed.
  bool griglia_dimensionata = false;
  // What the reader dropped or bent without an error (reader/avvisi.h), by
  // source (the line's first) and place; with or without an error.
  std::vector<avviso_build> avvisi;

  bool file_scritti() const { return griglia_dimensionata && timbro_fallito == 0; }
  bool riuscito() const { return file_scritti() && codice_errore == 0; }
};
