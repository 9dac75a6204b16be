#include "diagnosi/diagnostica.h"

std::string codice_di(const diagnostica& d) {
  if (d.errore != 0) return "E" + std::to_string(d.errore);
  return std::string(nome_avviso(d.codice));
}
