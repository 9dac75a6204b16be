// A scenario folder on disk through the platform: read for `scenario pack`,
// `scenario build DIR` and `scenario watch DIR` (sources/cartella_scenario.h says what it holds and what is refused), and
// written by `scenario unpack` and `scenario new`, each file whole, never
// over a scenario already there.
#pragma once

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "diagnosi/diagnostica.h"
#include "model/testo_autore.h"
#include "platform/piattaforma.h"
#include "sources/scenario.h"

struct lettura_cartella {
  std::optional<scenario> s;
  int stato = 0;  // unless `s`: the exit status
  // What reading the folder found (sources/cartella_scenario.h), each file
  // of the folder named with the folder as given: without `s`, an error
  // among them; with it, the folder's warnings. A folder or a file that
  // cannot be read is an error too.
  std::vector<diagnostica> diagnostiche;
  // The folder's two sources as the diagnostics name them.
  nomi_sorgenti sorgenti;
  // What each file was read as, with `s`.
  std::array<codifica_testo, 7> codifiche{};
};

// The folder `cartella`, each file converted as `codifica` says. A folder
// that is missing, lacks a file, holds one that cannot be read or that is a
// link or not a plain file, or breaks a rule: bad use, with the file (and
// line and column) named.
lettura_cartella leggi_cartella(piattaforma& sistema, const std::filesystem::path& cartella,
                                codifica_testo codifica);

struct scrittura_cartella {
  int stato = 0;          // the exit status
  std::string messaggio;  // when not 0
};

// Writes `s` as the folder `cartella`, made when missing: its files as the
// scenario holds them (Windows-1252), or turned into UTF-8 (no byte-order
// mark) for an author whose editor writes that; either reads back into the
// same scenario. A path that is a file, or a folder that already holds any
// of the seven files: bad use, nothing written. A failed write: the files
// before it stay, whole.
scrittura_cartella scrivi_cartella(piattaforma& sistema, const std::filesystem::path& cartella, const scenario& s,
                                   codifica_testo codifica = codifica_testo::windows1252);
