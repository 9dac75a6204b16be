// What the drawing's tests share: running the tool as a process, building a
// scenario folder of scenarios/ with it, and counting in a text.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "model/nomi_file.h"
#include "support/cartella_temporanea.h"
#include "support/processo.h"

namespace supporto {

inline std::string leggi(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void scrivi(const std::filesystem::path& p, const std::string& contenuto) {
  std::ofstream(p, std::ios::binary) << contenuto;
}

// The tool run as a process with `argomenti` in `cartella`.
inline esito_processo strumento(const std::vector<std::string>& argomenti, const std::filesystem::path& cartella) {
  return esegui_processo(SCENARIO_EXE, argomenti, cartella);
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
