// The author tool run as a process, for its tests: a run in a folder with
// its arguments (standard output and error kept apart), and the files of a
// folder, to tell what a run changed.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "support/processo.h"

namespace processo_strumento {

inline std::string leggi(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void scrivi(const std::filesystem::path& p, const std::string& contenuto) {
  std::ofstream(p, std::ios::binary) << contenuto;
}

// Runs the tool in `cartella` with `argomenti`; `limite_file` caps the size
// of any file it writes.
inline esito_processo esegui(const std::filesystem::path& cartella, const std::vector<std::string>& argomenti,
                             rlim_t limite_file = RLIM_INFINITY) {
  return esegui_processo(SCENARIO_EXE, argomenti, cartella, limite_file);
}

// Every file under `cartella` with its content, to tell what a run changed.
inline std::map<std::string, std::string> istantanea(const std::filesystem::path& cartella) {
  std::map<std::string, std::string> tutto;
  for (const auto& voce : std::filesystem::recursive_directory_iterator(cartella)) {
    std::string nome_relativo = std::filesystem::relative(voce.path(), cartella).string();
    tutto[nome_relativo] = voce.is_regular_file() ? leggi(voce.path()) : "<cartella>";
  }
  return tutto;
}

inline bool contiene(const std::string& testo, const std::string& parte) { return testo.find(parte) != std::string::npos; }

}  // namespace processo_strumento
