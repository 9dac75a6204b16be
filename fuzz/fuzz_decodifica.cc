// Fuzz targets for the decoders of the three binary files: any input either
// is refused with errore_formato or decodes to a model whose byte image is
// exactly the input again. One source, three targets, chosen at build time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "ispeziona/decodifica.h"
#include "model/file_binari.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  std::string_view ingresso(reinterpret_cast<const char*>(dati), n);
  std::string immagine;
  try {
#if defined(DECODIFICA_PERCORSO)
    immagine = immagine_percorso(decodifica_percorso(ingresso));
#elif defined(DECODIFICA_TESTATA)
    immagine = immagine_testata(decodifica_testata(ingresso));
#else
    immagine = std::string(decodifica_tracciato(ingresso).immagine());
#endif
  } catch (const errore_formato& e) {
    if (e.offset > n) std::abort();  // an offset must point into the file
    return 0;
  }
  if (immagine != ingresso) std::abort();
  return 0;
}
