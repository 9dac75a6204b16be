// A writer's list of lines: filled from a text's lines and closed by the end
// marker, then turned into the bytes of the file, up to the first marker.
#include "sources/elenco_righe.h"

#include <cassert>

elenco_righe riempi_elenco(const std::vector<std::string>& righe) {
  assert(righe.size() < posti_elenco);
  elenco_righe elenco;
  for (size_t i = 0; i < righe.size(); ++i) {
    assert(righe[i] != fine_del_file);
    elenco[i] = righe[i];
  }
  elenco[righe.size()] = fine_del_file;
  return elenco;
}

std::string testo_da_elenco(const elenco_righe& elenco) {
  std::string testo;
  for (const std::string& riga : elenco) {
    if (riga == fine_del_file) break;
    testo += riga;
    testo += "\r\n";
  }
  return testo;
}
