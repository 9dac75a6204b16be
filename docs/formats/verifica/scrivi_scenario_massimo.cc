// Writes the two source texts of the largest scenario (tests/support, the generator
// the benchmark and its test build) into a folder, under the names
// `scenario build` reads by default, and prints its scenario name and train
// number on two lines, for the check of the binary formats to build it.
//
//   scrivi_scenario_massimo FOLDER
#include <filesystem>
#include <fstream>
#include <iostream>

#include "support/scenario_massimo.h"

namespace {

bool scrivi(const std::filesystem::path& p, const std::string& contenuto) {
  std::ofstream f(p, std::ios::binary);
  f << contenuto;
  f.close();
  return static_cast<bool>(f);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "uso: scrivi_scenario_massimo CARTELLA\n";
    return 2;
  }
  const std::filesystem::path cartella = argv[1];
  const scenario_generato s = genera_scenario_massimo();
  const std::string linea = s.nome_scenario + "_linea.txt";
  const std::string treno = s.nome_scenario + "_" + s.numero_treno + "-.txt";
  std::error_code ec;
  std::filesystem::create_directories(cartella, ec);
  if (!scrivi(cartella / linea, testo_sorgente(s.righe_linea)) ||
      !scrivi(cartella / treno, testo_sorgente(s.righe_treno))) {
    std::cerr << "scrivi_scenario_massimo: impossibile scrivere i sorgenti in " << cartella << '\n';
    return 1;
  }
  std::cout << s.nome_scenario << '\n' << s.numero_treno << '\n';
  return 0;
}
