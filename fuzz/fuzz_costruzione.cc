// Fuzz target: the whole build (reader, stamping, finishing pass, codes and
// the binary images) on an arbitrary line source and train source, in an
// in-memory folder. The input is the line source, a NUL byte, and the train
// source; without a NUL byte there is no train source at all.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "driver/form1.h"
#include "support/file_system_fake.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  std::string_view ingresso(reinterpret_cast<const char*>(dati), n);
  sistema_finto sistema;
  Form1 form(sistema);
  form.nome_scenario = "Borvale PF_Borvale PR";
  form.numero_treno = "31758";
  size_t separatore = ingresso.find('\0');
  sistema.file[form.nome_sorgente_linea()] = std::string(ingresso.substr(0, separatore));
  if (separatore != std::string_view::npos)
    sistema.file[form.nome_sorgente_treno()] = std::string(ingresso.substr(separatore + 1));
  int32_t j = 1;
  try {
    form.memorizza_percorso(j);
  } catch (const fine_programma&) {
    // A failed file operation ends the build: not expected in memory, but a
    // normal outcome all the same.
  }
  return 0;
}
