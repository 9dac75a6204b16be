// `scenario pack`: a scenario folder into package programs that need no
// compiler: each a stub (programmi_base.h) with the folder's scenario
// appended as a payload (carico/carico.h). The scenario is built first, in
// memory, as `scenario build DIR` builds it; a build error or a failed stamp
// check refuses the packing, since a player would only see an error box, and
// so does a warning that something written is lost in the program, unless it
// is forced.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>

#include "model/testo_autore.h"
#include "platform/piattaforma.h"

struct richiesta_pack {
  std::filesystem::path cartella;
  // The programs to write; with neither, both, into the current folder as
  // NAME_NUMBER.exe and NAME_NUMBER.
  std::optional<std::filesystem::path> windows;
  std::optional<std::filesystem::path> linux_;
  codifica_testo codifica = codifica_testo::automatica;
  // Any warning of the build refuses the packing as an error would.
  bool avvisi_come_errori = false;
  bool forza = false;
};

// The whole command, its report on `errori`; returns the exit status: 0
// written, 1 the build records an error, or a warning with
// `avvisi_come_errori` (nothing written unless forced), 2
// bad use or a folder that cannot be read or breaks a rule (nothing
// written), 3 a failed file operation or a missing stub.
// With `riepilogo`, a packing that went through says so there in one line.
int comando_pack(piattaforma& sistema, const richiesta_pack& richiesta, std::ostream& errori,
                 std::ostream* riepilogo = nullptr);
