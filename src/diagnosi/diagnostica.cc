#include "diagnosi/diagnostica.h"

#include <algorithm>
#include <tuple>

bool perde_contenuto(const diagnostica& d) {
  return d.livello == gravita::avviso && d.errore == 0 && proprieta(d.codice).perde_contenuto;
}

std::string codice_di(const diagnostica& d) {
  if (d.errore != 0) return "E" + std::to_string(d.errore);
  return std::string(nome_avviso(d.codice));
}

void ordina_diagnostiche(std::vector<diagnostica>& d) {
  std::stable_sort(d.begin(), d.end(), [](const diagnostica& a, const diagnostica& b) {
    const bool errore_a = a.livello == gravita::errore, errore_b = b.livello == gravita::errore;
    if (errore_a || errore_b) return !errore_a && errore_b;
    return std::tie(a.dove.sorgente, a.dove.riga, a.dove.colonna) < std::tie(b.dove.sorgente, b.dove.riga, b.dove.colonna);
  });
}

const std::string& nomi_sorgenti::di(const luogo_testo& l) const {
  static const std::string nessuno;
  switch (l.sorgente) {
    case sorgente_build::linea: return linea;
    case sorgente_build::treno: return treno;
    case sorgente_build::cartella: return l.file;
    case sorgente_build::nessuna: break;
  }
  return nessuno;
}
