// The conversion of an author's text on any bytes, under every encoding: it
// either refuses at a place inside the text or gives bytes that turn back
// into exactly the text (the mark dropped) through the Windows-1252 table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "model/testo_autore.h"
#include "model/windows1252.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* dati, size_t n) {
  const std::string_view testo(reinterpret_cast<const char*>(dati), n);
  for (codifica_testo c : {codifica_testo::automatica, codifica_testo::utf8, codifica_testo::windows1252}) {
    const testo_convertito r = converti_testo_autore(testo, c);
    if (r.codifica == codifica_testo::automatica) std::abort();
    if (r.errore) {
      if (r.codifica != codifica_testo::utf8 || r.errore->riga < 1 || r.errore->colonna < 1 || !r.testo.empty())
        std::abort();
      continue;
    }
    if (r.codifica == codifica_testo::windows1252) {
      if (r.testo != testo) std::abort();
      continue;
    }
    std::string_view atteso = testo;
    if (atteso.starts_with("\xEF\xBB\xBF")) atteso.remove_prefix(3);
    if (r.testo.size() > atteso.size() || da_cp1252_a_utf8(r.testo) != atteso) std::abort();
  }
  return 0;
}
