// The POSIX platform over a given folder, without the wait line on standard
// error and with the messages kept instead of shown, for builds on disk that
// a test or the benchmark repeats.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/posix/piattaforma_posix.h"

class piattaforma_silenziosa : public piattaforma_posix {
 public:
  explicit piattaforma_silenziosa(std::filesystem::path cartella) : piattaforma_posix(std::move(cartella)) {}
  void mostra_attesa() override {}
  void messaggio(const std::string& testo) override { messaggi.push_back(testo); }

  std::vector<std::string> messaggi;
};
