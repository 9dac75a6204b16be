#include "driver/messaggio_errore.h"

std::string testo_errore_build(const esito_build& e) {
  std::string testo = " Errore n. " + std::to_string(e.codice_errore);
  if (e.posizione) testo += " a " + std::to_string(*e.posizione) + " m";
  if (e.codice_errore == 25 && !e.dettaglio.empty()) testo += ": " + e.dettaglio;
  return testo;
}
