// The author tool run as a process, for its tests: a run in a folder with
// its arguments (standard output and error kept apart), and the files of a
// folder, to tell what a run changed.
#pragma once

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "support/cartella_temporanea.h"

namespace processo_strumento {

inline std::string leggi(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void scrivi(const std::filesystem::path& p, const std::string& contenuto) {
  std::ofstream(p, std::ios::binary) << contenuto;
}

struct esito_comando {
  int stato = -1;  // exit status; -1 when the tool did not exit normally
  std::string uscita;
  std::string errori;
};

// Runs the tool in `cartella` with `argomenti`; `limite_file` caps the size
// of any file it writes.
inline esito_comando esegui(const std::filesystem::path& cartella, const std::vector<std::string>& argomenti,
                     rlim_t limite_file = RLIM_INFINITY) {
  cartella_temporanea flussi;
  const std::filesystem::path out = flussi / "stdout", err = flussi / "stderr";
  pid_t figlio = ::fork();
  if (figlio == 0) {
    int fo = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int fe = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fo < 0 || fe < 0 || ::dup2(fo, 1) < 0 || ::dup2(fe, 2) < 0 || ::chdir(cartella.c_str()) != 0) ::_exit(126);
    if (limite_file != RLIM_INFINITY) {
      ::signal(SIGXFSZ, SIG_IGN);
      rlimit r{limite_file, limite_file};
      ::setrlimit(RLIMIT_FSIZE, &r);
    }
    std::vector<char*> argv;
    std::string eseguibile = SCENARIO_EXE;
    argv.push_back(eseguibile.data());
    std::vector<std::string> copia = argomenti;
    for (std::string& a : copia) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(eseguibile.c_str(), argv.data());
    ::_exit(127);
  }
  int stato = 0;
  ::waitpid(figlio, &stato, 0);
  esito_comando e;
  if (WIFEXITED(stato)) e.stato = WEXITSTATUS(stato);
  e.uscita = leggi(out);
  e.errori = leggi(err);
  return e;
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
