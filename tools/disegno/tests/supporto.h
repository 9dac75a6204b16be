// What the drawing's tests share: running a program as a process, building a
// scenario folder of scenarios/ with the tool, and counting in a text.
#pragma once

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "driver/nomi_file.h"
#include "support/cartella_temporanea.h"

namespace supporto {

inline std::string leggi(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void scrivi(const std::filesystem::path& p, const std::string& contenuto) {
  std::ofstream(p, std::ios::binary) << contenuto;
}

struct esito_processo {
  int stato = -1;  // exit status; -1 when the program did not exit normally
  std::string uscita;
  std::string errori;
};

// Runs `programma` with `argomenti` in `cartella`.
inline esito_processo esegui(const std::string& programma, const std::vector<std::string>& argomenti,
                             const std::filesystem::path& cartella) {
  cartella_temporanea flussi;
  const std::filesystem::path out = flussi / "stdout", err = flussi / "stderr";
  pid_t figlio = ::fork();
  if (figlio == 0) {
    int fi = ::open("/dev/null", O_RDONLY);
    int fo = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int fe = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fi < 0 || fo < 0 || fe < 0 || ::dup2(fi, 0) < 0 || ::dup2(fo, 1) < 0 || ::dup2(fe, 2) < 0 ||
        ::chdir(cartella.c_str()) != 0)
      ::_exit(126);
    std::vector<std::string> copia = argomenti;
    std::string eseguibile = programma;
    std::vector<char*> argv = {eseguibile.data()};
    for (std::string& a : copia) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execvp(eseguibile.c_str(), argv.data());
    ::_exit(127);
  }
  int stato = 0;
  ::waitpid(figlio, &stato, 0);
  esito_processo e;
  if (WIFEXITED(stato)) e.stato = WEXITSTATUS(stato);
  e.uscita = leggi(out);
  e.errori = leggi(err);
  return e;
}

inline esito_processo strumento(const std::vector<std::string>& argomenti, const std::filesystem::path& cartella) {
  return esegui(SCENARIO_EXE, argomenti, cartella);
}

// A folder of scenarios/ and the names its build gives its files.
struct scenario_di_prova {
  std::string cartella;  // under scenarios/
  std::string nome;
  std::string numero;
  std::string file_sim() const { return nomi_dei_file(nome, numero).file_sim; }
  std::string file_dat() const { return nomi_dei_file(nome, numero).file_dat; }
  std::string file_linea() const { return nomi_dei_file(nome, numero).file_linea; }
  std::string file_svg() const { return nome + "_" + numero + ".svg"; }
};

inline scenario_di_prova scenario_della_cartella(const std::string& cartella) {
  const std::filesystem::path c = std::filesystem::path(SCENARI_DIR) / cartella;
  auto riga = [](std::string t) {
    while (!t.empty() && (t.back() == '\n' || t.back() == '\r')) t.pop_back();
    return t;
  };
  return {cartella, riga(leggi(c / "nome_scenario.txt")), riga(leggi(c / "numero_treno.txt"))};
}

// Builds the scenario's three binary files into `uscita` with the tool;
// returns the tool's standard error when it fails, else nothing.
inline std::string costruisci(const scenario_di_prova& s, const std::filesystem::path& uscita) {
  const std::filesystem::path c = std::filesystem::path(SCENARI_DIR) / s.cartella;
  esito_processo e = strumento({"build", "--name", s.nome, "--number", s.numero, "--line", (c / "linea.txt").string(),
                               "--train", (c / "treno.txt").string(), "--out", uscita.string()},
                              uscita);
  return e.stato == 0 ? std::string() : "scenario build: stato " + std::to_string(e.stato) + ": " + e.errori;
}

inline size_t conta(const std::string& testo, const std::string& parte) {
  size_t n = 0;
  for (size_t p = testo.find(parte); p != std::string::npos; p = testo.find(parte, p + parte.size())) ++n;
  return n;
}

}  // namespace supporto
