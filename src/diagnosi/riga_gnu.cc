#include "diagnosi/riga_gnu.h"

std::string prefisso_luogo(std::string_view file, int32_t riga, int32_t colonna) {
  std::string p(file);
  if (riga > 0) {
    p += ":" + std::to_string(riga);
    if (colonna > 0) p += ":" + std::to_string(colonna);
  }
  return p + ": ";
}

std::string riga_gnu(const diagnostica& d, std::string_view file) {
  std::string riga = file.empty() ? std::string() : prefisso_luogo(file, d.dove.riga, d.dove.colonna);
  switch (d.livello) {
    case gravita::errore: return riga + d.testo;
    case gravita::avviso: riga += "attenzione: "; break;
    case gravita::nota: riga += "nota: "; break;
  }
  return riga + d.testo + " [" + codice_di(d) + "]";
}
