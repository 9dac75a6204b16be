// `scenario build`: compiles an author's two source texts in memory, as the
// package program builds them, and writes the three binary files into the
// output folder, each written whole. The sources are only read.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "driver/stati_uscita.h"
#include "finish/compilazione.h"
#include "finish/esito_build.h"
#include "model/testo_autore.h"
#include "platform/piattaforma.h"

struct richiesta_build {
  std::string nome;    // nome_scenario, in the platform's encoding (UTF-8)
  std::string numero;  // numero_treno, likewise
  std::optional<std::filesystem::path> linea;  // default NAME_linea.txt
  std::optional<std::filesystem::path> treno;  // default NAME_NUMBER-.txt
  std::filesystem::path uscita = ".";
  bool senza_linea = false;  // the build's j = 0: no line file
  codifica_testo codifica = codifica_testo::automatica;  // how the two sources are read
  bool avvisi_come_errori = false;  // --werror: a warning makes the status 1
};

struct rapporto_build {
  int stato = uscita_riuscita;
  // The build's outcome, and every diagnostic of the texts with its line
  // quoted (reading the sources' included); empty when no build ran.
  esito_build esito;
  // The author's two sources as given, which the diagnostics name; set once
  // the request has been checked.
  nomi_sorgenti sorgenti;
  std::vector<std::string> file;  // the names written into the output folder, in order
  // What each source was read as, once both are read.
  std::optional<codifica_testo> codifica_linea, codifica_treno;
  // The tool's own lines for standard error, after the diagnostics: bad use,
  // failed file operations, what was not written.
  std::vector<std::string> righe;
};

// The line and the train source texts that `richiesta` reads: as given, or
// by the names' default.
std::pair<std::filesystem::path, std::filesystem::path> sorgenti_di(const richiesta_build& richiesta);

// Why the two names of `richiesta` cannot name a scenario's files, one line
// for standard error; nothing when they can.
std::optional<std::string> problema_nomi(const richiesta_build& richiesta);

// The build of `richiesta`, every file and folder operation through `sistema`.
// Relative paths count from the working folder of the process. With
// `compilato`, the compilation (model and images) is handed over there, for a
// caller that draws it without reading the files back (scenario watch).
rapporto_build costruisci(piattaforma& sistema, const richiesta_build& richiesta,
                          compilazione* compilato = nullptr);

// Completes `r` with the outcome `e` of a compile: its diagnostics, the exit
// status (1 when the build failed, or with `avvisi_come_errori` any warning,
// which a line of `righe` then counts).
void riporta_compilazione(rapporto_build& r, esito_build e, bool avvisi_come_errori);

// The report on `errori` as standard error has it: each diagnostic in the
// GNU form (with its source line and a caret under it, when `mostra_riga`
// and the place has a column), then the tool's own lines.
void scrivi_rapporto(const rapporto_build& r, bool mostra_riga, std::ostream& errori);

// The report as the one JSON object of --json (docs/sorgenti.md documents
// it; the watch page shows the same object).
nlohmann::json json_rapporto(const rapporto_build& rapporto);

// The whole command: the build, the report on `errori`, the JSON object on
// `uscita` when asked, the exit status.
int comando_build(piattaforma& sistema, const richiesta_build& richiesta, bool json, bool mostra_riga,
                  std::ostream& uscita, std::ostream& errori);
