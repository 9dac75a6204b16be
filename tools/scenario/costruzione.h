// `scenario build`: runs the package program's build over an author's source
// texts and reports the outcome. The build runs in a private working folder
// inside the output folder, on copies of the sources under the names the build
// expects, so the author's files are never touched; the binary files it
// writes are then moved into the output folder under the names as given.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "driver/stati_uscita.h"
#include "finish/esito_build.h"
#include "luogo_sorgente.h"
#include "platform/piattaforma.h"
#include "model/testo_autore.h"

class Form1;

struct richiesta_build {
  std::string nome;    // nome_scenario, in the platform's encoding (UTF-8)
  std::string numero;  // numero_treno, likewise
  std::optional<std::filesystem::path> linea;  // default NAME_linea.txt
  std::optional<std::filesystem::path> treno;  // default NAME_NUMBER-.txt
  std::filesystem::path uscita = ".";
  bool senza_linea = false;  // the build's j = 0: no line file
  codifica_testo codifica = codifica_testo::automatica;  // how the two sources are read
  bool avvisi_come_errori = false;  // --werror: a warning makes the status 1
  // Called with the build's model when the build has ended and its binary
  // files have been moved out, before the model goes: for a caller that
  // draws it without reading the files back (scenario watch).
  std::function<void(Form1&)> col_modello;
};

// A warning of the build as reported: its line (avvisi_autore.h), and the
// source line it is about with its column, shown under it on request.
struct avviso_riportato {
  std::string riga;
  std::optional<citazione> citata;
};

struct rapporto_build {
  int stato = uscita_riuscita;
  esito_build esito;              // the build's outcome; empty when no build ran
  std::vector<std::string> file;  // the names written into the output folder, in order
  // The author's source text the error was met in, as given.
  std::optional<std::string> sorgente;
  // The author's two sources as given, which the warnings name; set once the
  // request has been checked.
  std::string file_linea, file_treno;
  // The build's warnings (esito.avvisi) for standard error, before `righe`.
  std::vector<avviso_riportato> avvisi;
  // What each source was read as, once both are read.
  std::optional<codifica_testo> codifica_linea, codifica_treno;
  std::vector<std::string> righe;  // the report for standard error, one line each
  // The build error's words (a failed stamp check's when there is no other),
  // as `righe` has them after the place; none without one.
  std::optional<std::string> testo_errore;
  // The source line that the first of `righe` names, and the column; shown
  // under that line, with a caret under the column, on request.
  std::optional<citazione> citata;
};

// The line and the train source texts that `richiesta` reads: as given, or
// by the names' default.
std::pair<std::filesystem::path, std::filesystem::path> sorgenti_di(const richiesta_build& richiesta);

// Why the two names of `richiesta` cannot name a scenario's files, one line
// for standard error; nothing when they can.
std::optional<std::string> problema_nomi(const richiesta_build& richiesta);

// The build of `richiesta`, every file and folder operation through `sistema`.
// Relative paths count from the working folder of the process.
rapporto_build costruisci(piattaforma& sistema, const richiesta_build& richiesta);

// The report as the one JSON object of --json.
nlohmann::json json_rapporto(const rapporto_build& rapporto);

// The whole command: the build, the report on `errori` (its warnings, then
// its errors; and the JSON object on `uscita` when asked, or else, with
// `mostra_riga`, the source line of each warning and of an error under its
// message), the exit status.
int comando_build(piattaforma& sistema, const richiesta_build& richiesta, bool json, bool mostra_riga,
                  std::ostream& uscita,
                  std::ostream& errori);
