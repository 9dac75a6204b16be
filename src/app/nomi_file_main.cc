// Prints the names of a scenario's files as the platform of this build names
// them on disk, for the check of a package program
// (cmake/prova_pacchetto.cmake), which cannot turn Windows-1252 names into
// the platform's form by itself:
//
//   scenario_nomi_file HEX_NOME_SCENARIO HEX_NUMERO_TRENO
//
// The two names come as the hex pairs of their Windows-1252 bytes, so that no
// shell or emulator in between changes them. Out come, one a line in UTF-8,
// the two names and then the six files a package run leaves, in the order it
// writes them. Exit status 2 on bad use.
#include <cstdio>
#include <string>
#include <string_view>

#include "model/nomi_file.h"
#include "platform/piattaforma_di_sistema.h"

namespace {

// The bytes of hex pairs; false when `esa` is not made of them.
bool da_esadecimale(std::string_view esa, std::string& byte) {
  auto cifra = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  if (esa.size() % 2 != 0) return false;
  for (size_t i = 0; i < esa.size(); i += 2) {
    const int alto = cifra(esa[i]), basso = cifra(esa[i + 1]);
    if (alto < 0 || basso < 0) return false;
    byte += static_cast<char>(alto * 16 + basso);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string nome, numero;
  if (argc != 3 || !da_esadecimale(argv[1], nome) || !da_esadecimale(argv[2], numero)) {
    std::fputs("uso: scenario_nomi_file HEX_NOME_SCENARIO HEX_NUMERO_TRENO\n", stderr);
    return 2;
  }
  auto sistema = piattaforma_di_sistema(std::filesystem::path("."));
  std::vector<std::string> righe = {nome, numero};
  for (const std::string& f : nomi_dei_file(nome, numero).lasciati()) righe.push_back(f);
  for (const std::string& r : righe) {
    const std::u8string u = sistema->nome_file(r).u8string();
    std::fwrite(u.data(), 1, u.size(), stdout);
    std::fputc('\n', stdout);
  }
  return 0;
}
