// The payload reader on any bytes: what `scenario unpack` and `scenario pack`
// read from programs that others made. The input is read twice:
//   - as a program file (carico/lettura_carico.h): a program with a sound
//     payload must be exactly its program followed by that payload written
//     again, and any other outcome must say why;
//   - as a payload alone (carico/carico.h), past the checksum a fuzzer would
//     rarely get right: it either is refused, with a reason, or is exactly
//     the payload of what it decodes to.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "carico/carico.h"
#include "carico/lettura_carico.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  const std::string_view ingresso(reinterpret_cast<const char*>(dati), n);

  file_in_memoria file(ingresso);
  const programma_letto letto = leggi_programma(file);
  using stato = programma_letto::stato;
  if (letto.st != stato::non_programma && letto.st != stato::illeggibile && letto.fine_programma > n) std::abort();
  switch (letto.st) {
    case stato::senza_carico:
      if (letto.fine_programma != n) std::abort();
      break;
    case stato::con_carico:
      if (std::string(ingresso.substr(0, letto.fine_programma)) + carico_con_coda(*letto.s) != ingresso) std::abort();
      break;
    case stato::danneggiato:
    case stato::non_programma:
    case stato::illeggibile:
      if (letto.problema.empty() || letto.s) std::abort();
      break;
  }

  const carico_deserializzato d = deserializza_carico(ingresso);
  if (d.s ? serializza_carico(*d.s) != ingresso : d.problema.empty()) std::abort();
  return 0;
}
