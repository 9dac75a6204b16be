// The subcommands `pack`, `unpack` and `new` on the tool's command line: made
// on the application by one call and run by another, so that main.cc holds
// two lines for them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <CLI/CLI.hpp>

#include "impacchetta.h"
#include "platform/piattaforma.h"

class comandi_pacchetto {
 public:
  explicit comandi_pacchetto(CLI::App& app);
  // The exit status of the one of these commands given; nothing for another.
  std::optional<int> esegui(piattaforma& sistema);

 private:
  // --encoding of the commands that write a folder.
  void opzione_scrittura(CLI::App* comando);

  CLI::App* pack_;
  CLI::App* unpack_;
  CLI::App* nuovo_;
  richiesta_pack pack_richiesta_;
  std::string codifica_ = "auto";         // pack's reading
  std::string scrittura_ = "windows-1252";  // unpack's and new's writing
  std::filesystem::path windows_, linux_;
  CLI::Option* opzione_windows_;
  CLI::Option* opzione_linux_;
  std::filesystem::path programma_, cartella_;
};
