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
#include "sources/scenario.h"

struct richiesta_build {
  // The scenario folder (scenario build DIR): the names and the two sources
  // from its files, every one of the seven checked as `pack` checks them.
  // Without it, the two names and the two sources below.
  std::optional<std::filesystem::path> cartella;
  std::string nome;    // nome_scenario, in the platform's encoding (UTF-8)
  std::string numero;  // numero_treno, likewise
  std::optional<std::filesystem::path> linea;  // default NAME_linea.txt
  std::optional<std::filesystem::path> treno;  // default NAME_NUMBER-.txt
  std::filesystem::path cartella_destinazione = ".";
  bool senza_linea = false;  // the build's j = 0: no line file
  codifica_testo codifica = codifica_testo::automatica;  // how the two sources are read
  bool avvisi_come_errori = false;  // --werror: a warning makes the status 1
};

struct rapporto_build {
  int stato = uscita_riuscita;
  // The scenario's two names (UTF-8), once known: as given, or from the
  // folder's files.
  std::string nome, numero;
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

// The files a build of `richiesta` reads: the folder's seven, or the two
// sources; what `scenario watch` looks at.
std::vector<std::filesystem::path> file_letti(const richiesta_build& richiesta);

// What a build of the scenario `s` read from a folder is given: its names,
// its two sources as the folder holds them, and the folder's warnings.
sorgenti_build sorgenti_da_cartella(const scenario& s, const std::vector<diagnostica>& avvisi);

// The lines that name the warnings of `persi` (each a perde_contenuto one)
// for a refusal: how many, then each at its place with its code.
std::string righe_contenuto_perso(const std::vector<const diagnostica*>& persi, const nomi_sorgenti& nomi);

// Why the two names of `richiesta` cannot name a scenario's files, one line
// for standard error; nothing when they can (and with a folder, which names
// its own).
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
// `stampa` when asked, the exit status.
// With `riepilogo`, a build that went through says so there in one line
// (riepilogo.h).
int comando_build(piattaforma& sistema, const richiesta_build& richiesta, bool json, bool mostra_riga,
                  std::ostream& stampa, std::ostream& errori, std::ostream* riepilogo = nullptr);
